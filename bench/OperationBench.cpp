// Every operation a screen refresh or a user action runs, timed through the program's own
// logic classes and, beside it, as the bare SQL of the same operation on the same connection.
// Each benchmark is one operation; its counters ours_ms and sql_ms hold the two times.
//
//   qinghe_bench --size=146k|1m [--cache=DIR] [google benchmark options]

#include "BareSql.h"
#include "BenchRun.h"
#include "LedgerGenerator.h"

#include "analysis/DetailQuery.h"
#include "analysis/YearAnalysis.h"
#include "calendar/MonthCalendar.h"
#include "dayentry/DayBook.h"
#include "recurring/RecurringPlan.h"
#include "statistics/CategorySummary.h"
#include "store/AutoBackup.h"
#include "store/Backup.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace LedgerGenerator;
using BareSql::text;

namespace {

struct Env
{
    QString dir; // a working copy of the generated program directory
    QString dbPath;
    QString backupFile; // a backup of the working copy, for the restore
    std::unique_ptr<Database> db;
    sqlite3 *raw = nullptr;
    QString ledger;
    QByteArray ledgerUtf8;
};

Env &env()
{
    static Env e;
    return e;
}

Database &db()
{
    return *env().db;
}

QString monthStart()
{
    return dbDate(QDate(benchYear(), benchMonth(), 1));
}

QString monthEnd()
{
    return dbDate(QDate(benchYear(), benchMonth(), 1).addMonths(1).addDays(-1));
}

QString nextMonthStart()
{
    return dbDate(QDate(benchYear(), benchMonth(), 1).addMonths(1));
}

QString yearStart()
{
    return dbDate(QDate(benchYear(), 1, 1));
}

QString nextYearStart()
{
    return dbDate(QDate(benchYear() + 1, 1, 1));
}

QString yearEnd()
{
    return dbDate(QDate(benchYear(), 12, 31));
}

// One measured run of one side of an operation. It reads like a benchmark loop of a single
// iteration, so that each side keeps its own untimed preparation (before the loop) and its
// untimed steps (between PauseTiming and ResumeTiming).
class Once
{
public:
    class iterator
    {
    public:
        explicit iterator(Once *once)
            : m_once(once)
        { }
        // Like the benchmark library's own loop value: never used, so never warned about.
        struct Value
        {
            ~Value() { }
        };
        Value operator*() const { return {}; }
        iterator &operator++()
        {
            m_once->stop();
            m_once = nullptr;
            return *this;
        }
        bool operator!=(const iterator &other) const { return m_once != other.m_once; }

    private:
        Once *m_once;
    };

    iterator begin()
    {
        start();
        return iterator(this);
    }
    iterator end() { return iterator(nullptr); }
    void PauseTiming() { stop(); }
    void ResumeTiming() { start(); }
    void SkipWithError(const char *message) { throw std::runtime_error(message); }
    double milliseconds() const { return m_total.count() * 1e3; }
    std::map<std::string, double> counters;

private:
    using Clock = std::chrono::steady_clock;
    void start() { m_started = Clock::now(); }
    void stop() { m_total += Clock::now() - m_started; }

