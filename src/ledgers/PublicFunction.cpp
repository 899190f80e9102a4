#include "ledgers/PublicFunction.h"

#include "ledgers/Big5.h"
#include "ledgers/CnDES.h"
#include "ledgers/Crypt32.h"

namespace {

QByteArray ledgerKey()
{
    return QByteArray(LedgerKeyText);
}

// The legacy plaintext of a stored line, with every marker removed, and whether the line
// started with the marker.
struct LegacyText
{
    QString text;
    bool marked = false;
};

LegacyText legacyText(const QByteArray &stored)
{
    const QString deciphered
        = fromBig5(StreamDecipher(stored, LegacyStartKey, LegacyMultiplier, LegacyIncrement));
    const QString marker = QString::fromLatin1(LegacyMarker);
    QString text = deciphered;
    text.remove(marker, Qt::CaseSensitive);
    return { text, deciphered.startsWith(marker) };
}

} // namespace

QByteArray EncodeLedgerText(const QString &plain)
{
    const std::optional<QByteArray> bytes = toBig5(plain);
    if (!bytes)
        throw LedgerError(QStringLiteral("「%1」含有無法以 Big5 儲存的字元。").arg(plain));
    return DesEncryptHex(*bytes, ledgerKey());
}

QString DecodeLedgerText(const QByteArray &stored)
{
    const LegacyText legacy = legacyText(stored);
    if (legacy.marked)
        return legacy.text;
    return fromBig5(DesDecryptHex(stored, ledgerKey()));
}

bool MatchLedgerText(const QString &plain, const QByteArray &stored)
{
    if (legacyText(stored).text == plain)
        return true;
    const std::optional<QByteArray> bytes = toBig5(plain);
    if (!bytes || (!bytes->isEmpty() && bytes->back() == '\0'))
        return false;
    return DesEncryptHex(*bytes, ledgerKey()) == stored;
}
