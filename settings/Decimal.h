#pragma once
// Strict decimal number text as the store writes it: an optional sign and ASCII
// digits, nothing else (no blanks, no hex, no exponent), within the signed 32-bit range.
#include <QString>
#include <cstdint>
#include <optional>

namespace torvella::settings {

std::optional<int32_t> ParseDecimal(const QString& text);

} // namespace torvella::settings
