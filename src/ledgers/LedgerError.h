#pragma once

#include <QString>
#include <stdexcept>

// A failure of the ledger texts or of the ledger directory file. what() and message() carry
// the text the user is shown (what() as UTF-8).
class LedgerError : public std::runtime_error
{
public:
    explicit LedgerError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    { }
    QString message() const { return m_message; }

private:
    QString m_message;
};
