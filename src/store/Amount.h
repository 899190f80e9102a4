#pragma once

#include <QString>
#include <optional>

// Amounts are whole, non-negative and at most nine digits. Shown as "#,##0".
QString formatAmount(qint64 amount);
// Accepts digits with optional "," separators; empty, signed, fractional or over nine
// digits gives nothing.
std::optional<qint64> parseAmount(const QString &text);
// True when the text holds only digits (the check applied to a pasted amount).
bool isWholeNumberText(const QString &text);

inline constexpr qint64 MaxAmount = 999'999'999;