    Clock::time_point m_started;
    std::chrono::duration<double> m_total {};
};

enum class Cost { Fast, Write, Slow };

// Our side and the bare SQL run by turns within one benchmark, so that both meet the same
// load of a shared machine; their times are reported as the counters ours_ms and sql_ms.
void add(const std::string &op, Cost cost, std::function<void(Once &)> ours,
    std::function<void(Once &)> bare)
{
    auto *b = benchmark::RegisterBenchmark(op.c_str(), [=](benchmark::State &state) {
        double oursMs = 0, bareMs = 0;
        bool oursFirst = true;
        for (auto _ : state) {
            Once a, c;
            if (oursFirst) {
                ours(a);
                bare(c);
            } else {
                bare(c);
                ours(a);
            }
            oursFirst = !oursFirst;
            oursMs += a.milliseconds();
            bareMs += c.milliseconds();
        }
        state.counters["ours_ms"] = benchmark::Counter(oursMs, benchmark::Counter::kAvgIterations);
        state.counters["sql_ms"] = benchmark::Counter(bareMs, benchmark::Counter::kAvgIterations);
    });
    b->Unit(benchmark::kMillisecond)->UseRealTime()->ReportAggregatesOnly(true);
    switch (cost) {
    case Cost::Fast:
        b->MinTime(0.2)->Repetitions(7);
        break;
    case Cost::Write:
        b->Iterations(4)->Repetitions(5);
        break;
    case Cost::Slow:
        b->Iterations(1)->Repetitions(3);
        break;
    }
}

// ---- calendar -------------------------------------------------------------------------

const char CalendarDaysSql[] = "SELECT 日期, 收入小計, 支出小計 FROM 記帳本 "
                               "WHERE 使用者 = ? AND 日期 >= ? AND 日期 <= ? ORDER BY 日期";
const char CalendarTotalsSql[] = "SELECT SUM(收入小計), SUM(支出小計) FROM 記帳本 "
                                 "WHERE 使用者 = ? AND 日期 >= ? AND 日期 <= ?";

long long bareCalendar(sqlite3 *h)
{
    const std::vector<BareSql::Value> p { env().ledgerUtf8, text(monthStart()), text(monthEnd()) };
    return BareSql::run(h, CalendarDaysSql, p) + BareSql::run(h, CalendarTotalsSql, p);
}

void calendarOurs(Once &state)
{
    MonthCalendar calendar(db());
    for (auto _ : state) {
        auto cells = calendar.loadDays(env().ledger, benchYear(), benchMonth());
        auto totals = calendar.loadTotals(env().ledger, benchYear(), benchMonth());
        benchmark::DoNotOptimize(cells);
        benchmark::DoNotOptimize(totals);
    }
}

void calendarBare(Once &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(bareCalendar(env().raw));
}

void openOurs(Once &state)
{
    for (auto _ : state) {
        Database fresh(env().dbPath);
        MonthCalendar calendar(fresh);
        auto cells = calendar.loadDays(env().ledger, benchYear(), benchMonth());
        auto totals = calendar.loadTotals(env().ledger, benchYear(), benchMonth());
        benchmark::DoNotOptimize(cells);
        benchmark::DoNotOptimize(totals);
    }
}

void openBare(Once &state)
{
    const QByteArray path = QFile::encodeName(env().dbPath);
    for (auto _ : state) {
        sqlite3 *h = nullptr;
        if (sqlite3_open_v2(path.constData(), &h, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            state.SkipWithError("open failed");
        sqlite3_busy_timeout(h, 3000);
        benchmark::DoNotOptimize(bareCalendar(h));
        sqlite3_close(h);
    }
}

// ---- day screen -----------------------------------------------------------------------

const char DayLoadSql[]
    = "SELECT e.帳目類型, m.帳目名稱, e.帳目名稱, e.金額, e.帳目屬性, e.說明, e.定期, "
      "e.序列號 "
      "FROM 單日記帳本 e LEFT JOIN 帳目分類 m ON m.rowid = ("
      "  SELECT c.rowid FROM 帳目分類 c "
      "  WHERE c.帳目屬性 = e.帳目屬性 AND CAST(c.帳目類別 AS INTEGER) = e.帳目類型 "
      "  AND c.帳目順序 % 100 = 0 AND c.帳目屬性 = substr(c.帳目順序, 1, 1) "
      "  ORDER BY c.帳目擁有者 = ? DESC LIMIT 1) "
      "WHERE e.日期 = ? AND e.使用者 = ? "
      "ORDER BY e.帳目類型, m.帳目順序, e.帳目屬性, m.帳目名稱, e.帳目名稱, e.金額, e.說明, "
      "e.序列號";
const char DayTotalsSql[] = "SELECT 收入小計, 支出小計 FROM 記帳本 WHERE 日期 = ? AND 使用者 = ?";

void dayLoadOurs(Once &state)
{
    DayBook book(db(), env().ledger);
    for (auto _ : state) {
        auto entries = book.load(benchDay());
        auto totals = book.totals(benchDay());
        benchmark::DoNotOptimize(entries);
        benchmark::DoNotOptimize(totals);
    }
}

void dayLoadBare(Once &state)
{
    const QByteArray day = dbDate(benchDay()).toUtf8();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            BareSql::run(env().raw, DayLoadSql, { env().ledgerUtf8, day, env().ledgerUtf8 })
            + BareSql::run(env().raw, DayTotalsSql, { day, env().ledgerUtf8 }));
    }
}

void daySaveOurs(Once &state)
{
    DayBook book(db(), env().ledger);
    const QList<DayEntry> rows = book.load(benchDay());
    for (auto _ : state)
        benchmark::DoNotOptimize(book.save(benchDay(), rows));
    state.counters["rows"] = double(rows.size());
}

void daySaveBare(Once &state)
{
    DayBook book(db(), env().ledger);
    const QList<DayEntry> rows = book.load(benchDay());
    const QByteArray day = dbDate(benchDay()).toUtf8();
    sqlite3 *h = env().raw;
    for (auto _ : state) {
        BareSql::run(h, "BEGIN IMMEDIATE");
        BareSql::run(
            h, "DELETE FROM 單日記帳本 WHERE 日期 = ? AND 使用者 = ?", { day, env().ledgerUtf8 });
        BareSql::run(
            h, "DELETE FROM 記帳本 WHERE 日期 = ? AND 使用者 = ?", { day, env().ledgerUtf8 });
        long long sums[2] = { 0, 0 };
        {
            BareSql::Statement insert(h,
                "INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, "
                "定期, 序列號) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
            for (const bool income : { true, false }) {
                for (const DayEntry &row : rows) {
                    if (row.income != income)
                        continue;
                    insert.run({ day, env().ledgerUtf8, income ? 1LL : 0LL,
                        text(QString::number(row.mainNumber)), text(row.name), row.amount,
                        text(row.note), text(row.period.toString()), row.serial });
                    sums[income ? 1 : 0] += row.amount;
                }
            }
        }
        BareSql::run(h, "INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) VALUES (?, ?, ?, ?)",
            { day, env().ledgerUtf8, sums[1], sums[0] });
        BareSql::run(h, "COMMIT");
    }
}

// ---- recurring items ------------------------------------------------------------------

const char FixedListSql[]
    = "SELECT g.起日, g.迄日, g.定期, c.帳目名稱, g.帳目名稱, g.帳目類型, g.帳目屬性, "
      "g.金額, g.說明 "
      "FROM (SELECT MIN(日期) AS 起日, MAX(日期) AS 迄日, 定期, 帳目名稱, 帳目類型, "
      "  帳目屬性, 金額, COALESCE(說明, '') AS 說明 FROM 單日記帳本 "
      "  WHERE 使用者 = ? AND 定期 <> '' "
      "  GROUP BY 定期, 帳目名稱, 帳目類型, 帳目屬性, 金額, COALESCE(說明, '')) g "
      "JOIN (SELECT DISTINCT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 "
      "  WHERE 帳目順序 % 100 = 0 AND 帳目屬性 = substr(帳目順序, 1, 1)) c "
      "ON c.帳目屬性 = g.帳目屬性 AND CAST(c.帳目類別 AS INTEGER) = g.帳目類型 "
      "ORDER BY g.定期, c.帳目名稱, g.帳目名稱, g.帳目類型, g.帳目屬性, g.金額, g.說明";

void fixedListOurs(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    for (auto _ : state)
        benchmark::DoNotOptimize(plan.items());
}

void fixedListBare(Once &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(BareSql::run(env().raw, FixedListSql, { env().ledgerUtf8 }));
}

// A twenty-year monthly item: 240 dates.
RecurringPosting twentyYearItem()
{
    RecurringPosting p;
    p.income = false;
    p.mainNumber = 3;
    p.entryName = QStringLiteral("廣告");
    p.amountText = QStringLiteral("4500");
    p.note = QStringLiteral("社區看板月租");
    p.period = 1;
    p.start = QDate(benchYear() - 19, 1, 8);
    p.end = QDate(benchYear(), 12, 8);
    return p;
}

RecurringItem itemOf(const RecurringPosting &p, qint64 amount)
{
    RecurringItem item;
    item.first = p.start;
    item.last = RecurringPlan::dates(p.start, p.end, p.period).last();
    item.period = p.period;
    item.entryName = p.entryName;
    item.income = p.income;
    item.mainNumber = p.mainNumber;
    item.amount = amount;
    item.note = p.note;
    return item;
}

void bareSyncDay(sqlite3 *h, const QByteArray &day)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(h,
        "SELECT COUNT(*), COALESCE(SUM(CASE WHEN 帳目類型 = 1 THEN 金額 END), 0), "
        "COALESCE(SUM(CASE WHEN 帳目類型 = 0 THEN 金額 END), 0) "
        "FROM 單日記帳本 WHERE 使用者 = ? AND 日期 = ?",
        -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, env().ledgerUtf8.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, day.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_step(stmt);
    const long long count = sqlite3_column_int64(stmt, 0);
    const long long income = sqlite3_column_int64(stmt, 1);
    const long long expense = sqlite3_column_int64(stmt, 2);
    sqlite3_finalize(stmt);
    BareSql::run(h, "DELETE FROM 記帳本 WHERE 使用者 = ? AND 日期 = ?", { env().ledgerUtf8, day });
    if (count > 0)
        BareSql::run(h, "INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) VALUES (?, ?, ?, ?)",
            { day, env().ledgerUtf8, income, expense });
}

void barePost(const RecurringPosting &p)
{
    sqlite3 *h = env().raw;
    BareSql::run(h, "BEGIN IMMEDIATE");
    for (const QDate &date : RecurringPlan::dates(p.start, p.end, p.period)) {
        const QByteArray day = dbDate(date).toUtf8();
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(h,
            "SELECT MAX(序列號) FROM 單日記帳本 WHERE 使用者 = ? AND 日期 = ? AND 帳目類型 = ?", -1,
            &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, env().ledgerUtf8.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(stmt, 3, p.income ? 1 : 0);
        sqlite3_step(stmt);
        const long long serial = sqlite3_column_type(stmt, 0) == SQLITE_NULL
            ? date.toString(QStringLiteral("yyyyMMdd")).toLongLong() * 100 + 1
            : sqlite3_column_int64(stmt, 0) + 1;
        sqlite3_finalize(stmt);
        BareSql::run(h,
            "INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, 定期, "
            "序列號) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            { day, env().ledgerUtf8, p.income ? 1LL : 0LL, text(QString::number(p.mainNumber)),
                text(p.entryName), p.amountText.toLongLong(), text(p.note),
                text(QString::number(p.period)), serial });
        bareSyncDay(h, day);
    }
    BareSql::run(h, "COMMIT");
}

const char MatchItem[] = " WHERE 日期 = ? AND 使用者 = ? AND 帳目類型 = ? AND 帳目屬性 = ? "
                         "AND 帳目名稱 = ? AND 定期 = ? AND 金額 = ? AND COALESCE(說明, '') = ?";

void bareRewrite(
    const RecurringItem &item, const std::string &sql, const std::vector<BareSql::Value> &leading)
{
    sqlite3 *h = env().raw;
    BareSql::run(h, "BEGIN IMMEDIATE");
    for (const QDate &date : RecurringPlan::dates(item.first, item.last, item.period)) {
        const QByteArray day = dbDate(date).toUtf8();
        std::vector<BareSql::Value> params = leading;
        for (const BareSql::Value &v :
            std::vector<BareSql::Value> { day, env().ledgerUtf8, item.income ? 1LL : 0LL,
                text(QString::number(item.mainNumber)), text(item.entryName),
                text(QString::number(item.period)), item.amount, text(item.note) })
            params.push_back(v);
        BareSql::run(h, sql.c_str(), params);
        bareSyncDay(h, day);
    }
    BareSql::run(h, "COMMIT");
}

void postOurs(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    const RecurringPosting p = twentyYearItem();
    for (auto _ : state) {
        benchmark::DoNotOptimize(plan.post(p));
        state.PauseTiming();
        plan.remove(itemOf(p, p.amountText.toLongLong()));
        state.ResumeTiming();
    }
}

void postBare(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    const RecurringPosting p = twentyYearItem();
    for (auto _ : state) {
        barePost(p);
        state.PauseTiming();
        plan.remove(itemOf(p, p.amountText.toLongLong()));
        state.ResumeTiming();
    }
}

void changeOurs(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    const RecurringPosting p = twentyYearItem();
    plan.post(p);
    qint64 amount = p.amountText.toLongLong();
    for (auto _ : state) {
        plan.change(itemOf(p, amount), QString::number(amount + 1), p.note);
        ++amount;
    }
    plan.remove(itemOf(p, amount));
}

void changeBare(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    const RecurringPosting p = twentyYearItem();
    plan.post(p);
    qint64 amount = p.amountText.toLongLong();
    const std::string sql = std::string("UPDATE 單日記帳本 SET 金額 = ?, 說明 = ?") + MatchItem;
    for (auto _ : state) {
        bareRewrite(itemOf(p, amount), sql, { amount + 1, text(p.note) });
        ++amount;
    }
    plan.remove(itemOf(p, amount));
}

void removeOurs(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    const RecurringPosting p = twentyYearItem();
    for (auto _ : state) {
        state.PauseTiming();
        plan.post(p);
        state.ResumeTiming();
        benchmark::DoNotOptimize(plan.remove(itemOf(p, p.amountText.toLongLong())));
    }
}

void removeBare(Once &state)
{
    RecurringPlan plan(db(), env().ledger);
    const RecurringPosting p = twentyYearItem();
    const std::string sql = std::string("DELETE FROM 單日記帳本") + MatchItem;
    for (auto _ : state) {
        state.PauseTiming();
        plan.post(p);
        state.ResumeTiming();
        bareRewrite(itemOf(p, p.amountText.toLongLong()), sql, {});
    }
}

// ---- statistics -----------------------------------------------------------------------

const char ByMainSql[]
    = "WITH 主分類 AS (SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, "
      "ROW_NUMBER() OVER (PARTITION BY 帳目類別, 帳目屬性 ORDER BY 帳目擁有者 = ? DESC, "
      "帳目擁有者 = 'DEFAULT' DESC, rowid) AS 順位 FROM 帳目分類 "
      "WHERE 帳目順序 % 100 = 0 AND 帳目屬性 = substr(帳目順序, 1, 1)), "
      "分組 AS (SELECT 帳目類型, 帳目屬性, 帳目名稱, SUM(金額) AS 金額 FROM 單日記帳本 "
      "WHERE 使用者 = ? AND 日期 >= ? AND 日期 < ? AND IFNULL(帳目名稱, '') <> ? "
      "GROUP BY 帳目類型, 帳目屬性, 帳目名稱) "
      "SELECT e.帳目類型, COALESCE(m.帳目名稱, e.帳目名稱) AS 名稱, SUM(e.金額), "
      "e.帳目屬性 "
      "FROM 分組 e LEFT JOIN 主分類 m ON m.順位 = 1 "
      "AND m.帳目類別 = (CASE WHEN e.帳目類型 = 1 THEN '1' ELSE '0' END) "
      "AND m.帳目屬性 = e.帳目屬性 "
      "GROUP BY e.帳目類型, m.帳目順序, e.帳目屬性, 名稱 "
      "ORDER BY e.帳目類型 DESC, m.帳目順序 IS NULL, m.帳目順序, e.帳目屬性, 名稱";
const char SalesSql[]
    = "SELECT 帳目類型, 帳目名稱, SUM(金額), 帳目屬性 FROM 單日記帳本 "
      "WHERE 使用者 = ? AND 日期 >= ? AND 日期 < ? "
      "AND ((帳目屬性 = ? AND 帳目類型 = 1) OR (帳目屬性 = ? AND 帳目類型 = 0)) "
      "AND IFNULL(帳目名稱, '') <> ? "
      "GROUP BY 帳目類型, 帳目屬性, 帳目名稱 ORDER BY 帳目類型 DESC, 帳目屬性, 帳目名稱";
const char IncomeAndOneSql[]
    = "SELECT 帳目類型, 帳目名稱, SUM(金額), 帳目屬性 FROM 單日記帳本 "
      "WHERE 使用者 = ? AND 日期 >= ? AND 日期 < ? "
      "AND (帳目類型 = 1 OR (帳目屬性 = ? AND 帳目類型 = 0)) "
      "AND IFNULL(帳目名稱, '') <> ? "
      "GROUP BY 帳目類型, 帳目屬性, 帳目名稱 ORDER BY 帳目類型 DESC, 帳目屬性, 帳目名稱";
const char MainCategoriesSql[]
    = "SELECT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者 = ? "
      "AND 帳目順序 % 100 = 0 AND 帳目屬性 = substr(帳目順序, 1, 1) "
      "ORDER BY 帳目順序, 帳目類別 DESC";
const char SalesCategoriesSql[] = "SELECT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 "
                                  "WHERE 帳目擁有者 = ? AND 帳目順序 <> 100 "
                                  "AND ((帳目屬性 = '1' AND 帳目類別 = '1') OR 帳目類別 = '0') "
                                  "ORDER BY 帳目類別, 帳目順序";
const char ExpenseSubSql[]
    = "SELECT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者 = ? "
      "AND 帳目順序 % 100 <> 0 AND 帳目屬性 = substr(帳目順序, 1, 1) "
      "AND 帳目類別 = '0' ORDER BY 帳目類別, 帳目順序";

SummaryInput summaryInput(int mode, bool monthly)
{
    static const char *const groups[]
        = { "公司/個人比較", "商品銷售", "公司/個人比較", "進貨", "管銷", "個人花費" };
    SummaryInput in;
    in.year = benchYear();
    if (monthly)
        in.month = benchMonth();
    in.ledger = env().ledger;
    in.viewMode = mode;
    in.attrFilter = CategorySummary::attrFilterFor(mode);
    in.groupText = QString::fromUtf8(groups[mode]);
    return in;
}

void summaryOurs(Once &state, int mode, bool monthly)
{
    CategorySummary summary(db());
    const SummaryInput in = summaryInput(mode, monthly);
    for (auto _ : state)
        benchmark::DoNotOptimize(summary.run(in));
}

void summaryBare(Once &state, int mode, bool monthly)
{
    const QByteArray from = (monthly ? monthStart() : yearStart()).toUtf8();
    const QByteArray until = (monthly ? nextMonthStart() : nextYearStart()).toUtf8();
    const QByteArray none = QStringLiteral("無花費").toUtf8();
    const QByteArray &l = env().ledgerUtf8;
    sqlite3 *h = env().raw;
    for (auto _ : state) {
        long long sum = 0;
        switch (mode) {
        case 0:
        case 2:
            sum += BareSql::run(h, ByMainSql, { l, l, from, until, none });
            sum += BareSql::run(h, MainCategoriesSql, { l });
            break;
        case 1:
        case 3:
            sum += BareSql::run(
                h, SalesSql, { l, from, until, QByteArray("1"), QByteArray("2"), none });
            sum += BareSql::run(h, SalesCategoriesSql, { l });
            break;
        default:
            sum += BareSql::run(
                h, IncomeAndOneSql, { l, from, until, QByteArray(mode == 4 ? "3" : "1"), none });
            sum += BareSql::run(h, ExpenseSubSql, { l });
            break;
        }
        benchmark::DoNotOptimize(sum);
    }
}

// ---- detail list ----------------------------------------------------------------------

DetailFilter detailFilter(bool monthly)
{
    DetailFilter f;
    f.ledger = env().ledger;
    f.year = benchYear();
    f.income = false;
    if (monthly) {
        // One subcategory of personal spending in a month.
        f.month = benchMonth();
        f.mainNumber = 1;
        f.entryName = QStringLiteral("餐飲");
    } else {
        // All operating costs of a year.
        f.mainNumber = 3;
    }
    return f;
}

void detailOurs(Once &state, bool monthly)
{
    DetailQuery query(db());
    const DetailFilter f = detailFilter(monthly);
    for (auto _ : state) {
        benchmark::DoNotOptimize(query.count(f));
        benchmark::DoNotOptimize(query.total(f));
        benchmark::DoNotOptimize(query.page(f, 1));
    }
}

void detailBare(Once &state, bool monthly)
{
    const DetailFilter f = detailFilter(monthly);
    std::string where = "e.使用者 = ? AND e.日期 >= ? AND e.日期 < ? AND e.帳目類型 = ? "
                        "AND e.帳目屬性 = ?";
    std::vector<BareSql::Value> params { env().ledgerUtf8,
        text(monthly ? monthStart() : yearStart()),
        text(monthly ? nextMonthStart() : nextYearStart()), 0LL,
        text(QString::number(*f.mainNumber)) };
    if (f.entryName) {
        where += " AND e.帳目名稱 = ?";
        params.push_back(text(*f.entryName));
    }
    const std::string count = "SELECT COUNT(*) FROM 單日記帳本 e WHERE " + where;
    const std::string total
        = "SELECT IFNULL(SUM(IFNULL(e.金額, 0)), 0) FROM 單日記帳本 e WHERE " + where;
    const std::string page
        = "WITH 主分類 AS (SELECT 帳目類別, 帳目屬性, 帳目名稱, "
          "ROW_NUMBER() OVER (PARTITION BY 帳目類別, 帳目屬性 ORDER BY 帳目擁有者 = ? DESC, "
          "帳目擁有者 = 'DEFAULT' DESC, rowid) AS 順位 FROM 帳目分類 "
          "WHERE 帳目順序 % 100 = 0 AND 帳目屬性 = substr(帳目順序, 1, 1)) "
          "SELECT e.日期, e.帳目屬性, m.帳目名稱, e.帳目名稱, e.金額, e.說明, e.序列號 "
          "FROM 單日記帳本 e LEFT JOIN 主分類 m ON m.順位 = 1 AND m.帳目類別 = ? "
          "AND m.帳目屬性 = e.帳目屬性 WHERE "
        + where + " ORDER BY e.序列號, e.日期, e.rowid LIMIT ? OFFSET ?";
    std::vector<BareSql::Value> pageParams { env().ledgerUtf8, QByteArray("0") };
    pageParams.insert(pageParams.end(), params.begin(), params.end());
    pageParams.push_back(100LL);
    pageParams.push_back(0LL);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BareSql::run(env().raw, count.c_str(), params)
            + BareSql::run(env().raw, total.c_str(), params)
            + BareSql::run(env().raw, page.c_str(), pageParams));
    }
}

