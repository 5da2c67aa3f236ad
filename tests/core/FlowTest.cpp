// One game from deal to end: the clock, the pulse, the buttons, giving up, pause and close.
#include "GameFixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace torvella {
namespace {

using testing::GameFixture;
using testing::kDealOfState0;
using Log = std::vector<std::string>;

class FlowTest : public GameFixture {
protected:
    // The deal of state 0 has yellow 10 at (0,4) above green 1 at (0,5): a serve for 45.
    void FirstMove()
    {
        ASSERT_EQ(Drop(0, 4, 0, 5), DropResult::Moved);
        ASSERT_EQ(T().Score, 45);
        view.log.clear();
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i)
            game.Timer1Timer();
    }
    void ExpectButtons(bool again, bool oops, bool pause, const char* when)
    {
        SCOPED_TRACE(when);
        EXPECT_TRUE(game.Enabled(Button::Start));
        EXPECT_EQ(game.Enabled(Button::Again), again);
        EXPECT_EQ(game.Enabled(Button::OOps), oops);
        EXPECT_EQ(game.Enabled(Button::Pause), pause);
        EXPECT_TRUE(game.Enabled(Button::HighScore));
    }
};

TEST_F(FlowTest, NoPointIsLostBeforeTheFirstMove)
{
    Tick(1000);
    EXPECT_EQ(T().Score, 0);
    EXPECT_EQ(game.Ticks().SecondTicks, 0);
    EXPECT_TRUE(view.Only({"score"}).empty());
}

TEST_F(FlowTest, TenTicksOfPlayCostOnePoint)
{
    FirstMove();
    Tick(9);
    EXPECT_EQ(T().Score, 45);
    Tick(1);
    EXPECT_EQ(T().Score, 44);
    EXPECT_EQ(view.Only({"score"}), (Log{"score 44"}));
    Tick(25);
    EXPECT_EQ(T().Score, 42);
    EXPECT_EQ(game.Ticks().SecondTicks, 5);
}

TEST_F(FlowTest, APauseOfAnyLengthCostsNothingAndKeepsTheSecondStarted)
{
    FirstMove();
    Tick(5);
    view.log.clear();
    view.whileDialogOpen = [&] { Tick(500); };
    ASSERT_TRUE(game.PauseBtnClick());
    EXPECT_EQ(T().Score, 45);
    EXPECT_TRUE(view.Only({"dot"}).empty()) << "no pulse while paused";
    view.whileDialogOpen = nullptr;
    Tick(5);
    EXPECT_EQ(T().Score, 44) << "the five ticks before the pause still count";
}

TEST_F(FlowTest, PauseShowsTheMessageWhilePausedWhateverTheAnswer)
{
    FirstMove();
    for (Answer answer : {Answer::Yes, Answer::No, Answer::None}) {
        view.answers = {answer};
        ASSERT_TRUE(game.PauseBtnClick());
        EXPECT_EQ(view.Take(), (Log{"repaint Paused", "kind 12 Paused", "repaint Playing"}));
        EXPECT_EQ(game.Phase(), GamePhase::Playing);
    }
}

TEST_F(FlowTest, PauseOnlyWhilePlaying)
{
    EXPECT_FALSE(game.PauseBtnClick()) << "dealt: no move yet";
    FirstMove();
    GameProbe::SetPhase(game, GamePhase::Solved);
    EXPECT_FALSE(game.PauseBtnClick());
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(game.Phase(), GamePhase::Solved);
}

TEST_F(FlowTest, FlashStepCyclesAndTheMusicIsKeptEverySixteenthTickInEveryPhase)
{
    for (GamePhase phase : {GamePhase::Dealt, GamePhase::Playing, GamePhase::Solved, GamePhase::Ended,
                            GamePhase::Paused}) {
        SCOPED_TRACE(PhaseName(phase));
        GameProbe::SetPhase(game, phase);
        GameProbe::SetFlashStep(game, 0);
        std::vector<int> steps;
        std::vector<int> musicAt;
        for (int tick = 1; tick <= 33; ++tick) {
            view.log.clear();
            game.Timer1Timer();
            steps.push_back(game.Ticks().FlashStep);
            if (!view.Only({"music"}).empty()) {
                musicAt.push_back(tick);
                EXPECT_EQ(view.log.back(), "music") << "after the pulse";
            }
            const bool pulses = phase == GamePhase::Dealt || phase == GamePhase::Playing;
            EXPECT_EQ(view.Only({"dot"}).empty(), !pulses);
        }
        EXPECT_EQ(musicAt, (std::vector<int>{16, 32}));
        EXPECT_EQ(steps[0], 1);
        EXPECT_EQ(steps[14], 15);
        EXPECT_EQ(steps[15], 0);
        EXPECT_EQ(steps[16], 1);
    }
}

