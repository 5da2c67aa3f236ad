// The record of a game: a game rebuilt from it is the same game after every event, its text
// reads back as written (and bad text is refused with a reason), a journal of the events as
// they were heard is the record, and each way a game ends is told once with its tallies.
#include "AnswerScript.h"
#include "GameFixture.h"

#include "core/NullView.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace torvella {
namespace {

using testing::GameFixture;

// Answers questions from a script and draws nothing.
class ScriptedView : public NullView, public testing::AnswerScript {
public:
    Answer ShowKind(MessageKind) override { return NextAnswer(); }
    Answer ShowDeadEnd() override { return NextAnswer(); }
    void ShowHighscore(int32_t, bool) override { NextAnswer(); }
};

// Writes down what a journal keeper hears.
class Journal : public GameListener {
public:
    std::string lines;
    std::vector<GameEnd> ends;
    void EventRecorded(const GameEvent& e) override { lines += FormatEvent(e) + '\n'; }
    void GameEnded(const GameEnd& end) override { ends.push_back(end); }
};

std::vector<Move> LegalMoves(const Tableau& t)
{
    std::vector<Move> moves;
    for (int from = 0; from < kCells; ++from)
        for (int to = 0; to < kCells; ++to) {
            const Move m{{from / kRows, from % kRows}, {to / kRows, to % kRows}};
            if (JudgeDrop(t, m).legal)
                moves.push_back(m);
        }
    return moves;
}

void ExpectSameGame(const Game& a, const Game& b)
{
    EXPECT_EQ(a.Position(), b.Position());
    EXPECT_EQ(GameProbe::Undo(a), GameProbe::Undo(b));
    EXPECT_EQ(GameProbe::ChargedSinceMove(a), GameProbe::ChargedSinceMove(b));
    EXPECT_EQ(a.Phase(), b.Phase());
    EXPECT_EQ(a.Ticks(), b.Ticks());
    EXPECT_EQ(a.DealSeed(), b.DealSeed());
    EXPECT_EQ(a.GeneratorState(), b.GeneratorState());
    for (int i = 0; i < kButtons; ++i)
        EXPECT_EQ(a.Enabled(static_cast<Button>(i)), b.Enabled(static_cast<Button>(i))) << i;
    EXPECT_EQ(a.Tallies(), b.Tallies());
    EXPECT_EQ(a.Record(), b.Record());
    EXPECT_FALSE(b.Lifted().Dragging);
}

// A hundred games of random events, dialogs ticking while they show: after every event the
// game rebuilt from its record is the same game, and at the end of each the record's text
// reads back as the record and equals what a journal heard line by line.
TEST(GameRecord, RebuildsTheSameGameAfterEveryEventOfAHundredRandomGames)
{
    for (uint32_t seed = 0; seed < 100; ++seed) {
        SCOPED_TRACE("game " + std::to_string(seed));
        std::mt19937 rnd(seed);
        const auto chance = [&](int percent) { return static_cast<int>(rnd() % 100) < percent; };
        ScriptedView view;
        Game game(view);
        Journal journal;
        game.SetListener(&journal);
        game.Seed(seed * 2654435761u);
        game.Deal();
        view.whileDialogOpen = [&] {
            for (uint32_t i = rnd() % 12; i > 0; --i)
                game.Timer1Timer();
        };
        const auto answer = [&] { view.answers = {chance(50) ? Answer::Yes : Answer::No}; };

        for (int event = 0; event < 120; ++event) {
            const int roll = static_cast<int>(rnd() % 100);
            const std::vector<Move> legal = LegalMoves(game.Position());
            if (roll < 45 && !legal.empty()) {
                const Move m = legal[rnd() % legal.size()];
                game.LiftAt(m.from);
                if (chance(20)) {  // the clock runs while the cake is up
                    game.TimerTicks(rnd() % 30);
                    game.CarryOver({static_cast<int>(rnd() % 9) - 1, 3});
                }
                game.DropOn(m.to);
            } else if (roll < 55) {  // anything, mostly refused
                game.LiftAt({static_cast<int>(rnd() % 9) - 1, static_cast<int>(rnd() % 7)});
                game.DropOn({static_cast<int>(rnd() % 9) - 1, static_cast<int>(rnd() % 7)});
            } else if (roll < 63) {
                game.OOpsBtnClick();
            } else if (roll < 68) {
                game.GiveHint(game.Position(), legal.empty() ? std::nullopt : std::optional<Move>(legal.front()));
            } else if (roll < 73) {
                game.PauseBtnClick();
            } else if (roll < 93) {
                if (chance(50))
                    game.Timer1Timer();
                else
                    game.TimerTicks(rnd() % 400);
            } else if (roll < 97) {
                answer();
                chance(50) ? game.StartBtnClick() : game.AgainBtnClick();
            } else {
                answer();
                game.CloseQuery();
            }

            NullView quiet;
            Game rebuilt(quiet);
            ASSERT_EQ(rebuilt.Restore(game.Record()), std::nullopt) << FormatRecord(game.Record());
            SCOPED_TRACE("after event " + std::to_string(event) + "\n" + FormatRecord(game.Record()));
            ExpectSameGame(game, rebuilt);
            if (HasFailure())
                return;
        }

        std::string error;
        const auto parsed = ParseRecord(FormatRecord(game.Record()), error);
        ASSERT_TRUE(parsed) << error;
        EXPECT_EQ(*parsed, game.Record());
        // The journal holds every game of the run; the last deal starts this record.
        const std::string& heard = journal.lines;
        const auto journalled = ParseRecord(heard.substr(heard.rfind("deal ")), error);
        ASSERT_TRUE(journalled) << error;
        EXPECT_EQ(*journalled, game.Record());
    }
}

TEST(GameRecord, TextHasOneEventPerLineAndJoinsTicks)
{
    GameRecord r{387989222, 3, {}};
    for (const GameEvent& e :
         {GameEvent{.kind = EventKind::Move, .move = {{3, 3}, {3, 4}}}, GameEvent{.kind = EventKind::Ticks, .count = 1},
          GameEvent{.kind = EventKind::Ticks, .count = 24},
          GameEvent{.kind = EventKind::Refused, .move = {{3, 4}, kOffTableau}}, GameEvent{.kind = EventKind::Undo},
          GameEvent{.kind = EventKind::Hint, .move = {{0, 0}, {1, 0}}, .charge = 370},
          GameEvent{.kind = EventKind::Pause}, GameEvent{.kind = EventKind::Resume},
          GameEvent{.kind = EventKind::GiveUp, .end = EndKind::SameTableau}})
        r.Add(e);
    const std::string text = "deal 387989222 pulse 3\n"
                             "move 3,3>3,4\n"
                             "ticks 25\n"
                             "refused 3,4>-1,-1\n"
                             "undo\n"
                             "hint 0,0>1,0 370\n"
                             "pause\n"
                             "resume\n"
                             "giveup again\n";
    EXPECT_EQ(FormatRecord(r), text);
    std::string error;
    EXPECT_EQ(ParseRecord(text, error), r) << error;
    // A journal that wrote each tick on its own line reads as the same record.
    EXPECT_EQ(ParseRecord("deal 387989222 pulse 3\nmove 3,3>3,4\nticks 1\nticks 4\nticks 20\nrefused "
                          "3,4>-1,-1\nundo\nhint 0,0>1,0 370\npause\nresume\ngiveup again",
                          error),
              r)
        << error;
}

TEST(GameRecord, BadTextIsRefusedWithItsReason)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"", "an empty record"},
        {"move 1,1>1,2\n", "line 1: a record starts with its deal"},
        {"deal 5 pulse 0\ndeal 6 pulse 0\n", "line 2: a second deal"},
        {"deal five pulse 0\n", "line 1: deal: expected 'deal STATE pulse STEP'"},
        {"deal 4294967296 pulse 0\n", "line 1: deal: expected"},
        {"deal 5 pulse 16\n", "line 1: deal: the pulse step runs from 0 to 15"},
        {"deal 5 pulse 0\n\nundo\n", "line 2: unknown event ''"},
        {"deal 5 pulse 0\nundo\r\n", "line 2: unknown event 'undo\r'"},
        {"deal 5 pulse 0\njump 1,1>1,2\n", "line 2: unknown event 'jump'"},
        {"deal 5 pulse 0\nmove 1,1-1,2\n", "line 2: move: expected a drop"},
        {"deal 5 pulse 0\nmove 7,0>6,0\n", "line 2: move: a cell off the tableau"},
        {"deal 5 pulse 0\nmove 1,1>-1,-1\n", "line 2: move: a cell off the tableau"},
        {"deal 5 pulse 0\nrefused 1,1>9,9\n", "line 2: refused: a cell off the tableau"},
        {"deal 5 pulse 0\nhint 1,1>1,2\n", "line 2: hint: expected a charge"},
        {"deal 5 pulse 0\nhint 1,1>1,2 -370\n", "line 2: hint: expected a charge"},
        {"deal 5 pulse 0\nticks 0\n", "line 2: ticks: expected a count of 1 or more"},
        {"deal 5 pulse 0\nticks +3\n", "line 2: ticks: expected a count"},
        {"deal 5 pulse 0\ngiveup solved\n", "line 2: giveup: expected new, again or leave"},
        {"deal 5 pulse 0\nundo now\n", "line 2: undo: unexpected text at the end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        EXPECT_FALSE(ParseRecord(c.text, error));
        EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
    }
}

