#pragma once

#include <QObject>
#include <functional>

class QTabWidget;

// Page changes of a tab widget that its screen may refuse. When the user turns the page,
// allow() is asked first: on no the page shown before comes back, on yes changed() runs.
// Pages the program sets through setPage() change quietly.
class GuardedPages : public QObject
{
public:
    // Owned by the tab widget.
    GuardedPages(QTabWidget *tabs, std::function<bool()> allow, std::function<void()> changed);

    void setPage(int index);

private:
    void currentChanged(int index);

    QTabWidget *m_tabs;
    std::function<bool()> m_allow;
    std::function<void()> m_changed;
    int m_shown;
    bool m_quiet = false;
};
