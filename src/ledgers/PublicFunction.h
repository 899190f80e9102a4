#pragma once

#include <QByteArray>
#include <QString>

// How ledger names and passwords are kept in the ledger directory file.
//
// Current form: DES (ECB) of the text's Big5 bytes under LedgerKeyText, as uppercase hex.
// Legacy form: the stream cipher (Crypt32) of a plaintext that starts with LegacyMarker;
// still read, never written.

inline constexpr char LedgerKeyText[] = "hwel83&qz5";
inline constexpr char LegacyMarker[] = "qa|";
inline constexpr quint32 LegacyStartKey = 47096;
inline constexpr quint32 LegacyMultiplier = 52640;
inline constexpr quint32 LegacyIncrement = 62083;

// The stored form of plain (empty for an empty text). Throws LedgerError when plain holds a
// character Big5 cannot store, or ends in U+0000.
QByteArray EncodeLedgerText(const QString &plain);

// The plain text of a stored line, in either form. Throws LedgerError
// "Error: not a Hex String" on a line that is neither legacy nor hexadecimal.
QString DecodeLedgerText(const QByteArray &stored);

// Whether stored is plain in either form (exact, case-sensitive; the current form only in
// the uppercase hex EncodeLedgerText writes). Never throws: a damaged line does not match.
bool MatchLedgerText(const QString &plain, const QByteArray &stored);