class RestoreTest : public GameFixture {};

TEST_F(RestoreTest, EventsTheGameDoesNotAllowAreRefusedAndTheGameStaysAsItWas)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    // The deal of state 0: yellow 10 at (0,4) onto green 1 at (0,5) is legal; (0,3) onto
    // (0,4) is not (yellow 10 can go nowhere once yellow's hold place is taken).
    const Case cases[] = {
        {"deal 0 pulse 0\nmove 0,0>6,6\n", "event 1 (move 0,0>6,6): the rules do not allow this move"},
        {"deal 0 pulse 0\nrefused 0,4>0,5\n", "event 1 (refused 0,4>0,5): this drop was not refused"},
        {"deal 0 pulse 0\nundo\n", "event 1 (undo): nothing to take back"},
        {"deal 0 pulse 0\npause\n", "event 1 (pause): the game is not running"},
        {"deal 0 pulse 0\nmove 0,4>0,5\nresume\n", "event 2 (resume): the game is not paused"},
        {"deal 0 pulse 0\ngiveup new\n", "event 1 (giveup new): the game is not running"},
        {"deal 0 pulse 0\nmove 0,4>0,5\nundo\nundo\n", "event 3 (undo): nothing to take back"},
    };
    ASSERT_EQ(Drop(0, 4, 0, 5), DropResult::Moved);
    const Tableau before = game.Position();
    const GameRecord recordBefore = game.Record();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto record = ParseRecord(c.text, error);
        ASSERT_TRUE(record) << error;
        view.log.clear();
        EXPECT_EQ(game.Restore(*record), std::optional<std::string>(c.reason));
        EXPECT_TRUE(view.log.empty());
        EXPECT_EQ(game.Position(), before);
        EXPECT_EQ(game.Record(), recordBefore);
    }
}

