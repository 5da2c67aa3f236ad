#pragma once
// Back end: the rules of a move as pure functions over a position. JudgeDrop says whether a
// drop is legal and where its target goes; ApplyMove carries it out and returns the steps it
// made, in the order the player is to see and hear them. Nothing here draws, sounds or
// waits: the game flow (core/Game.h) turns the steps into its view's calls, and the solver
// (core/Solver.h) and torvella-cli stand on the same two functions.
#include "core/Tableau.h"

#include <array>
#include <cstdint>

namespace torvella {

// Points of a move. A jump and the solved bonus are counted in ten visible steps.
constexpr int32_t kServePoints = 45;
constexpr int32_t kFollowPoints = 35;
constexpr int32_t kCompletePoints = 135;
constexpr int kCountSteps = 10;
constexpr int32_t kJumpStep = 37;     // ten steps: -370
constexpr int32_t kSolvedStep = 22;   // ten steps: +220
constexpr int32_t kHintCharge = kCountSteps * kJumpStep;  // a hint costs what a jump costs

// A drop: the cake in `from` lands on `to`. `to` may lie off the tableau (refused).
struct Move {
    Cell from, to;
    bool operator==(const Move&) const = default;
};

enum class Destination : uint8_t { None, Plate, Hold };  // where the target cake goes

struct Verdict {
    bool legal = false;
    bool jump = false;  // the mixed cake to a cell that is not its neighbour
    Destination target = Destination::None;
};

// Judges a drop on the position before the move (the moved cake still in its cell). A drop
// from an empty cell, onto the cake's own cell, an empty cell or the mixed cake is refused.
Verdict JudgeDrop(const Tableau& t, Move m);

// What a move did, in order: first where the target went (Served, then perhaps Followed
// and Completed; or Held), then, after the moved cake has landed, Jumped, and at most one
// of Solved and DeadEnd.
enum class StepKind : uint8_t { Served, Followed, Completed, Held, Jumped, Solved, DeadEnd };

// One step and the state right after it, so that whoever shows a move needs no rule of its
// own: the target's plate and hold place, the score and the jumps left.
struct Step {
    StepKind kind;
    int colour = 0;   // the target's colour (0 for Jumped, Solved, DeadEnd)
    int32_t plate = 0;  // slices on the target's plate afterwards
    int32_t hold = 0;   // slices in the target's hold place afterwards
    int32_t score = 0;
    int32_t jumps = 0;
};

// True for the steps the player sees before the moved cake lands in the target's cell.
constexpr bool BeforeLanding(StepKind k)
{
    return k == StepKind::Served || k == StepKind::Followed || k == StepKind::Completed || k == StepKind::Held;
}

class MoveSteps {
public:
    void Add(Step s) { items_[count_++] = s; }
    const Step* begin() const { return items_.data(); }
    const Step* end() const { return items_.data() + count_; }
    int size() const { return count_; }
    bool Has(StepKind k) const
    {
        for (const Step& s : *this)
            if (s.kind == k)
                return true;
        return false;
    }

private:
    std::array<Step, 6> items_{};
    int count_ = 0;
};

// Carries out a drop that JudgeDrop found legal: the target leaves, the moved cake takes its
// cell, its own cell is left empty, points and jumps change.
MoveSteps ApplyMove(Tableau& t, Move m, const Verdict& v);

// True when the cake in that cell has at least one legal move; the dead-end test. A mixed
// cake with jumps left always counts as movable.
bool CanMoveFrom(const Tableau& t, int col, int row);
int CountMovableCells(const Tableau& t);

} // namespace torvella
