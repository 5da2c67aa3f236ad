#include "core/Colours.h"

#include <cmath>

namespace torvella {

namespace {

// Blue, green, red bytes of the four cake colours.
constexpr uint8_t kBaseColours[5][3] = {
    {0, 0, 0}, {0, 0, 192}, {0, 192, 0}, {192, 0, 0}, {0, 192, 192},
};

constexpr float kShadeFactors[kShades + 1] = {
    0.0f, 0.93f, 1.0f, 1.07f, 1.14f, 1.21f, 1.14f, 1.07f, 1.0f, 0.93f,
    0.86f, 0.79f, 0.86f, 0.30f, 1.0f, 0.0f, 0.5f, 1.0f,
};

uint32_t Shade(uint8_t byte, float factor)
{
    if (byte == 0)
        return 0;
    // The product is taken in extended precision from the single-precision factor;
    // nearbyintl rounds halves to even in the default rounding mode.
    const long double product = static_cast<long double>(byte) * static_cast<long double>(factor);
    return static_cast<uint32_t>(std::nearbyintl(product));
}

ColourTableT BuildColourTable()
{
    ColourTableT table{};
    for (int c = 1; c <= 4; ++c)
        for (int q = 1; q <= kShades; ++q) {
            const uint32_t b0 = Shade(kBaseColours[c][0], kShadeFactors[q]);
            const uint32_t b1 = Shade(kBaseColours[c][1], kShadeFactors[q]);
            const uint32_t b2 = Shade(kBaseColours[c][2], kShadeFactors[q]);
            table[c][q] = b0 * 65536 + b1 * 256 + b2;
        }
    return table;
}

std::array<uint32_t, 16> BuildPulseColours()
{
    constexpr uint32_t levels[16] = {0x3F, 0x4F, 0x5F, 0x6F, 0x7F, 0x8F, 0x9F, 0xAF,
                                     0xBF, 0xAF, 0x9F, 0x8F, 0x7F, 0x6F, 0x5F, 0x4F};
    std::array<uint32_t, 16> greys{};
    for (int i = 0; i < 16; ++i)
        greys[i] = levels[i] * 0x010101;
    return greys;
}

} // namespace

const ColourTableT& ColourTable()
{
    static const ColourTableT table = BuildColourTable();
    return table;
}

const std::array<uint32_t, 16>& PulseColours()
{
    static const std::array<uint32_t, 16> greys = BuildPulseColours();
    return greys;
}

} // namespace torvella
