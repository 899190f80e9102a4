#pragma once

#include "statistics/StatisticsForm.h"

class QLabel;
class QToolButton;

// Yearly statistics: one year of the current ledger by category, with its bar chart.
class TYear_Form : public StatisticsForm
{
    Q_OBJECT
public:
    explicit TYear_Form(Program &program);

    // Both arrows: the button's hint says which way.
    void YSpeedButton1Click(QToolButton *sender);
    void BitBtn3Click(); // 年度分析
    void BitBtn4Click(); // 離開
    void BitBtn5Click(); // 明細清單
    void leave() override { BitBtn4Click(); }

    QString chartPicturePath() const override;
    QString reportTitle() const override;
    int yearShown() const;

    QLabel *Y_Label = nullptr;
    QToolButton *YSpeedButton1 = nullptr;
    QToolButton *YSpeedButton2 = nullptr;
    // Offered while the year shown has entries.
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QPushButton *BitBtn5 = nullptr;

protected:
    SummaryInput periodInput() const override;
    void summaryFound(bool hasEntries) override;
    void showEvent(QShowEvent *event) override;
};
