// The rules of a move: which drops are legal, where the target goes, points, sounds, jumps,
// the order in which the player sees and hears each step, solved, dead end and undo.
#include "GameFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace torvella {
namespace {

using testing::Cake;
using testing::GameFixture;
using testing::Side;
using Log = std::vector<std::string>;

constexpr int R = 1, G = 2, B = 3, Y = 4, M = kMixedCake;

// Two yellow cakes in the top right corner keep a move available in every case below, so
// that no case ends in a dead end by accident.
const std::vector<Cake> kKeepAlive = {{6, 0, Y, 1}, {6, 1, Y, 2}};

struct DropCase {
    const char* name;
    std::vector<Cake> cakes;
    Side plates, holds;
    int jumps;
    int fromCol, fromRow, toCol, toRow;
    DropResult result;
    std::vector<int> sounds;
    int score;
    int jumpsAfter;
    Side platesAfter, holdsAfter;
    int landCol = -1, landRow = -1;  // where the moved cake stands afterwards
};
void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }

const DropCase kDropCases[] = {
    {"own cell", {{3, 3, R, 1}, {3, 4, G, 1}}, {}, {}, 3, 3, 3, 3, 3,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    {"empty neighbour", {{3, 3, R, 1}}, {}, {}, 3, 3, 3, 3, 4,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    {"onto the mixed cake", {{3, 3, R, 1}, {3, 4, M, 1}}, {}, {}, 3, 3, 3, 3, 4,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    {"diagonal", {{3, 3, R, 1}, {4, 4, G, 1}}, {}, {}, 3, 3, 3, 4, 4,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    {"two cells away", {{3, 3, R, 1}, {3, 5, G, 1}}, {}, {}, 3, 3, 3, 3, 5,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    {"off the tableau to the right", {{6, 3, R, 1}}, {}, {}, 3, 6, 3, 7, 3,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    // Cell -1's centre lies less than a CellSize left of column 0's hit square: column 0.
    {"left of column 0 maps to column 0", {{1, 3, R, 9}, {0, 3, G, 1}}, {}, {}, 3, 1, 3, -1, 3,
     DropResult::Moved, {3}, 45, 3, {0, 0, 1, 0, 0}, {}, 0, 3},
    {"two cells left is off", {{1, 3, R, 9}, {0, 3, G, 1}}, {}, {}, 3, 1, 3, -2, 3,
     DropResult::Refused, {6}, 0, 3, {}, {}},
    {"press on an empty cell", {}, {}, {}, 3, 3, 3, 3, 4,
     DropResult::Ignored, {}, 0, 3, {}, {}},
    {"press off the tableau", {{0, 0, R, 1}}, {}, {}, 3, -2, 0, 0, 1,
     DropResult::Ignored, {}, 0, 3, {}, {}},
    {"into the hold place", {{3, 3, G, 9}, {3, 4, R, 5}}, {0, 2, 0, 0, 0}, {}, 3, 3, 3, 3, 4,
     DropResult::Moved, {2}, 0, 3, {0, 2, 0, 0, 0}, {0, 5, 0, 0, 0}, 3, 4},
    {"served, then the waiting cake follows", {{3, 3, G, 9}, {3, 4, R, 4}}, {0, 3, 0, 0, 0},
     {0, 5, 0, 0, 0}, 3, 3, 3, 3, 4,
     DropResult::Moved, {3, 3}, 80, 3, {0, 5, 0, 0, 0}, {}, 3, 4},
    {"hold place taken", {{3, 3, G, 9}, {3, 4, R, 7}}, {0, 2, 0, 0, 0}, {0, 5, 0, 0, 0}, 3, 3, 3, 3, 4,
     DropResult::Refused, {6}, 0, 3, {0, 2, 0, 0, 0}, {0, 5, 0, 0, 0}},
    {"twelfth cake", {{3, 3, G, 9}, {3, 4, R, 12}}, {0, 11, 0, 0, 0}, {}, 3, 3, 3, 3, 4,
     DropResult::Moved, {3, 3}, 180, 3, {0, 12, 0, 0, 0}, {}, 3, 4},
    {"twelfth cake follows from the hold place", {{3, 3, G, 9}, {3, 4, R, 11}}, {0, 10, 0, 0, 0},
     {0, 12, 0, 0, 0}, 3, 3, 3, 3, 4,
     DropResult::Moved, {3, 3, 3}, 215, 3, {0, 12, 0, 0, 0}, {}, 3, 4},
    {"mixed cake to a neighbour costs no jump", {{3, 3, M, 1}, {3, 4, R, 1}}, {}, {}, 3, 3, 3, 3, 4,
     DropResult::Moved, {3}, 45, 3, {0, 1, 0, 0, 0}, {}, 3, 4},
    {"jump with one left", {{0, 0, M, 1}, {5, 5, R, 1}}, {}, {}, 1, 0, 0, 5, 5,
     DropResult::Moved, {3, 4}, 45 - 370, 0, {0, 1, 0, 0, 0}, {}, 5, 5},
    {"jump into the hold place", {{0, 0, M, 1}, {4, 5, R, 6}}, {}, {}, 1, 0, 0, 4, 5,
     DropResult::Moved, {2, 4}, -370, 0, {}, {0, 6, 0, 0, 0}, 4, 5},
    {"jump with none left", {{0, 0, M, 1}, {5, 5, R, 1}}, {}, {}, 0, 0, 0, 5, 5,
     DropResult::Refused, {6}, 0, 0, {}, {}},
    {"far drop onto a cake that can go nowhere", {{0, 0, M, 1}, {5, 5, R, 7}}, {}, {0, 5, 0, 0, 0}, 1,
     0, 0, 5, 5, DropResult::Refused, {6}, 0, 1, {}, {0, 5, 0, 0, 0}},
    {"diagonal mixed cake is a jump", {{3, 3, M, 1}, {4, 4, R, 1}}, {}, {}, 3, 3, 3, 4, 4,
     DropResult::Moved, {3, 4}, 45 - 370, 2, {0, 1, 0, 0, 0}, {}, 4, 4},
    {"mixed cake jump onto empty cell", {{3, 3, M, 1}}, {}, {}, 3, 3, 3, 5, 5,
     DropResult::Refused, {6}, 0, 3, {}, {}},
};

class DropTest : public GameFixture, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropTest, FollowsTheRules)
{
    const DropCase& c = GetParam();
    std::vector<Cake> cakes = kKeepAlive;
    cakes.insert(cakes.end(), c.cakes.begin(), c.cakes.end());
    Lay(cakes, c.plates, c.holds, c.jumps);
    const Tableau before = T();
    const Tableau undoBefore = GameProbe::Undo(game);

    EXPECT_EQ(Drop(c.fromCol, c.fromRow, c.toCol, c.toRow), c.result);

    std::vector<int> sounds;
    for (const auto& line : view.Only({"sound "}))
        sounds.push_back(std::stoi(line.substr(6)));
    EXPECT_EQ(sounds, c.sounds);
    EXPECT_EQ(T().Score, c.score);
    EXPECT_EQ(T().JumpsLeft, c.jumpsAfter);
    EXPECT_EQ(T().PlateSlices, c.platesAfter);
    EXPECT_EQ(T().HoldSlices, c.holdsAfter);
    EXPECT_FALSE(game.Lifted().Dragging);

    if (c.result == DropResult::Moved) {
        EXPECT_EQ(game.Phase(), GamePhase::Playing);
        EXPECT_EQ(T().Colour(c.landCol, c.landRow), before.Colour(c.fromCol, c.fromRow));
        EXPECT_EQ(T().Slices(c.landCol, c.landRow), before.Slices(c.fromCol, c.fromRow));
        EXPECT_EQ(T().Slices(c.fromCol, c.fromRow), 0);
        EXPECT_EQ(T().Colour(c.fromCol, c.fromRow), kEmpty);
        EXPECT_TRUE(game.Enabled(Button::OOps));
        EXPECT_TRUE(game.Enabled(Button::Pause));
        EXPECT_TRUE(game.Enabled(Button::Again));
    } else {
        // Nothing changes: cells, phase, no undo record, no button.
        EXPECT_EQ(T().CellColour, before.CellColour);
        EXPECT_EQ(T().CellSlices, before.CellSlices);
        EXPECT_EQ(game.Phase(), GamePhase::Dealt);
        EXPECT_EQ(GameProbe::Undo(game), undoBefore);
        EXPECT_TRUE(view.Only({"button"}).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, DropTest, ::testing::ValuesIn(kDropCases), testing::CaseName());

class MoveOrderTest : public GameFixture {};

TEST_F(MoveOrderTest, PressEmptiesTheCellThenDrawsTheLiftedCake)
{
    Lay({{2, 1, G, 9}});
    const Point p = game.Layout().CellCentre(2, 1);
    ASSERT_TRUE(Press(p.x + 5, p.y - 3));
    EXPECT_EQ(view.Take(), (Log{"empty 2 1", "lift 221 91 2 9"}));
    EXPECT_FALSE(Press(p.x, p.y)) << "a second press while dragging does nothing";
    MoveTo(300, 300);
    EXPECT_EQ(view.Take(), (Log{"unlift 221 91", "lift 300 300 2 9"}));
}

TEST_F(MoveOrderTest, ServeFollowAndCompleteInTheirOrder)
{
    Lay({{3, 3, G, 9}, {3, 4, R, 11}, {0, 0, M, 1}}, {0, 10, 0, 0, 0}, {0, 12, 0, 0, 0});
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    EXPECT_EQ(view.log, (Log{"empty 3 3", "lift 270 202 2 9",
                             "button OOps on", "button Pause on", "button Again on",
                             "slot 1 1 11", "score 45", "sound 3", "delay 500",
                             "score 80", "sound 3", "slot 1 1 12", "slot 0 1 0",
                             "sound 3", "score 215",
                             "unlift 270 202", "cake 3 4 2 9"}));
}

TEST_F(MoveOrderTest, HoldThenRefusalInTheirOrder)
{
    Lay({{3, 3, G, 9}, {3, 4, R, 5}, {4, 4, R, 7}, {0, 0, M, 1}}, {0, 2, 0, 0, 0});
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    EXPECT_EQ(view.Take(), (Log{"empty 3 3", "lift 270 202 2 9",
                                "button OOps on", "button Pause on", "button Again on",
                                "sound 2", "slot 0 1 5", "unlift 270 202", "cake 3 4 2 9"}));
    // Now the red hold place is taken: red 7 can go nowhere.
    ASSERT_EQ(Drop(3, 4, 4, 4), DropResult::Refused);
    EXPECT_EQ(view.Take(), (Log{"empty 3 4", "lift 270 256 2 9", "unlift 270 256", "sound 6",
                                "cake 3 4 2 9"}));
}

TEST_F(MoveOrderTest, JumpCountsDownInTenStepsAfterTheCakeLands)
{
    Lay({{0, 0, M, 1}, {5, 5, R, 3}, {6, 0, Y, 1}, {6, 1, Y, 2}}, {}, {}, 2);
    ASSERT_EQ(Drop(0, 0, 5, 5), DropResult::Moved);
    Log expected{"empty 0 0", "lift 108 40 0 1", "button OOps on", "button Pause on", "button Again on",
                 "sound 2", "slot 0 1 3", "unlift 108 40", "cake 5 5 0 1", "jumps 1", "sound 4"};
    for (int i = 1; i <= 10; ++i) {
        expected.push_back("score " + std::to_string(-37 * i));
        expected.push_back("delay 45");
    }
    EXPECT_EQ(view.log, expected);
}

// The mixed cake walks a snake through all 49 cells, and every cell ahead holds the next
// cake for its plate: red 1, green 1, blue 1, yellow 1, red 2, ... yellow 12.
std::vector<Cake> PerfectSnake(bool swapFirstRed)
{
    std::vector<std::pair<int, int>> path;
    for (int col = 0; col < 7; ++col)
        for (int i = 0; i < 7; ++i)
            path.push_back({col, col % 2 == 0 ? i : 6 - i});
    std::vector<Cake> cakes{{path[0].first, path[0].second, M, 1}};
    for (int k = 0; k < 48; ++k)
        cakes.push_back({path[k + 1].first, path[k + 1].second, k % 4 + 1, k / 4 + 1});
    if (swapFirstRed)  // red 2 comes first and has to wait in the hold place
        std::swap(cakes[1].slices, cakes[5].slices);
    return cakes;
}

class SolveTest : public GameFixture, public ::testing::WithParamInterface<std::pair<bool, int>> {};

TEST_P(SolveTest, ScoresEveryCakeAndEndsWithTheSolvedSequence)
{
    const auto [throughHold, total] = GetParam();
    const std::vector<Cake> cakes = PerfectSnake(throughHold);
    Lay(cakes);
    for (size_t k = 1; k < cakes.size(); ++k) {
        // The snake must keep its own order; the swapped pair changes places on the way.
        ASSERT_EQ(Drop(cakes[k - 1].col, cakes[k - 1].row, cakes[k].col, cakes[k].row), DropResult::Moved)
            << "step " << k;
        if (k < cakes.size() - 1) {
            ASSERT_EQ(game.Phase(), GamePhase::Playing);
            view.log.clear();
        }
    }
    EXPECT_EQ(T().Score, total);
    EXPECT_EQ(game.Phase(), GamePhase::Solved);
    EXPECT_EQ(T().JumpsLeft, 3);

    // The last move serves yellow 12 (45 + 135), then the tableau is solved.
    Log tail;
    const auto& log = view.log;
    const auto first = std::find(log.begin(), log.end(), "sound 1");
    ASSERT_NE(first, log.end());
    tail.assign(first, log.end());
    Log expected{"sound 1"};
    for (int i = 1; i <= 10; ++i) {
        expected.push_back("score " + std::to_string(total - 220 + 22 * i));
        expected.push_back("delay 45");
    }
    expected.insert(expected.end(), {"kind 1 Solved", "highscore " + std::to_string(total) + " enter",
                                     "button Pause off", "button OOps off"});
    EXPECT_EQ(tail, expected);
    EXPECT_TRUE(game.Enabled(Button::Again)) << "the same tableau may be dealt again after the end";
    EXPECT_FALSE(game.PauseBtnClick());
    EXPECT_FALSE(game.OOpsBtnClick());
}

// 48 * 45 + 4 * 135 + 220; a cake that goes through the hold place earns 35 instead of 45.
INSTANTIATE_TEST_SUITE_P(Scoring, SolveTest,
                         ::testing::Values(std::pair{false, 2920}, std::pair{true, 2910}));

// The text in the player's language is the window's (tests/ui, DeadEndText).
TEST_F(MoveOrderTest, NoMoveLeftEndsTheGame)
{
    // Red 1 onto red 2: red 2 waits in the hold place, red 1 is left alone.
    Lay({{3, 3, R, 1}, {3, 4, R, 2}, {0, 0, M, 1}}, {}, {}, 0);
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    EXPECT_EQ(game.Phase(), GamePhase::Ended);
    EXPECT_EQ(view.Only({"sound", "text", "highscore", "button Pause", "button OOps off", "kind"}),
              (Log{"button Pause on", "sound 2", "sound 7", "text 10 Ended dead end", "highscore 0 enter",
                   "button Pause off", "button OOps off"}));
    // Presses still work after the end, but no drop can be legal.
    EXPECT_EQ(Drop(3, 4, 3, 3), DropResult::Refused);
    EXPECT_EQ(game.Phase(), GamePhase::Ended);
}

TEST_F(MoveOrderTest, NoDeadEndWhileTheMixedCakeHasJumps)
{
    Lay({{3, 3, R, 1}, {3, 4, R, 2}, {0, 0, M, 1}}, {}, {}, 1);
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    EXPECT_EQ(game.Phase(), GamePhase::Playing);
    EXPECT_TRUE(view.Only({"sound 7", "text", "highscore"}).empty());
    EXPECT_EQ(CountMovableCells(T()), 1);  // only the mixed cake
}

TEST_F(MoveOrderTest, CanMoveFromLooksAtNeighboursOnly)
{
    // Red 3 next to red 2 with plate 1: servable. Blue 6 next to nothing coloured.
    Lay({{0, 0, R, 3}, {0, 1, R, 2}, {4, 4, B, 6}, {4, 5, M, 1}}, {0, 1, 0, 0, 0}, {0, 9, 0, 7, 0}, 0);
    EXPECT_TRUE(CanMoveFrom(T(), 0, 0));   // red 2 is next for its plate
    EXPECT_FALSE(CanMoveFrom(T(), 0, 1));  // red 3 is not, and red's hold place is taken
    EXPECT_FALSE(CanMoveFrom(T(), 4, 4));  // its only neighbour is the mixed cake
    EXPECT_FALSE(CanMoveFrom(T(), 4, 5));  // no jumps left; blue 6 can go nowhere
    EXPECT_FALSE(CanMoveFrom(T(), 6, 6));  // empty
    T().JumpsLeft = 1;
    EXPECT_TRUE(CanMoveFrom(T(), 4, 5));
}

TEST_F(MoveOrderTest, RightAfterADealEveryCakeWithAColouredNeighbourCanMove)
{
    game.Seed(12345);
    game.Deal();
    T().JumpsLeft = 0;  // so the mixed cake counts by its neighbours too
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row)
            EXPECT_TRUE(CanMoveFrom(T(), col, row)) << col << "," << row;
}

// Undo of a move that served a cake and then the waiting one.
class UndoTest : public GameFixture {
protected:
    void SetUp() override
    {
        Lay({{3, 3, G, 9}, {3, 4, R, 4}, {3, 2, R, 8}, {0, 0, M, 1}}, {0, 3, 0, 0, 0}, {0, 5, 0, 0, 0}, 2);
        T().Score = 100;
        GameProbe::SetPhase(game, GamePhase::Playing);
        before = T();
    }
    void ExpectAsBefore()
    {
        EXPECT_EQ(T().CellColour, before.CellColour);
        EXPECT_EQ(T().CellSlices, before.CellSlices);
        EXPECT_EQ(T().PlateSlices, before.PlateSlices);
        EXPECT_EQ(T().HoldSlices, before.HoldSlices);
        EXPECT_EQ(T().Score, before.Score);
        EXPECT_EQ(T().JumpsLeft, before.JumpsLeft);
        EXPECT_EQ(game.Phase(), GamePhase::Playing);
    }
    Tableau before;
};

TEST_F(UndoTest, RestoresBothPlatesTheHoldPlaceAndTheScore)
{
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    ASSERT_EQ(T().PlateSlices[R], 5);
    ASSERT_EQ(T().Score, 180);
    view.log.clear();
    ASSERT_TRUE(game.OOpsBtnClick());
    ExpectAsBefore();
    EXPECT_EQ(view.log, (Log{"renew", "button OOps off"}));
    EXPECT_FALSE(game.OOpsBtnClick()) << "one step of undo only";
    EXPECT_TRUE(game.Enabled(Button::Pause));
    EXPECT_TRUE(game.Enabled(Button::Again));
}

TEST_F(UndoTest, ARefusedDropBetweenChangesNothing)
{
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    ASSERT_EQ(Drop(3, 4, 3, 3), DropResult::Refused);  // onto the empty source cell
    ASSERT_EQ(Drop(3, 4, 3, 5), DropResult::Refused);  // onto nothing
    ASSERT_TRUE(game.OOpsBtnClick());
    ExpectAsBefore();
}

TEST_F(UndoTest, GivesBackAJumpAndTheSecondsSince)
{
    ASSERT_EQ(Drop(0, 0, 3, 4), DropResult::Moved);  // a jump onto red 4, red 5 follows
    ASSERT_EQ(T().Score, 100 + 45 + 35 - 370);
    ASSERT_EQ(T().JumpsLeft, 1);
    for (int i = 0; i < 25; ++i)
        game.Timer1Timer();
    ASSERT_EQ(T().Score, 100 + 45 + 35 - 370 - 2);
    ASSERT_TRUE(game.OOpsBtnClick());
    ExpectAsBefore();
}

} // namespace
} // namespace torvella
