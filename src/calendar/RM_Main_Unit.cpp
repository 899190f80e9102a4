#include "calendar/RM_Main_Unit.h"

#include "analysis/Year_Month_Unit.h"
#include "app/Program.h"
#include "calendar/CalendarWidgets.h"
#include "calendar/MonthCalendar.h"
#include "dayentry/CashRecord_Unit.h"
#include "dialogs/Help_Unit.h"
#include "ledgers/SelectUser_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "store/Amount.h"
#include "store/DataFileSaved_Unit.h"
#include "store/Database.h"
#include "ui/ArrowIcon.h"
#include "ui/Colors.h"
#include "ui/EscapeLeaves.h"

#include <QCloseEvent>
#include <QDate>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace {
constexpr int GridLeft = 16;
constexpr int GridTop = 112;
constexpr int CellWidth = 96;
constexpr int CellHeight = 70;

constexpr int DayNumberColor = 65280; // lime green
constexpr int HoverColor = 15793151; // cream
const QColor Maroon(128, 0, 0);
const QColor Navy(0, 0, 128);

const QString Guest = QStringLiteral("訪客");
const QString CellHint = QStringLiteral("從日期點入即可始立即記帳。");

QFont pixelFont(int pixelSize, bool bold = false, const QStringList &families = {})
{
    QFont font;
    if (!families.isEmpty())
        font.setFamilies(families + QStringList { QStringLiteral("Noto Sans CJK TC") });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QStringList regularScript()
{
    return { QStringLiteral("標楷體"), QStringLiteral("DFKai-SB"), QStringLiteral("AR PL UKai TW"),
        QStringLiteral("Noto Serif CJK TC") };
}
} // namespace