TEST_F(RestoreTest, RenewsTheViewOnceWithTheButtonsAndDropsALiftedCake)
{
    std::string error;
    const auto record = ParseRecord("deal 0 pulse 0\nmove 0,4>0,5\nticks 12\nhint 0,3>0,4 370\n", error);
    ASSERT_TRUE(record) << error;
    ASSERT_TRUE(Press(game.Layout().CellCentre(2, 2).x, game.Layout().CellCentre(2, 2).y));
    view.log.clear();
    ASSERT_EQ(game.Restore(*record), std::nullopt);
    EXPECT_EQ(view.log, (std::vector<std::string>{"unlift 216 148", "button Start on", "button Again on",
                                                 "button OOps on", "button Pause on", "button HighScore on",
                                                 "renew"}));
    EXPECT_EQ(game.Position().Score, 45 - 1 - 370);
    EXPECT_EQ(game.Ticks().SecondTicks, 2);
    EXPECT_EQ(game.Phase(), GamePhase::Playing);
    // The hint stays paid when the move is taken back.
    ASSERT_TRUE(game.OOpsBtnClick());
    EXPECT_EQ(game.Position().Score, -370);
}

// Each case plays from the deal of state 0 and names the ends it must hear.
struct EndCase {
    const char* name;
    std::function<void()> play;
    std::vector<EndKind> ends;
};

