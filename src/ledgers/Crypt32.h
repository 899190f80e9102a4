#pragma once

#include <QByteArray>

// The stream cipher older versions used for the ledger directory file. Only read now:
// lines in this form are still recognised, new lines are always written with DES.
//
// Each output byte is the input byte XOR bits 8..15 of a running key, which then becomes
// (input byte + key) * multiplier + increment, modulo 2^32. The output is as long as the input.
QByteArray StreamDecipher(
    const QByteArray &bytes, quint32 startKey, quint32 multiplier, quint32 increment);