// ---- year analysis --------------------------------------------------------------------

void analysisOurs(Once &state, bool comparison)
{
    YearAnalysis analysis(db());
    for (auto _ : state) {
        if (comparison) {
            benchmark::DoNotOptimize(analysis.comparison(env().ledger, benchYear()));
        } else {
            benchmark::DoNotOptimize(analysis.mainCategories(env().ledger, false));
            benchmark::DoNotOptimize(analysis.category(env().ledger, benchYear(), false, 1));
        }
    }
}

void analysisBare(Once &state, bool comparison)
{
    const QByteArray from = yearStart().toUtf8();
    const QByteArray until = yearEnd().toUtf8();
    for (auto _ : state) {
        if (comparison) {
            benchmark::DoNotOptimize(BareSql::run(env().raw,
                "SELECT CAST(substr(日期, 6, 2) AS INTEGER) AS 月, "
                "IFNULL(SUM(收入小計), 0), IFNULL(SUM(支出小計), 0) FROM 記帳本 "
                "WHERE 使用者 = ? AND 日期 BETWEEN ? AND ? GROUP BY 月",
                { env().ledgerUtf8, from, until }));
        } else {
            benchmark::DoNotOptimize(BareSql::run(env().raw,
                "SELECT 帳目名稱, 帳目屬性 FROM 帳目分類 WHERE 帳目擁有者 = ? "
                "AND 帳目類別 = ? AND 帳目順序 % 100 = 0 "
                "AND 帳目屬性 = substr(帳目順序, 1, 1) ORDER BY 帳目順序",
                { env().ledgerUtf8, QByteArray("0") }));
            benchmark::DoNotOptimize(BareSql::run(env().raw,
                "SELECT CAST(substr(日期, 6, 2) AS INTEGER) AS 月, 0, IFNULL(SUM(金額), 0) "
                "FROM 單日記帳本 WHERE 使用者 = ? AND 日期 BETWEEN ? AND ? "
                "AND 帳目類型 = ? AND CAST(帳目屬性 AS INTEGER) = ? GROUP BY 月",
                { env().ledgerUtf8, from, until, 0LL, 1LL }));
        }
    }
}

