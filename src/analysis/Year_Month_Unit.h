#pragma once

#include "analysis/YearAnalysis.h"
#include "ui/GradientWindow.h"

#include <QColor>
#include <QSet>
#include <memory>

class Program;
class QCategoryAxis;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPainter;
class QPushButton;
class QTableWidget;
class QToolButton;
class QValueAxis;
class Report;

// 年度分析: the twelve months of one year of the current ledger, as a table and as two lines,
// for all day totals or for one income or expense main category; printable and exportable.
class TYear_Month_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TYear_Month_Form(Program &program);
    ~TYear_Month_Form() override;

    // Opened by the calendar and by the yearly statistics with the year to show; the opener
    // hides itself.
    void openFromCalendar(int year);

    // Rebuilds table, chart and picture; runs on every activation. A failure that every
    // re-activation would repeat is reported once.
    void FormActivate() override;
    // The rebuild itself; throws when the data cannot be read.
    void rebuild();

    void cbb1Change();
    void cbb2Change();
    // Both arrows: the button's hint says which way.
    void YSpeedButton1Click(QToolButton *sender);
    void BitBtn1Click(); // 年統計
    void BitBtn2Click(); // 列印
    void BitBtn3Click(); // 匯出
    void BitBtn4Click(); // 離開

    // How one cell of the table is drawn.
    struct CellLook
    {
        QString text;
        QColor fill;
        QColor textColor;
        Qt::Alignment alignment;
        bool raised = false; // the fixed cells' 3D frame
    };
    CellLook cellLook(int column, int row) const;
    void StringGrid1DrawCell(QPainter &painter, int column, int row, const QRect &rect) const;

    int yearShown() const;
    YearAnalysis::Mode mode() const;
    // Number (帳目屬性) of the main category chosen in cbb2; 0 when none is.
    int chosenCategory() const;
    const YearSums &sums() const { return m_sums; }
    QString picturePath() const;
    // The printed report of what the screen shows now.
    std::unique_ptr<Report> buildReport();

    QToolButton *YSpeedButton1 = nullptr;
    QLabel *Y_Label = nullptr;
    QToolButton *YSpeedButton2 = nullptr;
    QComboBox *cbb1 = nullptr;
    QComboBox *cbb2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QTableWidget *StringGrid1 = nullptr;
    QChartView *Chart1 = nullptr;
    QLineSeries *Series1 = nullptr;
    QLineSeries *Series2 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fillCategories();
    void showSums();
    void showChart();
    void setAmountAxis(qint64 top);
    void writePicture();
    void leaveToCalendar(bool deletePictures);
    void exportTo(const QString &path);
    bool isSelected(int column, int row) const;

    Program &m_program;
    YearSums m_sums;
    QValueAxis *m_axisX = nullptr;
    QCategoryAxis *m_axisY = nullptr;
    QSet<QString> m_pictures; // pictures written since the screen was opened
    QString m_pictureFailure; // the picture path that could not be written last
    bool m_filling = false; // boxes being refilled: their change signals do not rebuild
};
