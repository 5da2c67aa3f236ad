#pragma once
#include "core/Random.h"
#include "core/Tableau.h"

namespace torvella {

constexpr int kShuffleSwaps = 10001;

// Lays out a new tableau from the generator's current state and resets everything that
// belongs to one game. Leaves the undo record alone (the deal disables undo) and does not
// touch the buttons: the game flow does that.
void DealTableau(Tableau& t, Random& rng);

} // namespace torvella
