#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The ledger directory file and the enciphered texts hold Big5 bytes (code page 950), the
// way the program has always stored them, so files written by older versions still read.

// The CP950 bytes of text, or nothing when text holds a character CP950 cannot store
// (or one that would not read back as the same character).
std::optional<QByteArray> toBig5(const QString &text);

// Text of CP950 bytes. A byte sequence that is not valid CP950 becomes U+FFFD, one per
// byte, so damaged input never stops the reader.
QString fromBig5(const QByteArray &bytes);
