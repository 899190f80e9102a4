#include "ui/GuardedPages.h"

#include <QTabWidget>

GuardedPages::GuardedPages(
    QTabWidget *tabs, std::function<bool()> allow, std::function<void()> changed)
    : QObject(tabs)
    , m_tabs(tabs)
    , m_allow(std::move(allow))
    , m_changed(std::move(changed))
    , m_shown(tabs->currentIndex())
{
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) { currentChanged(index); });
}

void GuardedPages::setPage(int index)
{
    m_quiet = true;
    m_tabs->setCurrentIndex(index);
    m_quiet = false;
    m_shown = m_tabs->currentIndex();
}

void GuardedPages::currentChanged(int index)
{
    if (m_quiet)
        return;
    if (!m_allow()) {
        setPage(m_shown);
        return;
    }
    m_shown = index;
    m_changed();
}
