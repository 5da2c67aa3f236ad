// Hints: when one may be asked for, what it costs and shows, the answer that no solution
// exists, an answer that comes too late, and undo after a paid hint.
#include "GameFixture.h"
#include "core/Solver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvella {
namespace {

using Log = std::vector<std::string>;
constexpr int R = 1, M = kMixedCake;

class HintTest : public testing::GameFixture {
protected:
    // Red 12 beside the mixed cake, red 11 far away, red's plate at 10: the only solution
    // holds 12 first (0,0>1,0), then jumps onto 11.
    void LayKnown(int jumps) { Lay({{0, 0, M, 1}, {1, 0, R, 12}, {5, 5, R, 11}}, {0, 10, 12, 12, 12}, {}, jumps); }

    bool AskAndGive()
    {
        const Tableau asked = game.Position();
        const Solution s = Solve(asked);
        std::optional<Move> first;
        if (s.solvable && !s.moves.empty())
            first = s.moves.front();
        return game.GiveHint(asked, first);
    }
};

TEST_F(HintTest, CostsWhatAJumpCostsThenShowsTheFirstDrop)
{
    LayKnown(1);
    const Tableau before = game.Position();
    ASSERT_TRUE(game.HintPossible());
    ASSERT_TRUE(AskAndGive());
    Log expected{"sound 4"};
    for (int i = 1; i <= 10; ++i) {
        expected.push_back("score " + std::to_string(-37 * i));
        expected.push_back("delay 45");
    }
    expected.push_back("hint 0,0>1,0");
    EXPECT_EQ(view.log, expected);
    EXPECT_EQ(game.Position().Score, -370);
    Tableau unchanged = game.Position();
    unchanged.Score = before.Score;
    EXPECT_EQ(unchanged, before) << "a hint moves nothing and costs no jump";
    EXPECT_EQ(game.Phase(), GamePhase::Dealt);
}

TEST_F(HintTest, NoSolutionIsSaidAndCostsNothing)
{
    LayKnown(0);
    ASSERT_TRUE(AskAndGive());
    EXPECT_EQ(view.log, (Log{"no solution"}));
    EXPECT_EQ(game.Position().Score, 0);
}

TEST_F(HintTest, AnAnswerAboutAnEarlierPositionIsDropped)
{
    LayKnown(1);
    const Tableau asked = game.Position();
    ASSERT_EQ(Drop(0, 0, 1, 0), DropResult::Moved);
    view.log.clear();
    EXPECT_FALSE(game.GiveHint(asked, Move{{0, 0}, {1, 0}}));
    EXPECT_FALSE(game.GiveHint(asked, std::nullopt));
    EXPECT_TRUE(view.log.empty());
    // The clock alone does not make the question stale.
    for (int i = 0; i < 10; ++i)
        game.Timer1Timer();
    view.log.clear();
    EXPECT_TRUE(AskAndGive());
    EXPECT_EQ(view.log.back(), "hint 1,0>5,5");
}

TEST_F(HintTest, TakingBackTheNextMoveKeepsTheHintPaid)
{
    LayKnown(1);
    ASSERT_EQ(Drop(0, 0, 1, 0), DropResult::Moved);  // 12 into the hold place, no points
    ASSERT_TRUE(AskAndGive());
    ASSERT_EQ(game.Position().Score, -370);
    ASSERT_TRUE(game.OOpsBtnClick());
    EXPECT_EQ(game.Position().Score, -370);
    EXPECT_EQ(game.Position().Slices(1, 0), 12);
}

TEST_F(HintTest, OnlyWhileNothingIsLiftedAndAMoveIsPossible)
{
    LayKnown(1);
    const Point p = game.Layout().CellCentre(0, 0);
    ASSERT_TRUE(Press(p.x, p.y));
    EXPECT_FALSE(game.HintPossible());
    EXPECT_FALSE(game.GiveHint(game.Position(), Move{{0, 0}, {1, 0}}));
    Release(p.x, p.y);  // back to its own cell: refused
    for (GamePhase phase : {GamePhase::Solved, GamePhase::Ended, GamePhase::Paused}) {
        GameProbe::SetPhase(game, phase);
        EXPECT_FALSE(game.HintPossible()) << PhaseName(phase);
    }
    for (GamePhase phase : {GamePhase::Dealt, GamePhase::Playing}) {
        GameProbe::SetPhase(game, phase);
        EXPECT_TRUE(game.HintPossible()) << PhaseName(phase);
    }
}

} // namespace
} // namespace torvella
