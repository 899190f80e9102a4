// Runs the program's real screens offscreen on the demo books and saves each window as a PNG.
//   qinghe_screenshots --out DIR [--all]
// Without --all only the pictures the README shows are written.
#include "DemoBooks.h"

#include "analysis/CashDetail_Unit.h"
#include "analysis/Year_Month_Unit.h"
#include "app/ApplicationSetup.h"
#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "categories/CashSet_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "dialogs/Help_Unit.h"
#include "dialogs/InputPW_Unit.h"
#include "dialogs/MsgShow_Unit.h"
#include "dialogs/mrYesNo_Unit.h"
#include "ledgers/KeyPW_Unit.h"
#include "ledgers/NewUser_Unit.h"
#include "ledgers/PasswordChange_Unit.h"
#include "ledgers/SelectUser_Unit.h"
#include "ledgers/SelectYear_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "report/Report.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "store/DataFileSaved_Unit.h"
#include "ui/ReportPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>
#include <cstdio>
#include <functional>

namespace {

// Answers nothing and shows nothing: a picture run must never wait for a person.
class SilentPrompts : public Prompts
{
public:
    void warning(const QString &text) override { report(QStringLiteral("warning"), text); }
    bool confirm(const QString &) override { return false; }
    std::optional<QString> askLedgerPassword() override { return std::nullopt; }
    void message(const QString &text) override { report(QStringLiteral("message"), text); }
    void error(const QString &text) override { report(QStringLiteral("error"), text); }
    void alert(const QString &caption, const QString &text) override { report(caption, text); }
    QString saveFileName(
        const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    // The preview is shown without waiting, so that it can be photographed.
    void preview(Report &report) override
    {
        if (onPreview)
            onPreview(report);
    }
    std::function<void(Report &)> onPreview;

private:
    static void report(const QString &kind, const QString &text)
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(kind), qPrintable(text));
    }
};

// The day the pictures pretend it is: a whole month of November on the calendar.
const QDate Today(2026, 11, 30);
const QDate ShownDay(2026, 11, 20);

class Camera
{
public:
    Camera(QString outDir, bool all)
        : m_outDir(std::move(outDir))
        , m_all(all)
    { }

    // readme: the picture is one the README shows.
    void take(QWidget *window, const QString &name, bool readme = false)
    {
        QCoreApplication::processEvents();
        if (!readme && !m_all)
            return;
        const QString path = QDir(m_outDir).filePath(name + QStringLiteral(".png"));
        // Highest compression: the pictures live in the repository.
        if (!window->grab().save(path, "PNG", 0))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        else
            std::printf("%s (%dx%d)\n", qPrintable(path), window->width(), window->height());
    }

    bool all() const { return m_all; }

private:
    QString m_outDir;
    bool m_all;
};

template<class Form> void activate(Form *form)
{
    QCoreApplication::processEvents();
    form->FormActivate();
    QCoreApplication::processEvents();
}

void setPage(QWidget *form, int page)
{
    if (auto *tabs = form->findChild<QTabWidget *>(QStringLiteral("PageControl1")))
        tabs->setCurrentIndex(page);
    QCoreApplication::processEvents();
}

// Photographs the print preview of what print() hands to the prompts, as the program shows it.
void shootPreview(
    SilentPrompts &prompts, Camera &camera, const QString &name, const std::function<void()> &print)
{
    prompts.onPreview = [&](Report &report) {
        QPrinter printer(QPrinter::HighResolution);
        const auto dialog = makeReportPreview(report, printer, prompts);
        dialog->show();
        camera.take(dialog.get(), name);
    };
    print();
    prompts.onPreview = nullptr;
}

void shootLedgerScreens(Program &program, Camera &camera)
{
    auto *select = program.SelectUser_Form;
    select->showCentred();
    activate(select);
    // As if picked from the list.
    select->ComboBox1->setCurrentIndex(select->ComboBox1->findText(DemoBooks::shopLedger()));
    select->ComboBox1Change();
    camera.take(select, QStringLiteral("selection"));

    program.KeyPW_Form->showCentred();
    program.KeyPW_Form->Edit1->setText(DemoBooks::shopPassword());
    camera.take(program.KeyPW_Form, QStringLiteral("login"));
    program.KeyPW_Form->hide();

    program.SelectYear_Form->showCentred();
    activate(program.SelectYear_Form);
    camera.take(program.SelectYear_Form, QStringLiteral("year-prompt"));
    program.SelectYear_Form->hide();

    program.NewUser_Form->showCentred();
    program.NewUser_Form->Edit1->setText(QStringLiteral("新帳本"));
    camera.take(program.NewUser_Form, QStringLiteral("new-ledger"));
    program.NewUser_Form->hide();

    program.PasswordChange->showCentred();
    camera.take(program.PasswordChange, QStringLiteral("password-change"));
    program.PasswordChange->hide();
    select->hide();
}

