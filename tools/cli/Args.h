#pragma once
// Argument parsing and JSON quoting shared by the commands of torvella-cli.
#include "core/Geometry.h"
#include "tools/cli/Commands.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace torvella::cli {

// A whole decimal number with an optional leading '+' or '-' (as the type allows).
template <typename T>
bool ParseNumber(std::string_view text, T& value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The generator state: digits only, 0 to 4294967295.
inline uint32_t ParseState(const std::string& text)
{
    uint32_t state = 0;
    if (text.empty() || text.front() == '-' || text.front() == '+' || !ParseNumber(text, state))
        throw UsageError("STATE must be an unsigned 32-bit decimal number: '" + text + "'");
    return state;
}

// "WxH" with both positive and big enough for a tableau (CellSize above 0).
inline std::pair<int32_t, int32_t> ParseBoardSize(const std::string& text)
{
    const auto x = text.find('x');
    int32_t w = 0, h = 0;
    if (x == std::string::npos || !ParseNumber(std::string_view(text).substr(0, x), w) ||
        !ParseNumber(std::string_view(text).substr(x + 1), h) || w <= 0 || h <= 0)
        throw UsageError("--size must be WxH with positive integers: '" + text + "'");
    if (CalcLayout(w, h).CellSize <= 0)
        throw UsageError("board area " + text + " is too small for a tableau");
    return {w, h};
}

inline std::string JsonQuoted(const std::string& text)
{
    std::string s = "\"";
    for (unsigned char ch : text) {
        if (ch == '"' || ch == '\\') {
            s += '\\';
            s += static_cast<char>(ch);
        } else if (ch < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", ch);
            s += buf;
        } else {
            s += static_cast<char>(ch);
        }
    }
    return s + '"';
}

} // namespace torvella::cli
