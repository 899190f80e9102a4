#pragma once

#include <QDialog>
#include <QStringList>
#include <QWidget>
#include <functional>

class Prompts;
class QPainter;

// Paints the vertical gradient every window of the program has.
void paintWindowGradient(QWidget *widget, QPainter &painter);

// Base of the program's windows: the gradient, the data refresh on activation, and
// minimising the whole application when a working screen is minimised.
class GradientWindow : public QWidget
{
    Q_OBJECT
public:
    explicit GradientWindow(QWidget *parent = nullptr);
    // Recomputes what the screen shows; runs whenever the window becomes active.
    virtual void FormActivate() { }
    // Shows the window centred on the screen at its fixed client size.
    void showCentred();

protected:
    // The data refresh of an activation or of opening the screen. A failure is reported
    // once per showing: closing the message box activates the window again, and the same
    // failure then stays unsaid, so a lasting one never brings up box after box and the
    // screen stays usable. False when it failed.
    bool refreshOnActivation(Prompts &prompts, const std::function<void()> &refresh);
    // A refresh the user asked for (a step, a choice, after a change): its failure is
    // always reported, and not again by the activation the message box's closing brings.
    bool refreshByUser(Prompts &prompts, const std::function<void()> &refresh);

    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Working screens minimise every window of the program together.
    bool m_minimiseApplication = true;

private:
    bool runRefresh(Prompts &prompts, const std::function<void()> &refresh, bool byUser);

    QStringList m_reported; // refresh failures reported in this showing
};

// Same look for the modal dialogs.
class GradientDialog : public QDialog
{
    Q_OBJECT
public:
    explicit GradientDialog(QWidget *parent = nullptr);
    virtual void FormActivate() { }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
};

// Fixes a window's client size and centres it on the primary screen.
void centreOnScreen(QWidget *window);
