#pragma once

#include <QIcon>

// The one picture of every arrow and navigation button: a solid navy triangle (grey when the
// button is disabled). It is drawn at the size and pixel ratio asked for, so it stays sharp
// on HiDPI screens and looks the same on every screen of the program.
QIcon arrowIcon(Qt::ArrowType direction);
