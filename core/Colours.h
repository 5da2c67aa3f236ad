#pragma once
// Shared by the game and the painters: the colour tables. Colour values use the layout
// 0x00BBGGRR (red in the low byte); the window converts them once, in one helper, when it
// paints.
#include <array>
#include <cstdint>

namespace torvella {

constexpr int kShades = 17;

// ColourTable[c][q] for colour c 1..4 and shade q 1..17 (index 0 unused in both).
using ColourTableT = std::array<std::array<uint32_t, kShades + 1>, 5>;

// Built once at start-up: each non-zero base byte times a single-precision shade factor,
// rounded to nearest with halves to even.
const ColourTableT& ColourTable();
const std::array<uint32_t, 16>& PulseColours();

constexpr uint32_t kBlack = 0x000000;

} // namespace torvella
