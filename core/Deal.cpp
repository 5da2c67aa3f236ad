// Back end: dealing (see Deal.h).
#include "core/Deal.h"

#include <utility>

namespace torvella {

void DealTableau(Tableau& t, Random& rng)
{
    // A code is slices * 16 + colour; the mixed cake (colour 0, one slice) is 16.
    int32_t codes[kCells];
    codes[0] = 16;
    for (int s = 1; s <= kMaxSlices; ++s)
        for (int c = 1; c <= kColours; ++c)
            codes[(s - 1) * 4 + c] = s * 16 + c;

    for (int i = 0; i < kShuffleSwaps; ++i) {
        const uint32_t a = rng.Next(kCells);
        const uint32_t b = rng.Next(kCells);
        std::swap(codes[a], codes[b]);
    }

    for (int i = 0; i < kCells; ++i) {
        t.CellColour[i] = codes[i] % 16;
        t.CellSlices[i] = codes[i] / 16;
    }
    for (int c = 1; c <= kColours; ++c) {
        t.HoldSlices[c] = 0;
        t.PlateSlices[c] = 0;
    }
    t.Score = 0;
    t.JumpsLeft = kStartJumps;
}

} // namespace torvella
