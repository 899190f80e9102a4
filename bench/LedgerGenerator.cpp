#include "LedgerGenerator.h"

#include "dayentry/DayBook.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "recurring/RecurringPlan.h"
#include "store/Database.h"
#include "store/LedgerOps.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <random>

namespace LedgerGenerator {

namespace {

const QDate MainFirst(2006, 1, 1);
const QDate MainLast(2025, 12, 31);

int daysOf(const QDate &first, const QDate &last)
{
    return int(first.daysTo(last)) + 1;
}

// Words notes are made of: short ones like "午餐", longer ones like a supplier's remark.
const char *const NoteWords[] = { "午餐", "晚餐", "早餐", "加油", "停車費", "捷運", "高鐵",
    "計程車", "超市", "市場", "便利商店", "網購", "退貨", "換季", "孩子", "學費", "補習", "書籍",
    "看診", "藥局", "保單", "年繳", "月繳", "房東", "押金", "水費", "電費", "瓦斯", "手機", "寬頻",
    "客戶", "訂單", "出貨", "門市", "批發", "進貨單", "供應商", "發票", "收據", "分期", "現金",
    "刷卡", "轉帳", "紅包", "聚餐", "旅遊", "維修", "零件", "文具", "影印", "郵資", "運費", "廣告",
    "傳單", "展覽", "樣品", "包裝", "倉庫", "員工", "加班", "獎金", "勞保", "健保" };
constexpr int NoteWordCount = int(sizeof(NoteWords) / sizeof(NoteWords[0]));

struct Categories
{
    // Per kind (0 expense, 1 income): main category number → entry names to pick from.
    QList<QStringList> names[2];
};

Categories readCategories(Database &db, const QString &ledger)
{
    Categories result;
    for (const int kind : { 0, 1 }) {
        const QStringList mains = GetCategoryNameList(db, ledger, QString::number(kind));
        for (int n = 1; n <= mains.size(); ++n) {
            const bool income = kind == 1;
            QStringList names = DayBook::mainHasSubcategories(income, n)
                ? GetCategoryNameList(db, ledger, QString::number(kind), n)
                : QStringList { mains.at(n - 1) };
            if (names.isEmpty())
                names << mains.at(n - 1);
            result.names[kind] << names;
        }
    }
    return result;
}

class DayMaker
{
public:
    DayMaker(quint32 seed, const Categories &categories)
        : m_rng(seed)
        , m_categories(categories)
    { }

    QList<DayEntry> day(int count)
    {
        QList<DayEntry> rows;
        // About one day in a hundred has no spending at all and says so.
        const bool noSpending = chance(1, 97);
        for (int i = 0; i < count; ++i) {
            const bool income = noSpending || chance(1, 4);
            rows << entry(income);
        }
        if (noSpending) {
            DayEntry marker = named(false, 6, 0);
            marker.amount = 0;
            marker.note.clear();
            rows << marker;
        }
        return rows;
    }

private:
    bool chance(int in, int of) { return int(m_rng() % quint32(of)) < in; }
    int between(int low, int high) { return low + int(m_rng() % quint32(high - low + 1)); }

    DayEntry named(bool income, int main, int pick)
    {
        const QStringList &names = m_categories.names[income ? 1 : 0].at(main - 1);
        DayEntry e;
        e.income = income;
        e.mainNumber = main;
        e.name = names.at(pick % names.size());
        return e;
    }

    DayEntry entry(bool income)
    {
        int main;
        qint64 amount;
        const int roll = between(1, 100);
        if (income) {
            // Sales most days; investment, other and personal income now and then.
            main = roll <= 70 ? 1 : roll <= 80 ? 2 : roll <= 90 ? 3 : 4;
            amount = main == 1 ? between(200, 60000) : between(500, 30000);
        } else {
            main = roll <= 45 ? 1 : roll <= 65 ? 2 : roll <= 90 ? 3 : roll <= 95 ? 4 : 5;
            amount = main == 1 ? between(30, 3000)
                : main == 2    ? between(1000, 80000)
                               : between(100, 20000);
        }
        DayEntry e = named(income, main, int(m_rng() % 64));
        e.amount = amount;
        e.note = note();
        return e;
    }

    QString note()
    {
        // Many entries carry no note, most a word or two, a few a whole remark.
        const int roll = between(1, 100);
        const int words = roll <= 35 ? 0 : roll <= 85 ? between(1, 2) : between(5, 15);
        QString text;
        for (int i = 0; i < words; ++i) {
            if (i > 0 && chance(1, 3))
                text += QStringLiteral("，");
            text += QString::fromUtf8(NoteWords[m_rng() % NoteWordCount]);
        }
        if (words > 4 && chance(1, 2))
            text += QStringLiteral(" 共%1件").arg(between(1, 40));
        return text;
    }

