// The amount readers: what a user types or pastes into an amount field.
#include "store/Amount.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<qint64> amount = parseAmount(text);
    const bool whole = isWholeNumberText(text);
    if (amount) {
        // Whatever is accepted is a stored amount, and reads back from its shown form.
        if (*amount < 0 || *amount > MaxAmount)
            std::abort();
        if (parseAmount(formatAmount(*amount)) != amount)
            std::abort();
    }
    // Digits only, short enough: always an amount.
    if (whole && text.size() <= 9 && !amount)
        std::abort();
    return 0;
}
