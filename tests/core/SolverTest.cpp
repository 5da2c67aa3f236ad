// The solver: its answers against a plain exhaustive search on small positions, its
// solutions replayed through the rules, a position whose only solution is known, and its
// limits.
#include "GameFixture.h"
#include "core/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <set>
#include <vector>

namespace torvella {
namespace {

constexpr int R = 1, M = kMixedCake;

Tableau Position(const std::vector<testing::Cake>& cakes, testing::Side plates, testing::Side holds, int jumps)
{
    Tableau t;
    testing::ClearCells(t);
    for (const auto& c : cakes) {
        t.Colour(c.col, c.row) = c.colour;
        t.Slices(c.col, c.row) = c.slices;
    }
    t.PlateSlices = plates;
    t.HoldSlices = holds;
    t.JumpsLeft = jumps;
    return t;
}

// Every drop from every cell to every cell, no pruning; positions that failed are kept
// exactly (cells and jumps).
class Reference {
public:
    bool Solvable(const Tableau& t)
    {
        if (t.AllPlatesFull())
            return true;
        std::vector<int> key(t.CellColour.begin(), t.CellColour.end());
        key.insert(key.end(), t.CellSlices.begin(), t.CellSlices.end());
        key.push_back(t.JumpsLeft);
        if (failed_.count(key))
            return false;
        for (int from = 0; from < kCells; ++from)
            for (int to = 0; to < kCells; ++to) {
                const Move m{{from / kRows, from % kRows}, {to / kRows, to % kRows}};
                const Verdict v = JudgeDrop(t, m);
                if (!v.legal)
                    continue;
                Tableau next = t;
                ApplyMove(next, m, v);
                if (Solvable(next))
                    return true;
            }
        failed_.insert(key);
        return false;
    }

private:
    std::set<std::vector<int>> failed_;
};

// Plays the drops through the rules; true when each is legal and the last solves.
bool Replays(Tableau t, const std::vector<Move>& moves)
{
    for (const Move& m : moves) {
        const Verdict v = JudgeDrop(t, m);
        if (!v.legal)
            return false;
        ApplyMove(t, m, v);
    }
    return t.AllPlatesFull();
}

// A few cakes of the last slices of each colour, one perhaps waiting in its hold place,
// scattered over a corner of the tableau so that some parts touch and some do not.
Tableau RandomEndgame(std::mt19937& rng)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Tableau t;
    testing::ClearCells(t);
    std::vector<int> cells;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            cells.push_back(CellIndex(col, row));
    std::shuffle(cells.begin(), cells.end(), rng);
    size_t next = 0;
    t.CellColour[cells[next]] = M;
    t.CellSlices[cells[next++]] = 1;
    for (int c = 1; c <= kColours; ++c) {
        t.PlateSlices[c] = pick(10, 12);
        std::vector<int> left;
        for (int s = t.PlateSlices[c] + 1; s <= kMaxSlices; ++s)
            left.push_back(s);
        if (left.size() >= 2 && pick(0, 2) == 0) {
            t.HoldSlices[c] = left.back();  // above the next one, as the rules keep it
            left.pop_back();
        }
        for (int s : left) {
            t.CellColour[cells[next]] = c;
            t.CellSlices[cells[next++]] = s;
        }
    }
    t.JumpsLeft = pick(0, 2);
    return t;
}

TEST(SolverTest, AgreesWithAnExhaustiveSearchAndItsSolutionsReplay)
{
    std::mt19937 rng(15);
    int solvable = 0, unsolvable = 0;
    for (int i = 0; i < 300; ++i) {
        const Tableau t = RandomEndgame(rng);
        const Solution s = Solve(t);
        ASSERT_FALSE(s.cancelled);
        ASSERT_EQ(s.solvable, Reference().Solvable(t)) << "position " << i;
        if (s.solvable) {
            EXPECT_TRUE(Replays(t, s.moves)) << "position " << i;
            ++solvable;
        } else {
            EXPECT_TRUE(s.moves.empty());
            ++unsolvable;
        }
    }
    // The sample must hold both answers, or it proves little.
    EXPECT_GT(solvable, 30);
    EXPECT_GT(unsolvable, 30);
}

TEST(SolverTest, TheOnlySolutionGoesThroughTheHoldPlaceAndAJump)
{
    // Red 12 beside the mixed cake, red 11 far away, red's plate at 10. Serving 11 first by
    // a jump strands 12; only holding 12, then jumping onto 11 (12 follows) solves it.
    const std::vector<testing::Cake> cakes = {{0, 0, M, 1}, {1, 0, R, 12}, {5, 5, R, 11}};
    const Solution one = Solve(Position(cakes, {0, 10, 12, 12, 12}, {}, 1));
    EXPECT_TRUE(one.solvable);
    EXPECT_EQ(one.moves, (std::vector<Move>{{{0, 0}, {1, 0}}, {{1, 0}, {5, 5}}}));
    const Solution none = Solve(Position(cakes, {0, 10, 12, 12, 12}, {}, 0));
    EXPECT_FALSE(none.solvable);
    EXPECT_FALSE(none.cancelled);
    EXPECT_TRUE(none.moves.empty());
}

TEST(SolverTest, ADealIsSolvedWithDropsTheRulesAccept)
{
    Tableau t;
    Random rng(3);
    DealTableau(t, rng);
    const Solution s = Solve(t);
    ASSERT_TRUE(s.solvable);
    EXPECT_EQ(s.moves.size(), 48u) << "every move takes one coloured cake";
    EXPECT_TRUE(Replays(t, s.moves));
    EXPECT_GT(s.positions, 0u);
}

TEST(SolverTest, LimitsStopTheSearchWithoutAnAnswer)
{
    Tableau t;
    Random rng(0);
    DealTableau(t, rng);
    const Solution few = Solve(t, {nullptr, 1});
    EXPECT_TRUE(few.cancelled);
    EXPECT_FALSE(few.solvable);
    EXPECT_TRUE(few.moves.empty());

    const std::atomic<bool> cancel{true};
    const Solution stopped = Solve(t, {&cancel, 0});
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.solvable);
}

} // namespace
} // namespace torvella
