#include "ui/EscapeLeaves.h"

#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {
class EscapeFilter : public QObject
{
public:
    EscapeFilter(QWidget *window, std::function<void()> leave)
        : QObject(window)
        , m_window(window)
        , m_leave(std::move(leave))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress
            || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape || !m_window->isVisible())
            return false;
        // Esc on an open pop-up menu closes the menu only.
        if (qobject_cast<QMenu *>(watched))
            return false;
        m_leave();
        return true;
    }

private:
    QWidget *m_window;
    std::function<void()> m_leave;
};
} // namespace

void leaveOnEscape(QWidget *window, std::function<void()> leave)
{
    auto *filter = new EscapeFilter(window, std::move(leave));
    window->installEventFilter(filter);
    const auto children = window->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(filter);
}
