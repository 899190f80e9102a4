#pragma once

#include "ledgers/LedgerError.h"

#include <QByteArray>

// DES (FIPS 46) in electronic codebook mode over byte strings, with a hexadecimal text form.
// Key text: zero bytes are appended up to eight; its first eight bytes are the DES key.
// All functions are reentrant: each call builds its own key schedule.

// Enciphers text, zero-padded to a multiple of eight bytes (an empty text stays empty).
// Throws LedgerError "Error: the last char is NULL char." when text ends in a zero byte,
// since the padding could not be told apart from it.
QByteArray DesEncryptText(const QByteArray &text, const QByteArray &key);

// Deciphers every whole block (a last partial block is ignored) and drops all trailing
// zero bytes.
QByteArray DesDecryptText(const QByteArray &bytes, const QByteArray &key);

// DesEncryptText as uppercase hexadecimal, two digits per byte, no separators.
QByteArray DesEncryptHex(const QByteArray &text, const QByteArray &key);

// Hex text (either letter case; a last odd digit is ignored) to bytes, then DesDecryptText.
// Throws LedgerError "Error: not a Hex String" on any character that is not a hex digit.
QByteArray DesDecryptHex(const QByteArray &hex, const QByteArray &key);

// Value of a text of hexadecimal digits (an empty text is 0; wraps past 64 bits).
// Throws LedgerError "Error: not a Hex String" on any other character.
quint64 HexTextToInt(const QByteArray &digits);