void shootDialogs(Program &program, Camera &camera)
{
    program.MsgShow_Form->showMessage(QStringLiteral("資料已儲存！"));
    camera.take(program.MsgShow_Form, QStringLiteral("warning-dialog"));
    program.MsgShow_Form->hide();

    program.mrYesNo_Form->MsgLabel->setText(QStringLiteral("確定要離開本系統?"));
    program.mrYesNo_Form->show();
    camera.take(program.mrYesNo_Form, QStringLiteral("yes-no-dialog"));
    program.mrYesNo_Form->hide();

    program.InputPW_Form->show();
    camera.take(program.InputPW_Form, QStringLiteral("password-dialog"));
    program.InputPW_Form->hide();

    program.Help_Form->showCentred();
    camera.take(program.Help_Form, QStringLiteral("about"));
    program.Help_Form->hide();
}

void shootWorkingScreens(Program &program, SilentPrompts &prompts, Camera &camera)
{
    auto *calendar = program.RM_Main_Form;
    calendar->User_Label->setText(DemoBooks::shopLedger());
    calendar->M_Label->setText(QStringLiteral("%1月").arg(Today.month()));
    calendar->Year_Label->setValue(Today.year());
    calendar->showCentred();
    activate(calendar);
    camera.take(calendar, QStringLiteral("calendar"), true);

    program.CashRecord_Form->openFromCalendar(ShownDay);
    calendar->hide();
    activate(program.CashRecord_Form);
    setPage(program.CashRecord_Form, 0);
    camera.take(program.CashRecord_Form, QStringLiteral("dayentry"), true);
    setPage(program.CashRecord_Form, 1);
    camera.take(program.CashRecord_Form, QStringLiteral("dayentry-expense"));

    program.CashSet_Form->openFromDayScreen();
    camera.take(program.CashSet_Form, QStringLiteral("categories"));
    auto *categories = program.CashSet_Form;
    categories->cbb1->setCurrentIndex(categories->cbb1->findText(QStringLiteral("支出")));
    categories->cbb1Change();
    categories->cbb2->setCurrentIndex(2);
    categories->cbb2Change();
    categories->ListBox1->setCurrentRow(1);
    categories->ListBox1Click();
    camera.take(program.CashSet_Form, QStringLiteral("categories-list"));
    program.CashSet_Form->hide();
    program.CashRecord_Form->setEnabled(true);
    program.CashRecord_Form->hide();

    program.FirmCash_Form->openFromCalendar(Today.year(), Today.month());
    activate(program.FirmCash_Form);
    setPage(program.FirmCash_Form, 0);
    camera.take(program.FirmCash_Form, QStringLiteral("fixed-income"));
    setPage(program.FirmCash_Form, 1);
    camera.take(program.FirmCash_Form, QStringLiteral("fixed-expense"), true);
    program.FirmCash_Form->hide();

    program.Month_Form->openFromCalendar();
    activate(program.Month_Form);
    camera.take(program.Month_Form, QStringLiteral("statistics"), true);
    if (camera.all())
        shootPreview(prompts, camera, QStringLiteral("statistics-report"),
            [&] { program.Month_Form->BitBtn1Click(); });

    program.CashDetail_Form->openFrom(QStringLiteral("Month_Form"));
    program.Month_Form->hide();
    activate(program.CashDetail_Form);
    camera.take(program.CashDetail_Form, QStringLiteral("detail-list"));
    if (camera.all())
        shootPreview(prompts, camera, QStringLiteral("detail-report"),
            [&] { program.CashDetail_Form->btn6Click(); });
    program.CashDetail_Form->hide();

    program.Year_Form->openFromCalendar();
    activate(program.Year_Form);
    camera.take(program.Year_Form, QStringLiteral("statistics-year"));
    program.Year_Form->hide();

    program.Year_Month_Form->openFromCalendar(Today.year());
    activate(program.Year_Month_Form);
    camera.take(program.Year_Month_Form, QStringLiteral("year-analysis"), true);
    if (camera.all())
        shootPreview(prompts, camera, QStringLiteral("year-analysis-report"),
            [&] { program.Year_Month_Form->BitBtn2Click(); });
    program.Year_Month_Form->hide();

    calendar->showCentred();
    program.DataFileSaved_Form->openFromCalendar();
    camera.take(program.DataFileSaved_Form, QStringLiteral("backup"));
    program.DataFileSaved_Form->hide();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("qinghe"));
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    prepareApplication();

    const QStringList arguments = QCoreApplication::arguments();
    const int outAt = arguments.indexOf(QStringLiteral("--out"));
    const QString outDir = outAt >= 0 && outAt + 1 < arguments.size()
        ? arguments.at(outAt + 1)
        : QStringLiteral("docs/screenshots");
    QDir().mkpath(outDir);
    Camera camera(outDir, arguments.contains(QStringLiteral("--all")));

    QTemporaryDir dataDir;
    DemoOptions options;
    options.dataDir = dataDir.path();
    options.end = Today;
    try {
        DemoBooks::write(options);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "demo books: %s\n", e.what());
        return 1;
    }

    auto prompts = std::make_unique<SilentPrompts>();
    SilentPrompts &silent = *prompts;
    Program program(dataDir.path(), std::move(prompts));
    shootLedgerScreens(program, camera);
    shootDialogs(program, camera);
    shootWorkingScreens(program, silent, camera);
    return 0;
}