// ---- backup and restore ---------------------------------------------------------------

QString scratch(const char *name)
{
    return QDir(env().dir).filePath(QString::fromUtf8(name));
}

void backupOurs(Once &state)
{
    Backup backup(db(), env().dir);
    const QString target = scratch("bench-backup.BAK");
    for (auto _ : state)
        backup.backupTo(target);
    QFile::remove(target);
}

void bareBackup(const QString &target)
{
    const QString temp = target + QStringLiteral(".tmp");
    QFile::remove(temp);
    BareSql::run(env().raw, "VACUUM INTO ?", { text(temp) });
    sqlite3 *copy = nullptr;
    sqlite3_open_v2(QFile::encodeName(temp).constData(), &copy, SQLITE_OPEN_READONLY, nullptr);
    benchmark::DoNotOptimize(BareSql::run(copy, "PRAGMA integrity_check"));
    sqlite3_close(copy);
    std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData());
}

void backupBare(Once &state)
{
    const QString target = scratch("bench-backup.BAK");
    for (auto _ : state)
        bareBackup(target);
    QFile::remove(target);
}

// The copy made as a run that changed the books ends: its own connection, the checked copy,
// the ledger list beside it and the rotation of the folder.
void autoBackupOurs(Once &state)
{
    AutoBackup backup(env().dir);
    for (auto _ : state) {
        const AutoBackup::Result result = backup.run(QDateTime::currentDateTime());
        if (result.outcome != AutoBackup::Result::Outcome::Made)
            throw DbError(result.message);
    }
    QDir(backup.folder()).removeRecursively();
}

