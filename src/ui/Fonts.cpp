#include "ui/Fonts.h"

#include <QStringList>

QFont namedFont(const QString &family, int pixelSize, bool bold)
{
    QFont font;
    // 標楷體 is a brush script; the serif face is its closest stand-in.
    const QString fallback = family == QStringLiteral("標楷體")
        ? QStringLiteral("Noto Serif CJK TC")
        : QStringLiteral("Noto Sans CJK TC");
    font.setFamilies({ family, fallback, QStringLiteral("Noto Sans CJK TC") });
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
