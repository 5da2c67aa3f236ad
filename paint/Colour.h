#pragma once
// The game keeps colours as 0x00BBGGRR values; this is the one place they become Qt colours.
#include <QColor>
#include <cstdint>

namespace torvella::paint {

inline QColor ToQColor(uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace torvella::paint