TRM_Main_Form::TRM_Main_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("RM_Main_Form"));
    setWindowTitle(QStringLiteral("青禾理財簿"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(709, 571);

    createCommandRow();
    createMonthRow();
    createGrid();
    createStatusBar();

    const QDate today = QDate::currentDate();
    Year_Label->setValue(today.year());
    M_Label->setText(QStringLiteral("%1月").arg(today.month()));
    placeUserLabel();

    connect(Year_Label, &QSpinBox::valueChanged, this, [this] { Year_LabelChange(); });
    connect(static_cast<YearSpinBox *>(Year_Label), &YearSpinBox::enterPressed, this,
        [this] { Year_LabelKeyDown(); });

    // Day numbers only until a ledger logs in; nothing is read from the data store.
    FillMonthCalendar(today.year(), today.month());

    leaveOnEscape(this, [this] { BitBtn7Click(); });
    centreOnScreen(this);
}

void TRM_Main_Form::createCommandRow()
{
    struct Command
    {
        QPushButton *&button;
        const char *name;
        QString caption;
        void (TRM_Main_Form::*handler)();
    };
    const Command commands[] = {
        { BitBtn1, "BitBtn1", QStringLiteral("切換帳本"), &TRM_Main_Form::BitBtn1Click },
        { BitBtn2, "BitBtn2", QStringLiteral("固定收支"), &TRM_Main_Form::BitBtn2Click },
        { BitBtn3, "BitBtn3", QStringLiteral("月統計圖"), &TRM_Main_Form::BitBtn3Click },
        { BitBtn4, "BitBtn4", QStringLiteral("年統計圖"), &TRM_Main_Form::BitBtn4Click },
        { BitBtn5, "BitBtn5", QStringLiteral("各月比較圖"), &TRM_Main_Form::BitBtn5Click },
        { BitBtn6, "BitBtn6", QStringLiteral(" 備  份 "), &TRM_Main_Form::BitBtn6Click },
        { BitBtn7, "BitBtn7", QStringLiteral("退出系統"), &TRM_Main_Form::BitBtn7Click },
    };
    constexpr int width = 90;
    constexpr int gap = 7;
    int x = GridLeft;
    for (const Command &command : commands) {
        auto *button = new QPushButton(command.caption, this);
        button->setObjectName(QString::fromLatin1(command.name));
        button->setFont(pixelFont(16, true));
        button->setGeometry(x, 8, width, 34);
        button->setAutoDefault(false);
        const auto handler = command.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        command.button = button;
        x += width + gap;
    }
    QPalette maroon = BitBtn7->palette();
    maroon.setColor(QPalette::ButtonText, Maroon);
    BitBtn7->setPalette(maroon);
    // Until a ledger logs in only switching and leaving make sense.
    for (QPushButton *button : { BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6 })
        button->setEnabled(false);
}

void TRM_Main_Form::createMonthRow()
{
    auto arrow = [this](const char *name, bool right, const QString &hint, int x) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(arrowIcon(right ? Qt::RightArrow : Qt::LeftArrow));
        button->setAutoRaise(true);
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        button->setIconSize(QSize(18, 18));
        button->setGeometry(x, 52, 30, 30);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    MSpeedButton1 = arrow("MSpeedButton1", false, QStringLiteral("上一月份"), GridLeft);
    M_Label = new QLabel(this);
    M_Label->setObjectName(QStringLiteral("M_Label"));
    M_Label->setFont(pixelFont(24, false, regularScript()));
    M_Label->setAlignment(Qt::AlignCenter);
    M_Label->setGeometry(GridLeft + 32, 48, 64, 38);
    MSpeedButton2 = arrow("MSpeedButton2", true, QStringLiteral("下一月份"), GridLeft + 98);
    connect(MSpeedButton1, &QToolButton::clicked, this, [this] { MSpeedButton1Click(-1); });
    connect(MSpeedButton2, &QToolButton::clicked, this, [this] { MSpeedButton1Click(1); });

    User_Label = new ElidedLabel(Guest, this);
    User_Label->setObjectName(QStringLiteral("User_Label"));
    // Its right edge is fixed; a name set while the calendar shows stays there too.
    User_Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    User_Label->setFont(pixelFont(24));
    QPalette navy = User_Label->palette();
    navy.setColor(QPalette::WindowText, Navy);
    User_Label->setPalette(navy);

    auto *year = new YearSpinBox(this);
    year->setObjectName(QStringLiteral("Year_Label"));
    // Years the calendar can show; the data store's dates need four digits.
    year->setRange(1, 9999);
    year->setFont(pixelFont(18, true));
    year->setAlignment(Qt::AlignCenter);
    year->setGeometry(GridLeft + 7 * CellWidth - 126, 51, 92, 32);
    year->setAccessibleName(QStringLiteral("年"));
    Year_Label = year;

    Y_Label = new QLabel(QStringLiteral("年"), this);
    Y_Label->setObjectName(QStringLiteral("Y_Label"));
    Y_Label->setFont(pixelFont(24, false, regularScript()));
    Y_Label->setGeometry(year->geometry().right() + 6, 48, 30, 38);
    Y_Label->setBuddy(year);

    static const char *const names[] = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    for (int i = 0; i < 7; ++i) {
        auto *label = new QLabel(QString::fromLatin1(names[i]), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(pixelFont(21, true));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(GridLeft + i * CellWidth, GridTop - 28, CellWidth, 26);
        QPalette colour = label->palette();
        colour.setColor(QPalette::WindowText, (i == 0 || i == 6) ? QColor(Qt::red) : Maroon);
        label->setPalette(colour);
        Labels[i] = label;
    }
}

void TRM_Main_Form::createGrid()
{
    for (int k = 0; k < MonthCalendar::CellCount; ++k) {
        auto *cell = new DayCell(this);
        cell->setObjectName(QStringLiteral("RichEdit%1").arg(k + 1));
        cell->setGeometry(
            GridLeft + (k % 7) * CellWidth, GridTop + (k / 7) * CellHeight, CellWidth, CellHeight);
        cell->setToolTip(CellHint);
        cell->setBackground(palette().color(QPalette::Base));
        connect(cell, &DayCell::hovered, this, [this](DayCell *c) { RichEdit1MouseMove(c); });
        connect(cell, &DayCell::pressed, this, [this](DayCell *c) { RichEdit1MouseDown(c); });
        RichEdits[k] = cell;
    }
}

void TRM_Main_Form::createStatusBar()
{
    StatusBar1 = new PanelStatusBar({ 200, 200, 82, 50 }, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(pixelFont(16));
    StatusBar1->setGeometry(0, height() - 26, width(), 26);
    StatusBar1->setDrawPanel([this](QPainter &painter, int panel, const QRect &rect) {
        StatusBar1DrawPanel(painter, panel, rect);
    });

    lbl1 = new ClickLabel(QStringLiteral("Copyright © 青禾理財簿"), this);
    lbl1->setObjectName(QStringLiteral("lbl1"));
    lbl1->setFont(pixelFont(11));
    QPalette grey = lbl1->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    lbl1->setPalette(grey);
    lbl1->setToolTip(QStringLiteral("點選此處可查閱詳細說明"));
    lbl1->setAccessibleName(QStringLiteral("點選此處可查閱詳細說明"));
    lbl1->setCursor(Qt::PointingHandCursor);
    lbl1->adjustSize();
    const int gridBottom = GridTop + 6 * CellHeight;
    lbl1->move(GridLeft + 7 * CellWidth - lbl1->width(),
        gridBottom + (StatusBar1->y() - gridBottom - lbl1->height()) / 2);
    connect(lbl1, &ClickLabel::clicked, this, [this] { lbl1Click(); });
}

bool TRM_Main_Form::isLoggedIn() const
{
    return User_Label->text() != Guest;
}

int TRM_Main_Form::monthShown() const
{
    QString text = M_Label->text();
    return text.remove(QStringLiteral("月")).toInt();
}

void TRM_Main_Form::placeUserLabel()
{
    // It grows to the left up to a gap before the next-month arrow, which stays clickable;
    // a longer name is cut short and shown whole as the tooltip.
    const int right = Year_Label->x() - 50;
    const int left = MSpeedButton2->geometry().right() + 1 + 8;
    const QSize natural = User_Label->sizeHint();
    const int width = std::min(natural.width(), right - left);
    User_Label->setGeometry(right - width,
        Year_Label->y() + (Year_Label->height() - natural.height()) / 2, width, natural.height());
    User_Label->setToolTip(natural.width() > width ? User_Label->text() : QString());
}

void TRM_Main_Form::FormActivate()
{
    placeUserLabel();
    const bool filled = refreshOnActivation(m_program.prompts(), [this] {
        if (isLoggedIn()) {
            m_program.db().open();
            for (QPushButton *button : { BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6 })
                button->setEnabled(true);
        }
        FillMonthCalendar(Year_Label->value(), monthShown());
    });
    // Another screen may have moved the month or the ledger meanwhile: what the page still
    // shows is not the labelled month's, so it shows that month's days without figures.
    if (!filled
        && m_filled != FilledMonth { User_Label->text(), Year_Label->value(), monthShown() })
        showDaysWithoutFigures(Year_Label->value(), monthShown());
}

void TRM_Main_Form::showDaysWithoutFigures(int year, int month)
{
    const MonthCalendar::Cells cells = MonthCalendar::layout(year, month);
    for (int k = 0; k < MonthCalendar::CellCount; ++k)
        fillCell(RichEdits[k], cells[k], false);
    for (int panel = 0; panel < 4; ++panel)
        StatusBar1->setPanelText(panel, QString());
    MonthBalanceText = QStringLiteral("0");
    StatusBar1->setOwnerDrawn(2, false);
    StatusBar1->setOwnerDrawn(3, false);
    StatusBar1->update();
    describeStatusBar();
    m_filled = { User_Label->text(), year, month };
}

void TRM_Main_Form::FillMonthCalendar(int year, int month)
{
    const bool withTotals = isLoggedIn();
    // Everything is read before a cell changes, so a failure leaves the page as it was.
    MonthCalendar::Cells cells = MonthCalendar::layout(year, month);
    MonthTotals totals;
    if (withTotals) {
        MonthCalendar calendar(m_program.db());
        const QString ledger = User_Label->text();
        cells = calendar.loadDays(ledger, year, month);
        totals = calendar.loadTotals(ledger, year, month);
    }
    for (int k = 0; k < MonthCalendar::CellCount; ++k)
        fillCell(RichEdits[k], cells[k], withTotals);
    m_filled = { User_Label->text(), year, month };
    if (!withTotals)
        return;
    StatusBar1->setPanelText(0, QStringLiteral("收入: ") + formatAmount(totals.income));
    StatusBar1->setPanelText(1, QStringLiteral("支出: ") + formatAmount(totals.expense));
    StatusBar1->setPanelText(2, QStringLiteral("本月結餘:"));
    MonthBalanceText = formatAmount(totals.balance());
    StatusBar1->setPanelText(3, MonthBalanceText);
    StatusBar1->setOwnerDrawn(2, true);
    StatusBar1->setOwnerDrawn(3, true);
    StatusBar1->update();
    describeStatusBar();
}

void TRM_Main_Form::describeStatusBar()
{
    // The balance is painted; screen readers get the month's totals as the bar's name.
    QStringList spoken;
    for (int panel = 0; panel < StatusBar1->panelCount(); ++panel)
        spoken << StatusBar1->panelText(panel);
    spoken.removeAll(QString());
    StatusBar1->setAccessibleName(spoken.join(QLatin1Char(' ')));
}

void TRM_Main_Form::fillCell(DayCell *cell, const CalendarCell &data, bool withTotals)
{
    cell->clear();
    // Days open the day screen only for a ledger; the cursor says so.
    cell->setCursor(data.day > 0 && withTotals ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (data.day <= 0) {
        cell->setAccessibleName(QString());
        return;
    }
    cell->addLine({ QString::number(data.day), winColor(DayNumberColor), 19, Qt::AlignLeft });
    QString spoken = QStringLiteral("%1日").arg(data.day);
    if (withTotals && data.showsIncome()) {
        cell->addLine(
            { formatAmount(*data.income), winColor(Palette::Income), 16, Qt::AlignRight });
        spoken += QStringLiteral(" 收入 ") + formatAmount(*data.income);
    }
    if (withTotals && data.showsExpense()) {
        cell->addLine({ QStringLiteral("-") + formatAmount(*data.expense),
            winColor(Palette::Expense), 16, Qt::AlignRight });
        spoken += QStringLiteral(" 支出 ") + formatAmount(*data.expense);
    }
    cell->setAccessibleName(spoken);
}

QColor TRM_Main_Form::monthBalanceColor() const
{
    QString digits = MonthBalanceText;
    digits.remove(QLatin1Char(','));
    return winColor(digits.toLongLong() < 0 ? Palette::Expense : Palette::Income);
}

bool TRM_Main_Form::refill(int year, int month)
{
    return refreshByUser(
        m_program.prompts(), [this, year, month] { FillMonthCalendar(year, month); });
}

void TRM_Main_Form::Year_LabelChange()
{
    // Hidden, the calendar is refilled when it is shown again.
    if (m_navigating || !isVisible())
        return;
    if (!refill(Year_Label->value(), monthShown()))
        showFilledPeriod();
}

void TRM_Main_Form::Year_LabelKeyDown()
{
    if (!refill(Year_Label->value(), monthShown()))
        showFilledPeriod();
}

void TRM_Main_Form::showFilledPeriod()
{
    // The page keeps the figures it had; the year and month say whose they are.
    if (m_filled.ledger != User_Label->text())
        return;
    M_Label->setText(QStringLiteral("%1月").arg(m_filled.month));
    m_navigating = true;
    Year_Label->setValue(m_filled.year);
    m_navigating = false;
}

void TRM_Main_Form::MSpeedButton1Click(int step)
{
    int month = monthShown() + step;
    int year = Year_Label->value();
    if (month <= 0) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    // The calendar ends where the year box does.
    if (year < Year_Label->minimum() || year > Year_Label->maximum())
        return;
    // Filled first: after a failure the page and the month shown stay together.
    if (!refill(year, month))
        return;
    M_Label->setText(QStringLiteral("%1月").arg(month));
    m_navigating = true;
    Year_Label->setValue(year);
    m_navigating = false;
}

void TRM_Main_Form::RichEdit1MouseMove(DayCell *cell)
{
    if (!isLoggedIn())
        return;
    const QColor plain = palette().color(QPalette::Base);
    for (DayCell *each : RichEdits)
        each->setBackground(plain);
    if (!cell->text().isEmpty())
        cell->setBackground(winColor(HoverColor));
}

void TRM_Main_Form::RichEdit1MouseDown(DayCell *cell)
{
    if (cell->lines().isEmpty() || !isLoggedIn())
        return;
    const int day = cell->lines().first().text.toInt();
    if (day <= 0)
        return;
    const QDate date(Year_Label->value(), monthShown(), day);
    if (!date.isValid())
        return;
    m_clickedDay = day;
    hide();
    m_program.LastDayCell = cell->objectName();
    openScreen([this, date] { m_program.CashRecord_Form->openFromCalendar(date); });
}

void TRM_Main_Form::StatusBar1DrawPanel(QPainter &painter, int panel, const QRect &rect)
{
    QFont bold = StatusBar1->font();
    bold.setBold(true);
    painter.setFont(bold);
    const QRect textRect = rect.adjusted(1, 0, 0, 0);
    if (panel == 2) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("本月結餘:"));
    } else if (panel == 3) {
        painter.setPen(monthBalanceColor());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, MonthBalanceText);
    }
}

void TRM_Main_Form::openScreen(const std::function<void()> &open)
{
    // A screen that failed to open must not leave the user without a window.
    if (!m_program.guarded(open) && !m_program.ended())
        show();
}

void TRM_Main_Form::BitBtn1Click()
{
    openScreen([this] {
        m_program.SelectUser_Form->beginSwitch(User_Label->text());
        hide();
    });
}

void TRM_Main_Form::BitBtn2Click()
{
    openScreen([this] {
        m_program.FirmCash_Form->openFromCalendar(Year_Label->value(), monthShown());
        hide();
    });
}

void TRM_Main_Form::BitBtn3Click()
{
    openScreen([this] {
        m_program.Month_Form->openFromCalendar();
        hide();
    });
}

void TRM_Main_Form::BitBtn4Click()
{
    openScreen([this] {
        hide();
        m_program.Year_Form->openFromCalendar();
    });
}

void TRM_Main_Form::BitBtn5Click()
{
    openScreen([this] {
        hide();
        m_program.Year_Month_Form->openFromCalendar(Year_Label->value());
    });
}

void TRM_Main_Form::BitBtn6Click()
{
    m_program.guarded([this] { m_program.DataFileSaved_Form->openFromCalendar(); });
}

void TRM_Main_Form::BitBtn7Click()
{
    if (!m_program.prompts().confirm(QStringLiteral("確定要離開本系統?")))
        return;
    m_program.db().close();
    m_program.endProgram();
}

void TRM_Main_Form::lbl1Click()
{
    m_program.Help_Form->showCentred();
}

void TRM_Main_Form::closeEvent(QCloseEvent *event)
{
    // The close box leaves at once, without the question.
    if (!m_program.ended())
        m_program.endProgram();
    event->accept();
}
