#pragma once

// Reads a written .xlsx back through openpyxl (Debian's python3-openpyxl), so a test sees what
// a spreadsheet program sees rather than what our own writer believes it wrote.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class XlsxBook
{
public:
    // Empty error() on success.
    explicit XlsxBook(const QString &path)
    {
        QProcess python;
        const QString script = QStringLiteral(QINGHE_TEST_TOOLS_DIR "/xlsx_dump.py");
        python.start(QStringLiteral("/usr/bin/python3"), { script, path });
        if (!python.waitForFinished(60000) || python.exitCode() != 0) {
            m_error = QString::fromUtf8(python.readAllStandardError());
            if (m_error.isEmpty())
                m_error = QStringLiteral("reader failed");
            return;
        }
        m_root = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    QString error() const { return m_error; }

    QStringList sheetNames() const
    {
        QStringList names;
        for (const auto &s : m_root.value(QStringLiteral("sheets")).toArray())
            names << s.toObject().value(QStringLiteral("name")).toString();
        return names;
    }

    QJsonObject sheet(const QString &name) const
    {
        for (const auto &s : m_root.value(QStringLiteral("sheets")).toArray())
            if (s.toObject().value(QStringLiteral("name")).toString() == name)
                return s.toObject();
        return {};
    }

    // One cell's properties: value, type ("text"/"number"/"empty"), font_color ("FF0000"),
    // font_size, bold, fill, h_align, v_align, bottom ("medium"…), number_format.
    QJsonObject cell(const QString &sheetName, const QString &ref) const
    {
        return sheet(sheetName).value(QStringLiteral("cells")).toObject().value(ref).toObject();
    }
    QString text(const QString &sheetName, const QString &ref) const
    {
        return cell(sheetName, ref).value(QStringLiteral("value")).toVariant().toString();
    }
    QStringList merged(const QString &sheetName) const
    {
        QStringList out;
        for (const auto &m : sheet(sheetName).value(QStringLiteral("merged")).toArray())
            out << m.toString();
        return out;
    }
    QJsonArray images(const QString &sheetName) const
    {
        return sheet(sheetName).value(QStringLiteral("images")).toArray();
    }

private:
    QJsonObject m_root;
    QString m_error;
};
