#pragma once

#include <QColor>
#include <QLabel>
#include <QList>
#include <QSpinBox>
#include <QWidget>
#include <functional>

// A day cell of the month calendar: up to three lines of text (the day number, the income
// and the expense), each with its own colour, size and alignment, on a plain background.
// Read-only: a press or a mouse move is reported to the calendar, nothing else.
class DayCell : public QWidget
{
    Q_OBJECT
public:
    struct Line
    {
        QString text;
        QColor color;
        int pixelSize = 19;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    explicit DayCell(QWidget *parent = nullptr);

    void clear();
    void addLine(const Line &line);
    const QList<Line> &lines() const { return m_lines; }
    // The lines joined with "\n"; empty for an empty cell.
    QString text() const;

    void setBackground(const QColor &color);
    QColor background() const { return m_background; }

signals:
    void hovered(DayCell *cell);
    void pressed(DayCell *cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QList<Line> m_lines;
    QColor m_background;
};

// The year box: its arrows run the other way round (up = previous year), and Enter is
// reported so the calendar can refill for a typed year.
class YearSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit YearSpinBox(QWidget *parent = nullptr);
    void stepBy(int steps) override;

signals:
    void enterPressed();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A status bar of fixed-width panels; a panel can be drawn by its owner instead of
// showing its text.
class PanelStatusBar : public QWidget
{
    Q_OBJECT
public:
    using DrawPanel = std::function<void(QPainter &painter, int panel, const QRect &rect)>;

    PanelStatusBar(const QList<int> &widths, QWidget *parent = nullptr);

    int panelCount() const { return int(m_widths.size()); }
    QString panelText(int panel) const { return m_texts.value(panel); }
    void setPanelText(int panel, const QString &text);
    bool isOwnerDrawn(int panel) const { return m_ownerDrawn.value(panel); }
    void setOwnerDrawn(int panel, bool ownerDrawn);
    void setDrawPanel(DrawPanel draw) { m_draw = std::move(draw); }
    QRect panelRect(int panel) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<int> m_widths;
    QList<QString> m_texts;
    QList<bool> m_ownerDrawn;
    DrawPanel m_draw;
};

// A label whose text, when it is wider than the label, is shown cut short with "…"; text()
// stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    bool isElided() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString shownText() const;
};

// A label that reports a click (the rights label).
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
