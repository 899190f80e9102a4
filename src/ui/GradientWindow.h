#pragma once

#include <QDialog>
#include <QWidget>

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
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Working screens minimise every window of the program together.
    bool m_minimiseApplication = true;
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
