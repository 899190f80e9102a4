#pragma once

#include <functional>

class QWidget;

// Esc pressed while the window or any control it holds has the focus runs leave, as the
// screen's leave button does; on an open pop-up menu of the window it closes the menu only.
// Controls added to the window later are not watched.
void leaveOnEscape(QWidget *window, std::function<void()> leave);
