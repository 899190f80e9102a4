// The screens as the user waits for them: from the call a click makes until the window is
// painted, with the database reads, the controls filled, the layout, the paint and the chart
// picture written. Each benchmark reports the median and the 95th percentile of its runs.
//
//   qinghe_screen_bench --size=146k|1m [--cache=DIR] [google benchmark options]
//
// It works on copies of the generated ledgers; the yearly sales view with 300 customer names
// adds them to a copy of its own.

#include "BenchRun.h"
#include "LedgerGenerator.h"
#include "QuietPrompts.h"

#include "analysis/CashDetail_Unit.h"
#include "analysis/Year_Month_Unit.h"
#include "app/ApplicationSetup.h"
#include "app/Program.h"
#include "calendar/CalendarWidgets.h"
#include "calendar/RM_Main_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "dayentry/DayBook.h"
#include "ledgers/SelectUser_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/StatisticsWidgets.h"
#include "statistics/Year_Unit.h"
#include "store/Database.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace LedgerGenerator;

namespace {

// What a screen is once the event loop has had its turn: pending layouts, activations and
// updates done, and the window painted in full.
void drawn(QWidget *window)
{
    QCoreApplication::processEvents();
    window->repaint();
    QCoreApplication::processEvents();
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A program on a copy of the generated ledgers, logged in to the main ledger on the bench
// month.
struct Session
{
    QString dir;
    std::unique_ptr<Program> program;

    explicit Session(const QString &workDir)
        : dir(workDir)
        , program(std::make_unique<Program>(dir, std::make_unique<QuietPrompts>()))
    {
        program->SelectUser_Form->showCentred();
        settle();
        login();
    }
    ~Session()
    {
        program.reset();
        QDir(dir).removeRecursively();
    }

    TRM_Main_Form *calendar() const { return program->RM_Main_Form; }

    // The selection screen's 確定 for the main ledger (it has no password).
    void login()
    {
        TSelectUser_Form *select = program->SelectUser_Form;
        select->ComboBox1->setEditText(mainLedger());
        select->Button1Click();
        drawn(calendar());
        calendar()->Year_Label->setValue(benchYear());
        calendar()->M_Label->setText(QStringLiteral("%1月").arg(benchMonth()));
        calendar()->FormActivate();
        settle();
    }

    // Back to the calendar showing the bench month, whatever screen is open.
    void home()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w != calendar() && w->isVisible())
                w->hide();
        }
        if (calendar()->Year_Label->value() != benchYear())
            calendar()->Year_Label->setValue(benchYear());
        calendar()->M_Label->setText(QStringLiteral("%1月").arg(benchMonth()));
        calendar()->showCentred();
        settle();
    }
};

struct Env
{
    QString cache;
    Size size = Size::Main146k;
    QString source; // the generated program directory
    std::unique_ptr<Session> session;
    std::unique_ptr<Session> manyNames; // the copy with 300 more customer names
};

Env &env()
{
    static Env e;
    return e;
}

Session &session()
{
    return *env().session;
}

// 300 income entries of the bench year under sales, each with a name of its own, as a shop
// that types its customers' names on the day screen keeps them.
void addCustomerNames(Database &db)
{
    DayBook book(db, mainLedger());
    for (int i = 0; i < 300; ++i) {
        const QDate date = QDate(benchYear(), 1, 1).addDays(i);
        QList<DayEntry> rows = book.load(date);
        DayEntry e;
        e.income = true;
        e.mainNumber = 1;
        e.name = QStringLiteral("客戶%1號").arg(i + 1, 3, 10, QChar('0'));
        e.amount = 1000 + (i * 7919) % 90000;
        e.serial = book.nextSerial(date, true);
        rows << e;
        book.save(date, rows);
    }
}

