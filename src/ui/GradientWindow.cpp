#include "ui/GradientWindow.h"

#include "ui/Colors.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QWindowStateChangeEvent>

void paintWindowGradient(QWidget *widget, QPainter &painter)
{
    QLinearGradient gradient(0, 0, 0, widget->height());
    gradient.setColorAt(0, winColor(Palette::GradientTop));
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(widget->rect(), gradient);
}

void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

GradientWindow::GradientWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_StyledBackground, false);
}

void GradientWindow::showCentred()
{
    centreOnScreen(this);
    show();
    raise();
    activateWindow();
}

void GradientWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintWindowGradient(this, painter);
}

bool GradientWindow::event(QEvent *event)
{
    // An activation that arrives after the window was hidden again refreshes nothing.
    if (event->type() == QEvent::WindowActivate && isVisible())
        FormActivate();
    return QWidget::event(event);
}

bool GradientWindow::refreshOnActivation(Prompts &prompts, const std::function<void()> &refresh)
{
    return runRefresh(prompts, refresh, false);
}

bool GradientWindow::refreshByUser(Prompts &prompts, const std::function<void()> &refresh)
{
    return runRefresh(prompts, refresh, true);
}

bool GradientWindow::runRefresh(Prompts &prompts, const std::function<void()> &refresh, bool byUser)
{
    try {
        refresh();
        m_reported.clear(); // a failure after this one is news again
        return true;
    } catch (const std::exception &e) {
        const QString message = QString::fromUtf8(e.what());
        if (byUser || !m_reported.contains(message)) {
            m_reported << message;
            prompts.error(message);
        }
    }
    return false;
}

void GradientWindow::hideEvent(QHideEvent *event)
{
    // The next showing says its failures again.
    m_reported.clear();
    QWidget::hideEvent(event);
}

void GradientWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && m_minimiseApplication) {
        const bool minimised = windowState() & Qt::WindowMinimized;
        const bool wasMinimised
            = static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized;
        // The program goes down as one and comes back as one.
        if (minimised != wasMinimised) {
            const auto windows = QApplication::topLevelWidgets();
            for (QWidget *window : windows) {
                if (window == this || !window->isVisible()
                    || bool(window->windowState() & Qt::WindowMinimized) == minimised)
                    continue;
                if (minimised)
                    window->showMinimized();
                else
                    window->showNormal();
            }
        }
    }
    QWidget::changeEvent(event);
}

GradientDialog::GradientDialog(QWidget *parent)
    : QDialog(parent)
{ }

void GradientDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintWindowGradient(this, painter);
}

bool GradientDialog::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}