TEST_F(FlowTest, RightAfterADealTheFourOneSliceCakesPulse)
{
    GameProbe::SetFlashStep(game, 6);
    Tick(1);
    const std::string pulse = std::to_string(PulseColours()[7]);
    Log dots = view.Only({"dot"});
    ASSERT_EQ(dots.size(), 48u) << "every coloured cake gets a dot, the mixed cake none";
    Log pulsing;
    for (const auto& d : dots) {
        if (d.substr(d.rfind(' ') + 1) == pulse)
            pulsing.push_back(d);
        else
            EXPECT_EQ(d.substr(d.rfind(' ') + 1), "0") << d;
    }
    // Column by column: green 1 (0,5), yellow 1 (1,0), blue 1 (4,0), red 1 (5,5).
    EXPECT_EQ(pulsing, (Log{"dot 0 5 " + pulse, "dot 1 0 " + pulse, "dot 4 0 " + pulse, "dot 5 5 " + pulse}));
    EXPECT_EQ(dots.front(), "dot 0 0 0");
}

TEST_F(FlowTest, OnlyCakesThatMayGoOntoTheirPlateNowPulseAndTheLiftedCakeStaysOnTop)
{
    FirstMove();  // green 1 is on its plate: green 2 at (2,6) is next
    const Point p = game.Layout().CellCentre(1, 0);
    ASSERT_TRUE(Press(p.x, p.y));  // lift yellow 1
    view.log.clear();
    GameProbe::SetFlashStep(game, 0);
    Tick(1);
    const std::string pulse = std::to_string(PulseColours()[1]);
    Log pulsing;
    for (const auto& d : view.Only({"dot"}))
        if (d.substr(d.rfind(' ') + 1) == pulse)
            pulsing.push_back(d);
    EXPECT_EQ(pulsing, (Log{"dot 2 6 " + pulse, "dot 4 0 " + pulse, "dot 5 5 " + pulse}));
    EXPECT_EQ(view.log.back(), "lift " + std::to_string(p.x) + " " + std::to_string(p.y) + " 4 1");
}

TEST_F(FlowTest, ButtonsFollowDealMoveUndoAndEnd)
{
    ExpectButtons(false, false, false, "after the deal");
    EXPECT_FALSE(game.OOpsBtnClick());
    EXPECT_FALSE(game.AgainBtnClick());
    EXPECT_TRUE(view.log.empty()) << "a disabled button does nothing";

    FirstMove();
    ExpectButtons(true, true, true, "after a move");
    ASSERT_TRUE(game.OOpsBtnClick());
    ExpectButtons(true, false, true, "after undo");
    EXPECT_EQ(game.Phase(), GamePhase::Playing);
    ASSERT_EQ(Drop(0, 4, 0, 5), DropResult::Moved);
    ExpectButtons(true, true, true, "after the next move");

    // Leave a dead end: one red cake that can go nowhere, and the mixed cake without jumps.
    Lay({{3, 3, 1, 1}, {3, 4, 1, 2}, {0, 0, kMixedCake, 1}}, {}, {}, 0);
    GameProbe::SetPhase(game, GamePhase::Playing);
    ASSERT_EQ(Drop(3, 3, 3, 4), DropResult::Moved);
    ASSERT_EQ(game.Phase(), GamePhase::Ended);
    ExpectButtons(true, false, false, "after the end");

    ASSERT_TRUE(game.AgainBtnClick());
    ExpectButtons(false, false, false, "after the same tableau again");
    view.log.clear();
    ASSERT_TRUE(game.HighScoreBtnClick());
    EXPECT_EQ(view.log, (Log{"highscore 0 view"}));
}

TEST_F(FlowTest, SameTableauAfterASolvedGameStartsAfresh)
{
    FirstMove();
    GameProbe::SetPhase(game, GamePhase::Solved);
    T().Score = 2500;
    T().JumpsLeft = 1;
    T().PlateSlices = {0, 12, 12, 12, 12};
    ASSERT_TRUE(game.AgainBtnClick());
    EXPECT_EQ(view.Only({"kind"}), Log{}) << "no question outside a running game";
    for (int i = 0; i < kCells; ++i) {
        EXPECT_EQ(T().CellColour[i], kDealOfState0[i].first);
        EXPECT_EQ(T().CellSlices[i], kDealOfState0[i].second);
    }
    EXPECT_EQ(T().Score, 0);
    EXPECT_EQ(T().JumpsLeft, 3);
    EXPECT_EQ(game.Phase(), GamePhase::Dealt);
}

