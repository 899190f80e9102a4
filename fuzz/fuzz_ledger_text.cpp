// The stored-line decoder of the ledger list file, and the round trip of what it writes.
#include "ledgers/Big5.h"
#include "ledgers/Crypt32.h"
#include "ledgers/LedgerError.h"
#include "ledgers/PublicFunction.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        const QString plain = DecodeLedgerText(bytes);
        (void)MatchLedgerText(plain, bytes);
    } catch (const LedgerError &) {
        // A damaged line is refused with a message; that is all it may do.
    }

    // The same bytes as a name typed by the user: what is written must read back as itself.
    const QString typed = fromBig5(bytes);
    std::optional<QByteArray> big5 = toBig5(typed);
    if (big5 && !typed.endsWith(QChar(0))) {
        QByteArray stored;
        try {
            stored = EncodeLedgerText(typed);
        } catch (const LedgerError &) {
            return 0;
        }
        if (!MatchLedgerText(typed, stored))
            std::abort();
        // A stored line that happens to read as a legacy line is taken as one (the legacy
        // test comes first); every other line must decode to the name written.
        const bool looksLegacy
            = StreamDecipher(stored, LegacyStartKey, LegacyMultiplier, LegacyIncrement)
                  .startsWith(LegacyMarker);
        try {
            if (!looksLegacy && DecodeLedgerText(stored) != typed)
                std::abort();
        } catch (const LedgerError &) {
            std::abort();
        }
    }
    return 0;
}