Session &manyNames()
{
    Env &e = env();
    if (!e.manyNames) {
        const QString dir
            = QDir(e.cache).filePath(QStringLiteral("screens-names-") + sizeName(e.size));
        BenchRun::copyLedgers(e.source, dir);
        {
            Database db(QDir(dir).filePath(QStringLiteral("CDB.dat")));
            db.open();
            addCustomerNames(db);
        }
        e.manyNames = std::make_unique<Session>(dir);
    }
    return *e.manyNames;
}

using Clock = std::chrono::steady_clock;

// One screen action: prepare (untimed), act (timed, up to the window painted), tidy
// (untimed). The first run is not counted: it meets cold caches a user meets once.
void add(const std::string &name, std::function<void()> prepare, std::function<QWidget *()> act,
    std::function<void()> tidy = {})
{
    auto warmed = std::make_shared<bool>(false);
    auto *b = benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State &state) {
        auto once = [&]() -> double {
            if (prepare)
                prepare();
            const auto start = Clock::now();
            drawn(act());
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            if (tidy)
                tidy();
            return seconds;
        };
        if (!*warmed) {
            once();
            *warmed = true;
        }
        for (auto _ : state)
            state.SetIterationTime(once());
    });
    b->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(25)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("p95", [](const std::vector<double> &v) {
            std::vector<double> sorted = v;
            std::sort(sorted.begin(), sorted.end());
            const auto at = size_t(std::ceil(0.95 * double(sorted.size()))) - 1;
            return sorted.at(std::min(at, sorted.size() - 1));
        });
}

DayCell *cellOf(TRM_Main_Form *calendar, int day)
{
    for (DayCell *cell : calendar->RichEdits) {
        if (!cell->lines().isEmpty() && cell->lines().first().text.toInt() == day)
            return cell;
    }
    throw std::runtime_error("the bench day is not on the calendar");
}

// The selectors of a statistics screen set to a view mode (0 to 5) without a refresh.
void selectMode(StatisticsForm *form, int mode)
{
    const int side = mode >= 2 ? 1 : 0;
    if (form->JvComboBox1->currentIndex() != side) {
        form->JvComboBox1->setCurrentIndex(side);
        form->JvComboBox1Change();
    }
    form->JvComboBox2->setCurrentIndex(mode >= 2 ? mode - 2 : mode);
}

StatisticsForm *statistics(Session &s, bool yearly)
{
    if (yearly)
        return s.program->Year_Form;
    return s.program->Month_Form;
}

// The monthly or yearly statistics screen open, as the calendar's command opens it.
StatisticsForm *openStatistics(Session &s, bool yearly)
{
    StatisticsForm *form = statistics(s, yearly);
    if (form->isVisible())
        return form;
    s.home();
    if (yearly)
        s.calendar()->BitBtn4Click();
    else
        s.calendar()->BitBtn3Click();
    settle();
    return form;
}

