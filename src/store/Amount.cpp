#include "store/Amount.h"

QString formatAmount(qint64 amount)
{
    const bool negative = amount < 0;
    QString digits = QString::number(negative ? -amount : amount);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return negative ? QLatin1Char('-') + digits : digits;
}

bool isWholeNumberText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<qint64> parseAmount(const QString &text)
{
    QString digits = text.trimmed();
    digits.remove(QLatin1Char(','));
    if (!isWholeNumberText(digits))
        return std::nullopt;
    // Leading zeros do not make an amount longer than nine digits.
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.size() > 9)
        return std::nullopt;
    return digits.toLongLong();
}