struct GiveUpCase {
    bool again;  // the same-tableau button, else the new-tableau button
    Answer answer;
    bool dealt;
};
void PrintTo(const GiveUpCase& c, std::ostream* os)
{
    *os << (c.again ? "AgainBtn" : "StartBtn") << " answer " << ToInt(c.answer);
}

class GiveUpTest : public FlowTest, public ::testing::WithParamInterface<GiveUpCase> {};

TEST_P(GiveUpTest, AsksWhilePlayingAndDealsUnlessTheAnswerIsNo)
{
    const GiveUpCase& c = GetParam();
    FirstMove();
    const Tableau before = T();
    const uint32_t rngBefore = game.GeneratorState();
    view.answers = {c.answer};
    view.whileDialogOpen = [&] { Tick(30); };  // the clock runs while the question shows

    EXPECT_EQ(c.again ? game.AgainBtnClick() : game.StartBtnClick(), c.dealt);
    if (!c.dealt) {
        EXPECT_EQ(view.Only({"kind", "repaint", "button", "renew"}), (Log{"kind 4 Playing"}));
        EXPECT_EQ(game.Phase(), GamePhase::Playing);
        EXPECT_EQ(T().CellColour, before.CellColour);
        EXPECT_EQ(T().CellSlices, before.CellSlices);
        EXPECT_EQ(T().PlateSlices, before.PlateSlices);
        EXPECT_EQ(T().Score, before.Score - 3) << "only the seconds of the question";
        EXPECT_EQ(game.GeneratorState(), rngBefore);
        ExpectButtons(true, true, true, "after No");
        return;
    }
    EXPECT_EQ(view.Only({"kind", "repaint", "button", "renew"}),
              (Log{"kind 4 Playing", "repaint Playing", "button Pause off", "button Again off",
                   "button OOps off", "renew"}));
    EXPECT_EQ(game.Phase(), GamePhase::Dealt);
    EXPECT_EQ(T().Score, 0);
    Tableau expected;
    Random rng(c.again ? 0 : rngBefore);
    DealTableau(expected, rng);
    EXPECT_EQ(T().CellColour, expected.CellColour);
    EXPECT_EQ(T().CellSlices, expected.CellSlices);
}

INSTANTIATE_TEST_SUITE_P(Answers, GiveUpTest,
                         ::testing::Values(GiveUpCase{false, Answer::No, false}, GiveUpCase{false, Answer::Yes, true},
                                           GiveUpCase{false, Answer{2}, true}, GiveUpCase{true, Answer::No, false},
                                           GiveUpCase{true, Answer::Yes, true}, GiveUpCase{true, Answer::None, true}));

TEST_F(FlowTest, NewTableauOutsideARunningGameAsksNothing)
{
    ASSERT_TRUE(game.StartBtnClick());
    EXPECT_EQ(view.log, (Log{"button Pause off", "button Again off", "button OOps off", "renew"}));
    EXPECT_EQ(game.DealSeed(), testing::kStateAfterDealOf0);
}

struct CloseCase {
    GamePhase phase;
    Answer answer;
    int kind;
    bool closes;
    GamePhase after;
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << PhaseName(c.phase) << " answer " << ToInt(c.answer); }

class CloseTest : public FlowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, AsksAndEndsARunningGameOnlyOnYes)
{
    const CloseCase& c = GetParam();
    GameProbe::SetPhase(game, c.phase);
    view.answers = {c.answer};
    EXPECT_EQ(game.CloseQuery(), c.closes);
    EXPECT_EQ(view.log, (Log{"kind " + std::to_string(c.kind) + " " + PhaseName(c.phase),
                             std::string("repaint ") + PhaseName(c.phase)}));
    EXPECT_EQ(game.Phase(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, CloseTest,
    ::testing::Values(CloseCase{GamePhase::Playing, Answer::Yes, 4, true, GamePhase::Ended},
                      CloseCase{GamePhase::Playing, Answer::No, 4, false, GamePhase::Playing},
                      CloseCase{GamePhase::Playing, Answer{2}, 4, false, GamePhase::Playing},
                      CloseCase{GamePhase::Dealt, Answer::Yes, 3, true, GamePhase::Dealt},
                      CloseCase{GamePhase::Dealt, Answer::No, 3, false, GamePhase::Dealt},
                      CloseCase{GamePhase::Solved, Answer::Yes, 3, true, GamePhase::Solved},
                      CloseCase{GamePhase::Ended, Answer::Yes, 3, true, GamePhase::Ended}));

} // namespace
} // namespace torvella
