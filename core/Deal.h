#pragma once
// Back end: dealing. A new position from the generator's current state.
#include "core/Random.h"
#include "core/Tableau.h"

namespace torvella {

constexpr int kShuffleSwaps = 10001;

// Lays out a new tableau from the generator's current state: every cell dealt, plates and
// hold places empty, three jumps, score 0. The caller keeps the state it dealt from (to
// deal the same tableau again) and resets the flow (phase, clock, lift, buttons).
void DealTableau(Tableau& t, Random& rng);

} // namespace torvella