void autoBackupBare(Once &state)
{
    const QString folder = scratch("bench-auto");
    const QString target = QDir(folder).filePath(QStringLiteral("copy.BAK"));
    const QString userInfo = QDir(env().dir).filePath(QStringLiteral("UserInfo"));
    for (auto _ : state) {
        QDir().mkpath(folder);
        bareBackup(target);
        QFile::copy(userInfo, target + QStringLiteral(".UserInfo"));
    }
    QDir(folder).removeRecursively();
}

void restoreOurs(Once &state)
{
    Backup backup(db(), env().dir);
    for (auto _ : state) {
        const Backup::RestoreResult result = backup.restoreLedger(env().backupFile, env().ledger);
        state.PauseTiming();
        QFile::remove(result.safetyCopy);
        state.ResumeTiming();
    }
}

void restoreBare(Once &state)
{
    sqlite3 *h = env().raw;
    const QByteArray &l = env().ledgerUtf8;
    const QString safety = scratch("bench-safety.BAK");
    for (auto _ : state) {
        BareSql::run(h, "ATTACH DATABASE ? AS bak", { text(env().backupFile) });
        BareSql::run(h, "PRAGMA bak.quick_check");
        bareBackup(safety);
        BareSql::run(h, "BEGIN IMMEDIATE");
        BareSql::run(h, "DELETE FROM 單日記帳本 WHERE 使用者 = ?", { l });
        BareSql::run(h, "DELETE FROM 記帳本 WHERE 使用者 = ?", { l });
        BareSql::run(h, "DELETE FROM 帳目分類 WHERE 帳目擁有者 = ?", { l });
        BareSql::run(h, "DELETE FROM 參數設定 WHERE 使用者 = ?", { l });
        BareSql::run(h,
            "INSERT INTO 單日記帳本 SELECT 日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, 金額, "
            "說明, 定期, 序列號 FROM bak.單日記帳本 WHERE 使用者 = ? ORDER BY rowid",
            { l });
        BareSql::run(h,
            "INSERT OR REPLACE INTO 記帳本 SELECT 日期, 使用者, 收入小計, 支出小計 "
            "FROM bak.記帳本 WHERE 使用者 = ? ORDER BY rowid",
            { l });
        BareSql::run(h,
            "INSERT INTO 帳目分類 SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, 帳目擁有者 "
            "FROM bak.帳目分類 WHERE 帳目擁有者 = ? ORDER BY rowid",
            { l });
        BareSql::run(h,
            "INSERT OR REPLACE INTO 參數設定 SELECT 代碼, 設定值, 使用者 FROM bak.參數設定 "
            "WHERE 使用者 = ? ORDER BY rowid",
            { l });
        BareSql::run(h, "COMMIT");
        BareSql::run(h, "DETACH DATABASE bak");
        BareSql::run(h, "VACUUM");
        state.PauseTiming();
        QFile::remove(safety);
        state.ResumeTiming();
    }
}

