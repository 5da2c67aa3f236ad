// Back end: the rules of a move (see Rules.h).
#include "core/Rules.h"

#include <cstdlib>

namespace torvella {

namespace {

bool AnyMovable(const Tableau& t)
{
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row)
            if (CanMoveFrom(t, col, row))
                return true;
    return false;
}

} // namespace

Verdict JudgeDrop(const Tableau& t, Move m)
{
    Verdict v;
    if (!OnTableau(m.from) || !OnTableau(m.to) || t.Slices(m.from.col, m.from.row) <= 0)
        return v;
    const int dc = std::abs(m.from.col - m.to.col);
    const int dr = std::abs(m.from.row - m.to.row);
    const bool adjacent = dc + dr == 1;
    // A neighbour move of the mixed cake costs nothing; elsewhere it jumps while it may.
    v.jump = !adjacent && t.Colour(m.from.col, m.from.row) == kMixedCake && t.JumpsLeft > 0;
    if (!adjacent && !v.jump)
        return v;
    // The target must hold a coloured cake: the moved cake's own cell counts as empty, and
    // the mixed cake is never a target.
    if (m.to == m.from || t.Slices(m.to.col, m.to.row) <= 0 || t.Colour(m.to.col, m.to.row) <= 0)
        return Verdict{};
    const int target = t.Colour(m.to.col, m.to.row);
    const int slices = t.Slices(m.to.col, m.to.row);
    if (t.PlateSlices[target] + 1 == slices)
        v.target = Destination::Plate;
    else if (t.HoldSlices[target] == 0)
        v.target = Destination::Hold;
    else
        return Verdict{};
    v.legal = true;
    return v;
}

MoveSteps ApplyMove(Tableau& t, Move m, const Verdict& v)
{
    MoveSteps steps;
    const int target = t.Colour(m.to.col, m.to.row);
    const int slices = t.Slices(m.to.col, m.to.row);
    // Every step records the state it leaves behind; the target's colour for its own steps.
    const auto add = [&](StepKind kind, int colour) {
        steps.Add({kind, colour, colour ? t.PlateSlices[colour] : 0, colour ? t.HoldSlices[colour] : 0, t.Score,
                   t.JumpsLeft});
    };
    if (v.target == Destination::Plate) {
        t.PlateSlices[target] = slices;
        t.Score += kServePoints;
        add(StepKind::Served, target);
        if (t.HoldSlices[target] == t.PlateSlices[target] + 1) {
            t.Score += kFollowPoints;
            t.PlateSlices[target] = t.HoldSlices[target];
            t.HoldSlices[target] = 0;
            add(StepKind::Followed, target);
        }
        if (t.PlateSlices[target] == kMaxSlices) {
            t.Score += kCompletePoints;
            add(StepKind::Completed, target);
        }
    } else {
        t.HoldSlices[target] = slices;
        add(StepKind::Held, target);
    }

    t.Colour(m.to.col, m.to.row) = t.Colour(m.from.col, m.from.row);
    t.Slices(m.to.col, m.to.row) = t.Slices(m.from.col, m.from.row);
    t.Colour(m.from.col, m.from.row) = kEmpty;
    t.Slices(m.from.col, m.from.row) = 0;

    if (v.jump) {
        t.JumpsLeft -= 1;
        t.Score -= kCountSteps * kJumpStep;
        add(StepKind::Jumped, 0);
    }
    if (t.AllPlatesFull()) {
        t.Score += kCountSteps * kSolvedStep;
        add(StepKind::Solved, 0);
    } else if (!AnyMovable(t)) {
        add(StepKind::DeadEnd, 0);
    }
    return steps;
}

bool CanMoveFrom(const Tableau& t, int col, int row)
{
    if (t.Slices(col, row) == 0)
        return false;
    if (t.Colour(col, row) == kMixedCake && t.JumpsLeft > 0)
        return true;
    static constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& step : kSteps) {
        const Cell n{col + step[0], row + step[1]};
        if (!OnTableau(n))
            continue;
        const int k = t.Colour(n.col, n.row);
        if (k > 0 && (t.PlateSlices[k] + 1 == t.Slices(n.col, n.row) || t.HoldSlices[k] == 0))
            return true;
    }
    return false;
}

int CountMovableCells(const Tableau& t)
{
    int count = 0;
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row)
            if (CanMoveFrom(t, col, row))
                ++count;
    return count;
}

} // namespace torvella
