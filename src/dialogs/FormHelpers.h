#pragma once

#include <QColor>
#include <QLabel>
#include <QObject>

class QLineEdit;
class QWidget;

// Enter in an edit field moves the focus to the next control instead of pressing a
// default button.
class EnterMovesFocus : public QObject
{
    Q_OBJECT
public:
    // Installs itself on field; target (when given) gets the focus instead of the next
    // control in tab order.
    static void install(QWidget *field, QWidget *target = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EnterMovesFocus(QWidget *field, QWidget *target);
    QWidget *m_target;
};

// A label whose text runs in a horizontal colour gradient, as the message dialogs show it.
class GradientTextLabel : public QLabel
{
    Q_OBJECT
public:
    GradientTextLabel(const QColor &from, const QColor &to, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_from;
    QColor m_to;
};

// Enter (or Return) on a focused button presses it, as in a dialog; the program's windows
// are plain windows, where Qt leaves that off.
void enterPressesButtons(QWidget *form);

// A password field that shows one "*" for each character typed.
void showStars(QLineEdit *edit);

// Font of the given pixel size in the program's family, optionally bold.
QFont formFont(int pixelSize, int weight = -1);