void registerAll()
{
    add("open_and_calendar", Cost::Fast, openOurs, openBare);
    add("calendar_month", Cost::Fast, calendarOurs, calendarBare);
    add("day_load", Cost::Fast, dayLoadOurs, dayLoadBare);
    add("fixed_list", Cost::Fast, fixedListOurs, fixedListBare);
    for (const bool monthly : { true, false }) {
        for (int mode = 0; mode < 6; ++mode) {
            add(
                std::string(monthly ? "summary_month_mode" : "summary_year_mode")
                    + std::to_string(mode),
                Cost::Fast, [=](Once &s) { summaryOurs(s, mode, monthly); },
                [=](Once &s) { summaryBare(s, mode, monthly); });
        }
    }
    for (const bool monthly : { true, false }) {
        add(
            monthly ? "detail_month" : "detail_year", Cost::Fast,
            [=](Once &s) { detailOurs(s, monthly); }, [=](Once &s) { detailBare(s, monthly); });
    }
    for (const bool comparison : { true, false }) {
        add(
            comparison ? "analysis_comparison" : "analysis_category", Cost::Fast,
            [=](Once &s) { analysisOurs(s, comparison); },
            [=](Once &s) { analysisBare(s, comparison); });
    }
    add("day_save", Cost::Write, daySaveOurs, daySaveBare);
    add("recurring_post", Cost::Write, postOurs, postBare);
    add("recurring_change", Cost::Write, changeOurs, changeBare);
    add("recurring_delete", Cost::Write, removeOurs, removeBare);
    add("backup", Cost::Slow, backupOurs, backupBare);
    add("restore", Cost::Slow, restoreOurs, restoreBare);
    add("auto_backup", Cost::Slow, autoBackupOurs, autoBackupBare);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    BenchRun::Options options = BenchRun::parse(argc, argv);
    const Size size = options.size;
    const QString cache = options.cache;

    try {
        QDir().mkpath(cache);
        const QString source = ensureDataset(cache, size);
        // The benchmarks write (day save, postings, restore): they work on a copy, so the
        // cached ledgers stay as generated.
        Env &e = env();
        e.dir = QDir(cache).filePath(QStringLiteral("work-") + sizeName(size));
        BenchRun::copyLedgers(source, e.dir);
        e.dbPath = QDir(e.dir).filePath(QStringLiteral("CDB.dat"));
        e.ledger = mainLedger();
        e.ledgerUtf8 = e.ledger.toUtf8();
        e.db = std::make_unique<Database>(e.dbPath);
        e.db->open();
        e.raw = BareSql::handle(*e.db);
        e.backupFile = QDir(e.dir).filePath(QStringLiteral("bench-source.BAK"));
        Backup(*e.db, e.dir).backupTo(e.backupFile);
#ifdef Q_OS_UNIX
        // The fresh copies are written out now; otherwise the first commits that wait for
        // the disk would also wait for them.
        ::sync();
#endif
        BenchRun::describe(*e.db, size);
        std::fprintf(stderr, "%s\n", qPrintable(e.dbPath));
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "Cannot prepare the ledgers: %s\n", ex.what());
        return 1;
    }

    registerAll();
    if (BenchRun::run(options.rest) != 0)
        return 1;
    env().db.reset();
    QDir(env().dir).removeRecursively();
    return 0;
}
