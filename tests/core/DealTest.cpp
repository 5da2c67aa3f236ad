// The generator, the deal and the colour tables: exact numbers, because game numbers and
// colours must never drift.
#include "GameFixture.h"

#include "core/Colours.h"
#include "core/Deal.h"
#include "core/NullView.h"
#include "core/Random.h"

#include <gtest/gtest.h>

#include <set>

namespace torvella {
namespace {

using testing::kDealOfState0;
using testing::kStateAfterDealOf0;

TEST(RandomTest, FirstDrawsFromStateZeroSwapPositionsZeroAndOneThenFortyTwoAndNine)
{
    Random rng(0);
    EXPECT_EQ(rng.Next(49), 0u);
    EXPECT_EQ(rng.State(), 1u);
    EXPECT_EQ(rng.Next(49), 1u);
    EXPECT_EQ(rng.State(), 134775814u);
    EXPECT_EQ(rng.Next(49), 42u);
    EXPECT_EQ(rng.Next(49), 9u);
}

TEST(RandomTest, TakesTheHigh32BitsOfTheFullProductAtLargeStates)
{
    // 0xFFFFFFFF * 134775813 + 1 wraps to 4160191484; 4160191484 * 49 needs 38 bits.
    Random rng(0xFFFFFFFFu);
    EXPECT_EQ(rng.Next(49), 47u);
    EXPECT_EQ(rng.State(), 4160191484u);
    rng.SetState(0xFFFFFFFFu);
    EXPECT_EQ(rng.Next(0xFFFFFFFFu), 4160191483u);
    rng.SetState(0xFFFFFFFFu);
    EXPECT_EQ(rng.Next(1), 0u);
}

TEST(DealTest, StateZeroDealsThePinnedLayoutAndConsumes20002Numbers)
{
    Tableau t;
    Random rng(0);
    DealTableau(t, rng);
    for (int i = 0; i < kCells; ++i) {
        EXPECT_EQ(t.CellColour[i], kDealOfState0[i].first) << "cell " << i;
        EXPECT_EQ(t.CellSlices[i], kDealOfState0[i].second) << "cell " << i;
    }
    EXPECT_EQ(rng.State(), kStateAfterDealOf0);

    Random stepper(0);
    for (int i = 0; i < 2 * kShuffleSwaps; ++i)
        stepper.Next(49);
    EXPECT_EQ(stepper.State(), kStateAfterDealOf0);
}

TEST(DealTest, EveryDealHoldsEachCakeOnceAndResetsTheGame)
{
    for (uint32_t state : {0u, 1u, 2024u, 0x80000000u, 0xFFFFFFFFu}) {
        NullView view;
        Game game(view);
        // Leftovers of a finished game that the deal must clear.
        Tableau& t = GameProbe::Board(game);
        t.PlateSlices = {0, 12, 12, 3, 12};
        t.HoldSlices = {0, 0, 0, 9, 0};
        t.JumpsLeft = 0;
        t.Score = -1234;
        GameProbe::Ticks(game).SecondTicks = 7;
        GameProbe::Ticks(game).FlashStep = 11;
        GameProbe::SetPhase(game, GamePhase::Solved);
        GameProbe::Lifted(game).Dragging = true;
        game.Seed(state);
        game.Deal();

        std::multiset<int> codes;
        for (int i = 0; i < kCells; ++i)
            codes.insert(t.CellSlices[i] * 16 + t.CellColour[i]);
        std::multiset<int> expected{16};
        for (int s = 1; s <= 12; ++s)
            for (int c = 1; c <= 4; ++c)
                expected.insert(s * 16 + c);
        EXPECT_EQ(codes, expected) << "state " << state;

        EXPECT_EQ(t.PlateSlices, (testing::Side{0, 0, 0, 0, 0}));
        EXPECT_EQ(t.HoldSlices, (testing::Side{0, 0, 0, 0, 0}));
        EXPECT_EQ(t.JumpsLeft, 3);
        EXPECT_EQ(t.Score, 0);
        EXPECT_EQ(game.Ticks().SecondTicks, 0);
        EXPECT_EQ(game.Phase(), GamePhase::Dealt);
        EXPECT_FALSE(game.Lifted().Dragging);
        EXPECT_EQ(game.Ticks().FlashStep, 11) << "a deal does not reset the pulse step";
        EXPECT_EQ(game.DealSeed(), state);
    }
}

class SameTableauTest : public testing::GameFixture {};

TEST_F(SameTableauTest, SameTableauAgainRepeatsTheLayoutAndKeepsTheSequence)
{
    // The fixture dealt state 0; play on with a move and state changes, then ask again.
    const Tableau first = T();
    const uint32_t afterFirst = game.GeneratorState();
    ASSERT_EQ(Drop(0, 4, 0, 5), DropResult::Moved);  // yellow 10 onto green 1
    T().HoldSlices[3] = 8;
    T().JumpsLeft = 1;
    T().Score = 999;
    GameProbe::Rng(game).Next(49);
    ASSERT_TRUE(game.AgainBtnClick());

    EXPECT_EQ(T().CellColour, first.CellColour);
    EXPECT_EQ(T().CellSlices, first.CellSlices);
    EXPECT_EQ(T().PlateSlices, (testing::Side{}));
    EXPECT_EQ(T().HoldSlices, (testing::Side{}));
    EXPECT_EQ(T().JumpsLeft, 3);
    EXPECT_EQ(T().Score, 0);
    EXPECT_EQ(game.DealSeed(), 0u);
    EXPECT_EQ(game.GeneratorState(), afterFirst);

    // The next new tableau is the one a new deal right after the first would have given.
    Tableau expected;
    Random fresh(afterFirst);
    DealTableau(expected, fresh);
    ASSERT_TRUE(game.StartBtnClick());
    EXPECT_EQ(T().CellColour, expected.CellColour);
    EXPECT_EQ(T().CellSlices, expected.CellSlices);
    EXPECT_EQ(game.DealSeed(), afterFirst);
}

TEST(ColourTest, TableMatchesTheWorkedExamples)
{
    const auto& table = ColourTable();
    EXPECT_EQ(table[1][1], 0x0000B3u);
    EXPECT_EQ(table[1][5], 232u);
    EXPECT_EQ(table[4][13], 0x003A3Au);  // blue 0, green and red 58
    EXPECT_EQ(table[3][11], 152u << 16);  // blue 152, green and red 0
    EXPECT_EQ(table[2][2], 0x00C000u);
    EXPECT_EQ(table[3][16], 96u << 16);   // 192 * 0.5 exactly
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(table[c][15], 0u) << "shade 15 of colour " << c << " is black";
}

TEST(ColourTest, TwelveSlicesOfRedRunThroughTheShadeFactors)
{
    const uint32_t expected[12] = {0xB3, 0xC0, 0xCD, 0xDB, 0xE8, 0xDB, 0xCD, 0xC0, 0xB3, 0xA5, 0x98, 0xA5};
    for (int q = 1; q <= 12; ++q) {
        EXPECT_EQ(ColourTable()[1][q], expected[q - 1]) << "shade " << q;
        // Yellow carries the same byte in green and red.
        EXPECT_EQ(ColourTable()[4][q], expected[q - 1] * 0x0101u) << "shade " << q;
    }
}

TEST(ColourTest, PulseColoursAreSixteenGreysUpAndDown)
{
    const uint32_t levels[16] = {0x3F, 0x4F, 0x5F, 0x6F, 0x7F, 0x8F, 0x9F, 0xAF,
                                 0xBF, 0xAF, 0x9F, 0x8F, 0x7F, 0x6F, 0x5F, 0x4F};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(PulseColours()[i], levels[i] * 0x010101u) << "step " << i;
}

} // namespace
} // namespace torvella
