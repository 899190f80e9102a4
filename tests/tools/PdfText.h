#pragma once

// Reads a PDF back with poppler's pdftotext / pdfinfo, as a PDF viewer would show it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

namespace PdfText {

// Qt's PDF writer names each shared CJK glyph by its lowest code point, so a PDF reader sees
// Kangxi radicals (U+2F49 for 月) where the ideographs were drawn; map them back.
inline QString withIdeographs(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x2EFF) || (u >= 0x2F00 && u <= 0x2FDF))
            out += QString(c).normalized(QString::NormalizationForm_KC);
        else
            out += c;
    }
    return out;
}

// The text of the whole document (pages separated by form feeds), or of one page (from 1).
inline QString text(const QString &pdf, int page = 0, bool layout = true)
{
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    args << pdf << QStringLiteral("-");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(60000);
    return withIdeographs(QString::fromUtf8(p.readAllStandardOutput()));
}

inline int pageCount(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), { pdf });
    p.waitForFinished(60000);
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Renders one page to PNG (for looking at it); returns the PNG path.
inline QString renderPng(const QString &pdf, int page, const QString &outBase, int dpi = 60)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
        { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
            QString::number(page), QStringLiteral("-l"), QString::number(page),
            QStringLiteral("-singlefile"), pdf, outBase });
    p.waitForFinished(60000);
    return outBase + QStringLiteral(".png");
}

// Keeps a copy of a written file in $QINGHE_TEST_ARTIFACTS (when set) for looking at it.
inline void keep(const QString &file, const QString &name)
{
    const QString folder = qEnvironmentVariable("QINGHE_TEST_ARTIFACTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QFile::remove(folder + QLatin1Char('/') + name);
    QFile::copy(file, folder + QLatin1Char('/') + name);
}

} // namespace PdfText
