#include "DemoBooks.h"

#include "app/InstanceLock.h"
#include "categories/CategorySettings.h"
#include "dayentry/DayBook.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "recurring/RecurringPlan.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "store/Schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <random>

namespace {

// Fixed-seed numbers, so that the same options always give the same books (the screenshots
// in the README are made from them).
class Dice
{
public:
    explicit Dice(quint32 seed)
        : m_engine(seed)
    { }
    int between(int low, int high) { return low + int(m_engine() % quint32(high - low + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    // Prices end in a round figure, as shop prices and bills do.
    qint64 amount(qint64 low, qint64 high, qint64 step = 10)
    {
        return qint64(between(int(low / step), int(high / step))) * step;
    }
    QString pick(const QStringList &texts) { return texts.at(between(0, int(texts.size()) - 1)); }

private:
    std::mt19937 m_engine;
};

// Collects a ledger's entries day by day and writes them the way the day screen and the
// fixed-items screen do: a whole day at a time with its serials and totals, then the
// recurring items over their ranges.
class LedgerWriter
{
public:
    LedgerWriter(Database &db, const QString &ledger)
        : m_db(db)
        , m_ledger(ledger)
    { }

    // An entry under a main category; name is its subcategory, or empty for a main category
    // without subcategories (the entry then carries the main category's name).
    void add(const QDate &date, bool income, const QString &mainName, const QString &name,
        qint64 amount, const QString &note = {})
    {
        DayEntry entry;
        entry.income = income;
        entry.mainNumber = mainNumber(income, mainName);
        entry.mainName = mainName;
        entry.name = entryName(income, entry.mainNumber, mainName, name);
        entry.amount = amount;
        entry.note = note;
        m_days[date] << entry;
    }

    void addRecurring(bool income, const QString &mainName, const QString &name, qint64 amount,
        const QString &note, int period, const QDate &start, const QDate &end)
    {
        RecurringPosting posting;
        posting.income = income;
        posting.mainNumber = mainNumber(income, mainName);
        posting.entryName = entryName(income, posting.mainNumber, mainName, name);
        posting.amountText = QString::number(amount);
        posting.note = note;
        posting.period = period;
        posting.start = start;
        posting.end = end;
        m_recurring << posting;
    }

    bool hasEntries(const QDate &date) const { return m_days.contains(date); }

    // Writes everything collected; returns the number of entries written.
    int write()
    {
        int written = 0;
        DayBook book(m_db, m_ledger);
        for (auto day = m_days.begin(); day != m_days.end(); ++day) {
            QList<DayEntry> rows = day.value();
            for (const bool income : { true, false }) {
                qint64 serial = book.nextSerial(day.key(), income);
                for (DayEntry &row : rows) {
                    if (row.income == income)
                        row.serial = serial++;
                }
            }
            book.save(day.key(), rows);
            written += int(rows.size());
        }
        RecurringPlan plan(m_db, m_ledger);
        for (const RecurringPosting &posting : m_recurring)
            written += int(plan.post(posting).size());
        return written;
    }

private:
    static QString kindOf(bool income)
    {
        return income ? QStringLiteral("1") : QStringLiteral("0");
    }

    int mainNumber(bool income, const QString &mainName)
    {
        const QString key = kindOf(income) + mainName;
        if (!m_mains.contains(key)) {
            const QStringList mains = GetCategoryNameList(m_db, m_ledger, kindOf(income));
            const int at = int(mains.indexOf(mainName));
            if (at < 0)
                throw DemoRefused(
                    QStringLiteral("the category template has no main category %1").arg(mainName));
            m_mains.insert(key, at + 1);
        }
        return m_mains.value(key);
    }

    QString entryName(bool income, int number, const QString &mainName, const QString &name)
    {
        if (!DayBook::mainHasSubcategories(income, number))
            return mainName;
        if (!GetCategoryNameList(m_db, m_ledger, kindOf(income), number).contains(name))
            throw DemoRefused(
                QStringLiteral("%1 has no subcategory %2 under %3").arg(m_ledger, name, mainName));
        return name;
    }

    Database &m_db;
    QString m_ledger;
    QMap<QString, int> m_mains;
    QMap<QDate, QList<DayEntry>> m_days;
    QList<RecurringPosting> m_recurring;
};

const QString Sales = QStringLiteral("商品銷售");
const QString Investment = QStringLiteral("投資");
const QString OtherIncome = QStringLiteral("其他");
const QString PersonalIncome = QStringLiteral("個人收入");
const QString Personal = QStringLiteral("個人花費");
const QString Purchases = QStringLiteral("進貨");
const QString Operating = QStringLiteral("管銷");
const QString Taxes = QStringLiteral("稅捐規費");
const QString OtherExpense = QStringLiteral("其他支出");
const QString &NoSpending = Schema::NoSpendingName;

QDate dayOf(const QDate &month, int day)
{
    return QDate(month.year(), month.month(), std::min(day, month.daysInMonth()));
}

// The months from first to last, each given by its first day.
QList<QDate> monthsBetween(const QDate &first, const QDate &last)
{
    QList<QDate> months;
    for (QDate m(first.year(), first.month(), 1); m <= last; m = m.addMonths(1))
        months << m;
    return months;
}

// A bakery with a counter, a web shop for gift boxes and a few cafés it delivers to.
// Closed on Mondays; busier at weekends, at the lunar new year, mid-autumn and Christmas.
void writeShop(LedgerWriter &book, Dice &dice, const QDate &first, const QDate &last)
{
    auto season = [](const QDate &d) {
        switch (d.month()) {
        case 1:
            return 125;
        case 2:
            return 115;
        case 7:
        case 8:
            return 90;
        case 9:
            return 140;
        case 12:
            return 120;
        default:
            return 100;
        }
    };
    qint64 quarterSales = 0;
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const int weekday = d.dayOfWeek();
        if (d.day() == 15 && (d.month() - 1) % 3 == 0 && quarterSales > 0) {
            book.add(d, false, Taxes, {}, quarterSales / 100 / 10 * 10,
                QStringLiteral("營業稅 (上一季)"));
            quarterSales = 0;
        }
        if (weekday == 1) // closed
            continue;
        const qint64 weekend = weekday >= 6 ? 140 : 100;
        const qint64 counter = dice.amount(6800, 11800) * season(d) / 100 * weekend / 100 / 10 * 10;
        book.add(d, true, Sales, QStringLiteral("門市銷售"), counter);
        quarterSales += counter;
        if (dice.chance(d.month() == 9 ? 90 : 40)) {
            const qint64 online = dice.amount(600, 3600) * (d.month() == 9 ? 3 : 1);
            book.add(d, true, Sales, QStringLiteral("網路銷售"), online,
                d.month() == 9 ? QStringLiteral("中秋禮盒")
                               : dice.pick({ QStringLiteral("網購"), QStringLiteral("蛋糕預訂"),
                                   QStringLiteral("團購") }));
            quarterSales += online;
        }
        if (weekday == 5) {
            const qint64 wholesale = dice.amount(8000, 18000, 100);
            book.add(d, true, Sales, QStringLiteral("批發銷售"), wholesale,
                dice.pick({ QStringLiteral("轉角咖啡"), QStringLiteral("森林咖啡館"),
                    QStringLiteral("公司下午茶") }));
            quarterSales += wholesale;
        }
        if (weekday == 2 || weekday == 5)
            book.add(d, false, Purchases, QStringLiteral("原料"), dice.amount(4800, 11500),
                dice.pick({ QStringLiteral("麵粉、砂糖"), QStringLiteral("奶油、鮮奶油"),
                    QStringLiteral("雞蛋、鮮奶"), QStringLiteral("堅果、果乾"),
                    QStringLiteral("酵母、可可粉") }));
        if (weekday == 3)
            book.add(d, false, Purchases, QStringLiteral("商品進貨"), dice.amount(1800, 5200),
                dice.pick({ QStringLiteral("瓶裝飲料"), QStringLiteral("咖啡豆"),
                    QStringLiteral("茶葉") }));
        if (d.day() == 10)
            book.add(d, false, Purchases, QStringLiteral("包材"), dice.amount(2600, 5400),
                QStringLiteral("紙袋、蛋糕盒"));
        if (d.month() == 8 && d.day() == 20)
            book.add(d, false, Purchases, QStringLiteral("包材"), 18500,
                QStringLiteral("中秋禮盒 500 個"));
        if (weekday == 4 && dice.chance(60))
            book.add(d, false, Operating, QStringLiteral("運費"), dice.amount(300, 1200),
                QStringLiteral("宅配"));
        if (d.day() == 25)
            book.add(d, false, Operating, QStringLiteral("水電瓦斯"), dice.amount(1800, 2600),
                QStringLiteral("桶裝瓦斯"));
        if (d.day() == 20 && d.month() % 2 == 1) {
            const bool summer = d.month() >= 5 && d.month() <= 9;
            book.add(d, false, Operating, QStringLiteral("水電瓦斯"),
                summer ? dice.amount(8200, 10500) : dice.amount(5600, 7400),
                QStringLiteral("電費"));
        }
        if (d.day() == 15)
            book.add(d, false, Operating, QStringLiteral("廣告"), dice.amount(1500, 3000, 100),
                QStringLiteral("粉絲專頁廣告"));
        if (dice.chance(4))
            book.add(d, false, Operating, QStringLiteral("文具用品"), dice.amount(180, 650),
                dice.pick({ QStringLiteral("收據、標籤紙"), QStringLiteral("價目牌") }));
        if (dice.chance(30))
            book.add(d, false, Personal, QStringLiteral("餐飲"), dice.amount(150, 420),
                QStringLiteral("員工午餐"));
    }
    // One-off days.
    const QList<QDate> months = monthsBetween(first, last);
    if (months.size() > 3) {
        const QDate repair = dayOf(months.at(3), 9);
        if (repair <= last)
            book.add(repair, false, Operating, QStringLiteral("維修"), 4500,
                QStringLiteral("烤箱溫控更換"));
    }
    if (months.size() > 6) {
        const QDate sale = dayOf(months.at(6), 18);
        if (sale <= last)
            book.add(sale, true, OtherIncome, {}, 8000, QStringLiteral("舊攪拌機出售"));
    }

    // Fixed items, posted up to the end of the year as the fixed-items screen lets one do.
    const QDate yearEnd(last.year(), 12, 31);
    const QDate start = first;
    book.addRecurring(false, Operating, QStringLiteral("租金"), 38000, QStringLiteral("店面租金"),
        1, dayOf(start, 1), yearEnd);
    book.addRecurring(false, Operating, QStringLiteral("薪資"), 31000, QStringLiteral("店員 小美"),
        1, dayOf(start, 5), yearEnd);
    book.addRecurring(false, Operating, QStringLiteral("薪資"), 16800,
        QStringLiteral("工讀生 阿哲"), 1, dayOf(start, 5), yearEnd);
    book.addRecurring(false, Operating, QStringLiteral("電話網路"), 1199,
        QStringLiteral("光纖網路"), 1, dayOf(start, 18), yearEnd);
    book.addRecurring(false, Operating, QStringLiteral("水電瓦斯"), 780, QStringLiteral("水費"), 2,
        dayOf(start, 22), yearEnd);
    book.addRecurring(
        false, Taxes, {}, 6200, QStringLiteral("記帳士服務費"), 3, dayOf(start, 28), yearEnd);
}

// A family of three with two salaries, a mortgage, a cat and a child at school.
void writeHome(LedgerWriter &book, Dice &dice, const QDate &first, const QDate &last)
{
    const QString food = QStringLiteral("餐飲");
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const int weekday = d.dayOfWeek();
        const bool weekend = weekday >= 6;
        // Now and then a day at home without spending, marked as such.
        if (dice.chance(4)) {
            book.add(d, false, NoSpending, {}, 0);
            continue;
        }
        if (!weekend) {
            book.add(d, false, Personal, food, dice.amount(90, 180),
                dice.pick({ QStringLiteral("早餐"), QStringLiteral("早餐 蛋餅豆漿") }));
            if (dice.chance(60))
                book.add(d, false, Personal, food, dice.amount(350, 950),
                    dice.pick({ QStringLiteral("超市"), QStringLiteral("晚餐"),
                        QStringLiteral("傳統市場") }));
        } else {
            book.add(d, false, Personal, food, dice.amount(900, 2400),
                dice.pick({ QStringLiteral("家庭聚餐"), QStringLiteral("火鍋"),
                    QStringLiteral("週末早午餐") }));
            if (dice.chance(50))
                book.add(d, false, Personal, QStringLiteral("娛樂"), dice.amount(300, 1600),
                    dice.pick({ QStringLiteral("電影"), QStringLiteral("動物園"),
                        QStringLiteral("桌遊") }));
        }
        if (weekday == 6 || (weekday == 3 && dice.chance(40)))
            book.add(d, false, Personal, QStringLiteral("交通"), dice.amount(1100, 1550),
                QStringLiteral("加油"));
        if (d.day() == 1)
            book.add(d, false, Personal, QStringLiteral("交通"), 500, QStringLiteral("悠遊卡加值"));
        if (dice.chance(12))
            book.add(d, false, Personal, QStringLiteral("居家"), dice.amount(180, 1200),
                dice.pick({ QStringLiteral("衛生紙、清潔用品"), QStringLiteral("日用品"),
                    QStringLiteral("五金行") }));
        if (dice.chance(5))
            book.add(d, false, Personal, QStringLiteral("服飾"), dice.amount(390, 2600),
                dice.pick(
                    { QStringLiteral("童裝"), QStringLiteral("運動鞋"), QStringLiteral("外套") }));
        if (dice.chance(4))
            book.add(d, false, Personal, QStringLiteral("醫療"), dice.amount(150, 650),
                dice.pick({ QStringLiteral("診所掛號"), QStringLiteral("牙醫"),
                    QStringLiteral("藥局") }));
        if (d.day() == 20 && d.month() % 2 == 0) {
            const bool summer = d.month() >= 6 && d.month() <= 10;
            book.add(d, false, Personal, QStringLiteral("居家"),
                summer ? dice.amount(3200, 4600) : dice.amount(1500, 2300), QStringLiteral("電費"));
            book.add(d, false, Personal, QStringLiteral("居家"), dice.amount(380, 560),
                QStringLiteral("水費"));
        }
        if (d.day() == 12)
            book.add(d, false, Personal, QStringLiteral("寵物"), dice.amount(900, 1500),
                QStringLiteral("貓飼料、貓砂"));
        if (d.day() == 25 && d.month() % 2 == 1 && dice.chance(45))
            book.add(d, true, OtherIncome, {}, dice.chance(15) ? 1000 : 200,
                QStringLiteral("統一發票中獎"));

        switch (d.month() * 100 + d.day()) {
        case 120:
            book.add(d, true, PersonalIncome, {}, 96000, QStringLiteral("年終獎金"));
            break;
        case 210:
        case 901:
            book.add(d, false, Personal, QStringLiteral("教育"), 12800, QStringLiteral("學雜費"));
            break;
        case 410:
            book.add(d, false, Taxes, {}, 7120, QStringLiteral("汽車牌照稅"));
            break;
        case 531:
            book.add(d, false, Taxes, {}, 8600, QStringLiteral("綜合所得稅"));
            book.add(d, false, Taxes, {}, 3240, QStringLiteral("房屋稅"));
            break;
        case 621:
        case 1221:
            book.add(d, true, Investment, {}, 1250, QStringLiteral("定存利息"));
            break;
        case 710:
            book.add(
                d, false, Personal, QStringLiteral("娛樂"), 23800, QStringLiteral("花東三天兩夜"));
            break;
        case 730:
            book.add(d, false, Taxes, {}, 4800, QStringLiteral("汽車燃料費"));
            break;
        case 818:
            book.add(d, true, Investment, {}, 12860, QStringLiteral("ETF 股利"));
            break;
        case 1130:
            book.add(d, false, Taxes, {}, 1920, QStringLiteral("地價稅"));
            break;
        default:
            break;
        }
    }

    const QDate yearEnd(last.year(), 12, 31);
    book.addRecurring(
        true, PersonalIncome, {}, 48000, QStringLiteral("爸爸薪水"), 1, dayOf(first, 5), yearEnd);
    book.addRecurring(
        true, PersonalIncome, {}, 36500, QStringLiteral("媽媽薪水"), 1, dayOf(first, 10), yearEnd);
    book.addRecurring(
        false, OtherExpense, {}, 26500, QStringLiteral("房屋貸款"), 1, dayOf(first, 15), yearEnd);
    book.addRecurring(false, Personal, QStringLiteral("教育"), 6800, QStringLiteral("安親班"), 1,
        dayOf(first, 3), yearEnd);
    book.addRecurring(false, Personal, QStringLiteral("通訊"), 999, QStringLiteral("手機月租"), 1,
        dayOf(first, 8), yearEnd);
    book.addRecurring(false, Personal, QStringLiteral("娛樂"), 1180, QStringLiteral("第四台"), 2,
        dayOf(first, 16), yearEnd);
    book.addRecurring(false, Personal, QStringLiteral("保險"), 8600, QStringLiteral("壽險保費"), 3,
        dayOf(first, 26), yearEnd);
}

bool hasLedgers(Database &db, const QStringList &names)
{
    if (!names.isEmpty())
        return true;
    const QVariant owned
        = db.scalar(QStringLiteral("SELECT COUNT(*) FROM 帳目分類 WHERE 帳目擁有者 <> ?"),
            { Schema::TemplateOwner });
    const QVariant entries = db.scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本"));
    return owned.toLongLong() > 0 || entries.toLongLong() > 0;
}

} // namespace

DemoResult DemoBooks::write(const DemoOptions &options)
{
    if (!options.end.isValid())
        throw DemoRefused(QStringLiteral("the end date is not a date"));
    if (!QDir().mkpath(options.dataDir))
        throw DemoRefused(QStringLiteral("cannot create %1").arg(options.dataDir));

    // The program must not be writing the same books at the same time.
    InstanceLock lock(options.dataDir);
    switch (lock.acquire()) {
    case InstanceLock::Result::Acquired:
        break;
    case InstanceLock::Result::HeldByAnother:
        throw DemoRefused(
            QStringLiteral("青禾理財簿 is running on %1; leave it first").arg(options.dataDir));
    case InstanceLock::Result::Failed:
        throw DemoRefused(lock.failureText());
    }

    const QDir dir(options.dataDir);
    LedgerDirectory directory(dir.filePath(QStringLiteral("UserInfo")));
    Database db(dir.filePath(QStringLiteral("CDB.dat")));
    db.open();

    const QStringList existing = directory.ListLedgerNames();
    DemoResult result;
    if (hasLedgers(db, existing)) {
        if (!options.force)
            throw DemoRefused(QStringLiteral("%1 already holds ledgers (%2); the demo never writes "
                                             "into someone's books. Pick another directory, or "
                                             "force it to add the demo ledgers beside them.")
                                  .arg(options.dataDir, existing.join(QStringLiteral(", "))));
        for (const QString &name : { shopLedger(), homeLedger() }) {
            if (existing.contains(name))
                throw DemoRefused(QStringLiteral("%1 already has a ledger named %2; it is left "
                                                 "as it is and no demo was written")
                                      .arg(options.dataDir, name));
        }
        const QString stamp
            = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
        result.safetyCopy = dir.filePath(QStringLiteral("示範前備份%1.BAK").arg(stamp));
        Backup(db, options.dataDir).backupTo(result.safetyCopy);
        QFile::copy(directory.filePath(), result.safetyCopy + QStringLiteral(".UserInfo"));
    }

    result.last = options.end;
    result.first = QDate(options.end.year(), options.end.month(), 1).addMonths(-12);

    LedgerAdmin admin(db, directory);
    Dice dice(options.seed);
    const auto create = [&](const QString &name, const QString &password) {
        if (admin.createLedger(name, password) != LedgerAdmin::CreateResult::Created)
            throw DemoRefused(QStringLiteral("could not create the ledger %1").arg(name));
        result.ledgers << name;
    };

    create(shopLedger(), shopPassword());
    // The year a password ledger chose at its first login.
    directory.SetLedgerYear(shopLedger(), options.end.year());
    {
        Transaction tx(db);
        LedgerWriter shop(db, shopLedger());
        writeShop(shop, dice, result.first, result.last);
        result.entries += shop.write();
        tx.commit();
    }

    create(homeLedger(), QString());
    {
        Transaction tx(db);
        // The household keeps its own subcategory, and mostly records spending.
        CategorySettings(db, homeLedger()).add(QStringLiteral("0"), 1, QStringLiteral("寵物"));
        DayBook(db, homeLedger()).storeDefaultPage(1);
        LedgerWriter home(db, homeLedger());
        writeHome(home, dice, result.first, result.last);
        result.entries += home.write();
        tx.commit();
    }
    db.close();
    lock.release();
    return result;
}