void registerAll()
{
    // Login: 確定 on the selection screen to the calendar painted.
    add(
        "screen_login",
        [] {
            Session &s = session();
            s.home();
            s.calendar()->BitBtn1Click(); // 切換帳本
            settle();
            s.program->SelectUser_Form->ComboBox1->setEditText(mainLedger());
        },
        [] {
            session().program->SelectUser_Form->Button1Click();
            return static_cast<QWidget *>(session().calendar());
        });

    add(
        "screen_calendar_activate", [] { session().home(); },
        [] {
            session().calendar()->FormActivate();
            return static_cast<QWidget *>(session().calendar());
        });
    auto step = std::make_shared<int>(1);
    add(
        "screen_calendar_step", [] { session().home(); },
        [step] {
            // Forth and back, so every run shows a month of the same year.
            session().calendar()->MSpeedButton1Click(*step);
            *step = -*step;
            return static_cast<QWidget *>(session().calendar());
        });

    add(
        "screen_day", [] { session().home(); },
        [] {
            TRM_Main_Form *calendar = session().calendar();
            calendar->RichEdit1MouseDown(cellOf(calendar, benchDay().day()));
            return static_cast<QWidget *>(session().program->CashRecord_Form);
        },
        [] { session().home(); });

    add(
        "screen_fixed", [] { session().home(); },
        [] {
            session().calendar()->BitBtn2Click();
            return static_cast<QWidget *>(session().program->FirmCash_Form);
        },
        [] { session().home(); });

    for (const bool yearly : { false, true }) {
        for (int mode = 0; mode < 6; ++mode) {
            add(
                std::string(yearly ? "screen_year_mode" : "screen_month_mode")
                    + std::to_string(mode),
                [=] { selectMode(openStatistics(session(), yearly), mode); },
                [=] {
                    StatisticsForm *form = statistics(session(), yearly);
                    form->JvComboBox2Change();
                    return static_cast<QWidget *>(form);
                });
        }
    }

    for (const bool yearly : { false, true }) {
        add(
            yearly ? "screen_detail_year" : "screen_detail_month",
            [=] { openStatistics(session(), yearly); },
            [=] {
                Session &s = session();
                if (yearly)
                    s.program->Year_Form->BitBtn5Click();
                else
                    s.program->Month_Form->BitBtn4Click();
                return static_cast<QWidget *>(s.program->CashDetail_Form);
            },
            [] {
                session().program->CashDetail_Form->btn2Click(); // 上一頁: back to statistics
                settle();
            });
    }
    auto down = std::make_shared<bool>(true);
    add(
        "screen_detail_page",
        [] {
            Session &s = session();
            if (s.program->CashDetail_Form->isVisible())
                return;
            openStatistics(s, true);
            s.program->Year_Form->BitBtn5Click();
            settle();
        },
        [down] {
            TCashDetail_Form *detail = session().program->CashDetail_Form;
            if (*down)
                detail->btn_downClick();
            else
                detail->btn_upClick();
            *down = !*down;
            return static_cast<QWidget *>(detail);
        });

    for (const bool comparison : { true, false }) {
        add(
            comparison ? "screen_analysis_comparison" : "screen_analysis_category",
            [=] {
                Session &s = session();
                TYear_Month_Form *analysis = s.program->Year_Month_Form;
                if (!analysis->isVisible()) {
                    s.home();
                    s.calendar()->BitBtn5Click();
                    settle();
                }
                // 收入/支出比較, or 支出 on its first main category.
                analysis->cbb1->setCurrentIndex(comparison ? 0 : 2);
            },
            [] {
                TYear_Month_Form *analysis = session().program->Year_Month_Form;
                analysis->cbb1Change();
                return static_cast<QWidget *>(analysis);
            });
    }

    // The sales view of a year with 300 more customer names: refreshed (every activation),
    // and chosen from the income comparison, when all its bars and labels are built anew.
    for (const bool chosen : { false, true }) {
        add(
            chosen ? "screen_year_sales_300_names_chosen" : "screen_year_sales_300_names",
            [=] {
                Session &s = manyNames();
                openStatistics(s, true);
                if (chosen) {
                    selectMode(s.program->Year_Form, 0);
                    s.program->Year_Form->JvComboBox2Change();
                    settle();
                }
                selectMode(s.program->Year_Form, 1);
            },
            [] {
                TYear_Form *form = manyNames().program->Year_Form;
                form->JvComboBox2Change();
                return static_cast<QWidget *>(form);
            });
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication();
    Env &e = env();
    BenchRun::Options options = BenchRun::parse(argc, argv);
    e.size = options.size;
    e.cache = options.cache;
    try {
        QDir().mkpath(e.cache);
        e.source = ensureDataset(e.cache, e.size);
        const QString dir = QDir(e.cache).filePath(QStringLiteral("screens-") + sizeName(e.size));
        BenchRun::copyLedgers(e.source, dir);
        e.session = std::make_unique<Session>(dir);
        BenchRun::describe(e.session->program->db(), e.size);
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "Cannot prepare the ledgers: %s\n", ex.what());
        return 1;
    }

    registerAll();
    const int result = BenchRun::run(options.rest);
    e.manyNames.reset();
    e.session.reset();
    return result;
}
