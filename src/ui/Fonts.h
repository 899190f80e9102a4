#pragma once

#include <QFont>
#include <QString>

// A font of the family the screens were designed with, then the Noto CJK TC face that stands
// in where that family is missing: the serif face for the brush script 標楷體, the sans face
// for every other.
QFont namedFont(const QString &family, int pixelSize, bool bold = false);
