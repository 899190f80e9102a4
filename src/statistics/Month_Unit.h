#pragma once

#include "statistics/StatisticsForm.h"

class QLabel;
class QToolButton;

// Monthly statistics: one month of the current ledger by category, with its bar chart.
class TMonth_Form : public StatisticsForm
{
    Q_OBJECT
public:
    explicit TMonth_Form(Program &program);

    // Both arrows: the button's hint says which way.
    void MSpeedButton1Click(QToolButton *sender);
    void BitBtn3Click(); // 離開
    void BitBtn4Click(); // 明細清單
    void leave() override { BitBtn3Click(); }

    QString chartPicturePath() const override;
    QString reportTitle() const override;
    // The month this screen shows (its label without "月").
    int monthShown() const;

    QLabel *M_Label = nullptr;
    QToolButton *MSpeedButton1 = nullptr;
    QToolButton *MSpeedButton2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;

protected:
    SummaryInput periodInput() const override;
    void summaryStarting() override;
    void listFilled() override;
    void showEvent(QShowEvent *event) override;
};
