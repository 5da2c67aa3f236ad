#pragma once
// Back end: the solver. From any position (nothing lifted), is the tableau still solvable,
// jumps included, and one solution as a list of drops. It judges drops exactly as the rules
// do (core/Rules.h), and every solution it reports has been replayed through JudgeDrop and
// ApplyMove, so it is one the game accepts drop by drop.
#include "core/Rules.h"
#include "core/Tableau.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace torvella {

// Why a search ended without an answer.
enum class SolveStop : uint8_t { None, Cancelled, Time, Positions, NotAPosition };

struct Solution {
    bool solvable = false;
    std::vector<Move> moves;   // the drops of one solution, in order; empty when none
    uint64_t positions = 0;    // positions the search looked at
    bool cancelled = false;    // stopped before it knew the answer: neither solvable nor proven unsolvable
    SolveStop stop = SolveStop::None;
};

// What a search may spend. The table of positions known to fail takes at most `maxBytes`
// (while it grows too) and then replaces its least valuable entries, so memory stays bounded whatever the
// position; a search stops (undecided) at the first of the other limits it reaches.
struct SolveLimits {
    const std::atomic<bool>* cancel = nullptr;  // polled now and then; set it to stop early
    uint64_t maxPositions = 0;                   // stop after so many positions; 0: no limit
    double maxSeconds = 0;                       // stop after so much wall-clock time; 0: no limit
    size_t maxBytes = 0;                         // the table's size; 0: kDefaultSolveBytes
};

constexpr size_t kDefaultSolveBytes = size_t{256} << 20;

// The game's hint: one second, and a table small enough for a player's machine.
SolveLimits HintLimits(const std::atomic<bool>* cancel = nullptr);

Solution Solve(const Tableau& position, SolveLimits limits = {});

// The reason in words, for a search that stopped at a limit ("" for none).
const char* StopReason(SolveStop stop);

// "C,R>C,R", the way torvella-cli writes a drop.
std::string MoveText(Move m);

} // namespace torvella