class EndTest : public GameFixture {
protected:
    Journal journal;
    EndTest() { game.SetListener(&journal); }
};

TEST_F(EndTest, EachWayAGameEndsIsToldOnceWithItsTallies)
{
    using K = EndKind;
    const auto moveAndTick = [this] {
        Drop(0, 4, 0, 5);
        game.TimerTicks(25);
    };
    const EndCase cases[] = {
        {"new tableau while playing", [&] { moveAndTick(); game.StartBtnClick(); }, {K::NewTableau}},
        {"same tableau while playing", [&] { moveAndTick(); game.AgainBtnClick(); }, {K::SameTableau}},
        {"leaving while playing", [&] { moveAndTick(); game.CloseQuery(); }, {K::Left}},
        {"new tableau answered No",
         [&] {
             moveAndTick();
             view.answers = {Answer::No};
             game.StartBtnClick();
         },
         {}},
        {"new tableau before the first move", [&] { game.StartBtnClick(); }, {}},
        {"leaving before the first move", [&] { game.CloseQuery(); }, {}},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        game.Seed(0);
        game.Deal();
        journal.ends.clear();
        c.play();
        std::vector<K> kinds;
        for (const GameEnd& e : journal.ends)
            kinds.push_back(e.kind);
        EXPECT_EQ(kinds, c.ends);
        if (!journal.ends.empty()) {
            const GameEnd& e = journal.ends.front();
            EXPECT_EQ(e.score, 45 - 2);
            EXPECT_EQ(e.tally, (Tally{1, 0, 0, 25}));
            EXPECT_EQ(e.dealState, 0u);
        }
    }
}

TEST_F(EndTest, SolvedAndDeadEndAreToldBeforeTheirMessage)
{
    struct Case {
        const char* name;
        std::vector<testing::Cake> cakes;
        testing::Side plates;
        EndKind kind;
        int32_t score;
    };
    const Case cases[] = {
        {"solved", {{0, 0, kMixedCake, 1}, {0, 1, 4, 12}}, {0, 12, 12, 12, 11}, EndKind::Solved,
         45 + 135 + 220 - 370},
        {"dead end", {{5, 5, 2, 5}, {6, 5, 1, 3}}, {}, EndKind::DeadEnd, -370},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game.Seed(0);
        game.Deal();
        ASSERT_TRUE(game.GiveHint(game.Position(), Move{{0, 4}, {0, 5}}));
        Lay(c.cakes, c.plates);
        journal.ends.clear();
        view.whileDialogOpen = [&] { EXPECT_EQ(journal.ends.size(), 1u) << "told before the dialogs"; };
        ASSERT_EQ(Drop(c.cakes[0].col, c.cakes[0].row, c.cakes[1].col, c.cakes[1].row), DropResult::Moved);
        view.whileDialogOpen = nullptr;
        ASSERT_EQ(journal.ends.size(), 1u);
        EXPECT_EQ(journal.ends[0].kind, c.kind);
        EXPECT_EQ(journal.ends[0].score, c.score);
        EXPECT_EQ(journal.ends[0].tally, (Tally{1, 0, 1, 0}));
    }
}

} // namespace
} // namespace torvella