    std::mt19937 m_rng;
    const Categories &m_categories;
};

// The recurring items a business keeps for years: rent and wages monthly, insurance each
// quarter, the network bill every two months, and an investment income each quarter.
QList<RecurringPosting> recurringItems(const LedgerSpec &spec)
{
    const QDate last = spec.first.addDays(spec.days - 1);
    auto item = [&](bool income, int main, const char *name, const char *amount, const char *note,
                    int period, int day) {
        RecurringPosting p;
        p.income = income;
        p.mainNumber = main;
        p.entryName = QString::fromUtf8(name);
        p.amountText = QString::fromUtf8(amount);
        p.note = QString::fromUtf8(note);
        p.period = period;
        p.start = QDate(spec.first.year(), spec.first.month(), day);
        p.end = last;
        return p;
    };
    return {
        item(false, 3, "租金", "35000", "店面月租", 1, 5),
        item(false, 3, "薪資", "128000", "三位員工", 1, 10),
        item(false, 1, "保險", "8600", "全家壽險季繳", 3, 20),
        item(false, 3, "電話網路", "1999", "", 2, 15),
        item(true, 2, "投資", "12000", "定存利息", 3, 28),
    };
}

void generateLedger(Database &db, LedgerAdmin &admin, const LedgerSpec &spec)
{
    QElapsedTimer timer;
    timer.start();
    if (admin.createLedger(spec.name, QString()) != LedgerAdmin::CreateResult::Created)
        throw DbError(QStringLiteral("無法建立帳本 %1").arg(spec.name));
    const Categories categories = readCategories(db, spec.name);
    DayMaker maker(spec.seed, categories);
    DayBook book(db, spec.name);
    qint64 entries = 0;
    for (int d = 0; d < spec.days; ++d) {
        const QDate date = spec.first.addDays(d);
        QList<DayEntry> rows = maker.day(spec.entriesPerDay);
        // Serials as the day screen gives them: the next free one of the kind, in order.
        qint64 next[2] = { book.nextSerial(date, false), book.nextSerial(date, true) };
        for (DayEntry &row : rows)
            row.serial = next[row.income ? 1 : 0]++;
        book.save(date, rows);
        entries += rows.size();
        if (d % 1000 == 999)
            std::fprintf(stderr, "  %s: %d/%d days\r", qPrintable(spec.name), d + 1, spec.days);
    }
    if (spec.recurring) {
        RecurringPlan plan(db, spec.name);
        for (const RecurringPosting &posting : recurringItems(spec))
            entries += plan.post(posting).size();
    }
    std::fprintf(stderr, "  %s: %lld entries in %.1f s          \n", qPrintable(spec.name), entries,
        timer.elapsed() / 1000.0);
}

void generateInto(const QString &dir, const QList<LedgerSpec> &specs)
{
    Database db(QDir(dir).filePath(QStringLiteral("CDB.dat")));
    db.open();
    // The data is thrown away should the machine stop half-way, so the generator does not
    // wait for the disk after every day.
    db.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    db.exec(QStringLiteral("PRAGMA journal_mode = MEMORY")).finish();
    LedgerDirectory directory(QDir(dir).filePath(QStringLiteral("UserInfo")));
    LedgerAdmin admin(db, directory);
    for (const LedgerSpec &spec : specs)
        generateLedger(db, admin, spec);
    db.exec(QStringLiteral("PRAGMA journal_mode = DELETE")).finish();
    db.close();
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

} // namespace

QString sizeName(Size size)
{
    return size == Size::Main146k ? QStringLiteral("146k") : QStringLiteral("1m");
}

QString mainLedger()
{
    return QStringLiteral("青禾商行");
}

int benchYear()
{
    return 2025;
}

int benchMonth()
{
    return 6;
}

QDate benchDay()
{
    return QDate(2025, 6, 17);
}

QList<LedgerSpec> ledgers(Size size)
{
    const int mainDays = daysOf(MainFirst, MainLast);
    QList<LedgerSpec> specs {
        { mainLedger(), MainFirst, mainDays, 20, 20060101u, true },
        { QStringLiteral("家用帳"), QDate(2021, 1, 1), daysOf(QDate(2021, 1, 1), MainLast), 5,
            20210101u, false },
        { QStringLiteral("社團公費"), QDate(2024, 1, 1), daysOf(QDate(2024, 1, 1), MainLast), 3,
            20240101u, false },
    };
    if (size == Size::Stress1M) {
        const char *const branches[]
            = { "分店一", "分店二", "分店三", "分店四", "分店五", "分店六" };
        quint32 seed = 1;
        for (const char *name : branches)
            specs << LedgerSpec { QString::fromUtf8(name), MainFirst, mainDays, 20, seed++, true };
    }
    return specs;
}

QString ensureDataset(const QString &cacheDir, Size size)
{
    const QString key = QStringLiteral("v%1-%2").arg(Version).arg(sizeName(size));
    const QDir cache(cacheDir);
    const QString ready = cache.filePath(key);
    if (QFileInfo::exists(QDir(ready).filePath(QStringLiteral("CDB.dat"))))
        return ready;

    const QString partial = cache.filePath(key + QStringLiteral(".partial"));
    QDir(partial).removeRecursively();
    QDir().mkpath(partial);
    QList<LedgerSpec> specs = ledgers(size);
    if (size == Size::Stress1M) {
        // The stress file holds the main size's ledgers unchanged plus the branches.
        const QString base = ensureDataset(cacheDir, Size::Main146k);
        if (!copyFolder(base, partial))
            throw DbError(QStringLiteral("無法複製 %1").arg(base));
        specs = specs.mid(ledgers(Size::Main146k).size());
    }
    std::fprintf(
        stderr, "Generating the %s ledgers in %s\n", qPrintable(sizeName(size)), qPrintable(ready));
    generateInto(partial, specs);
    if (!QDir().rename(partial, ready))
        throw DbError(QStringLiteral("無法改名為 %1").arg(ready));
    return ready;
}

} // namespace LedgerGenerator
