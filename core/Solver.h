#pragma once
// Back end: the solver. From any position (nothing lifted), is the tableau still solvable,
// jumps included, and one solution as a list of drops. It stands on the rules alone
// (JudgeDrop, ApplyMove), so a solution it finds is one the game accepts drop by drop.
#include "core/Rules.h"
#include "core/Tableau.h"

#include <atomic>
#include <string>
#include <cstdint>
#include <vector>

namespace torvella {

struct Solution {
    bool solvable = false;
    std::vector<Move> moves;   // the drops of one solution, in order; empty when none
    uint64_t positions = 0;    // positions the search looked at
    bool cancelled = false;    // stopped by its limits before it knew the answer
};

// Depth-first search over the drops that the rules allow, with a table of positions known
// to fail (a 64-bit hash of the cells and the jumps left: plates and hold places follow
// from the cakes left on the tableau). Prunes a position when more parts of the tableau
// are cut off from the mixed cake than it has jumps left: a part without the mixed cake
// always keeps its last cake, which only a jump can take away.
struct SolveLimits {
    const std::atomic<bool>* cancel = nullptr;  // polled now and then; set it to stop early
    uint64_t maxPositions = 0;                   // stop after so many positions; 0: no limit
};

// A search stopped by its limits reports `cancelled`, neither solvable nor proven unsolvable.
Solution Solve(const Tableau& position, SolveLimits limits = {});

// "C,R>C,R", the way torvella-cli writes a drop.
std::string MoveText(Move m);

} // namespace torvella
