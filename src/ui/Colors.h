#pragma once

#include <QColor>

// Colours are given as Windows values 0x00BBGGRR.
inline QColor winColor(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

namespace Palette {
inline constexpr int Income = 16711680; // blue
inline constexpr int Expense = 255; // red
inline constexpr int GradientTop = 16770250;
} // namespace Palette
