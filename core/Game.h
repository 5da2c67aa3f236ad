#pragma once
// Middle: one game from deal to end. It owns the position, the one-step undo (a copy of the
// position before the last move), the lifted cake, the clock, the phase and the game's
// record, and turns the steps of a move (core/Rules.h) into its view's calls, sounds and
// pauses in the order the player is to see and hear them. The window, torvella-cli and the
// tests drive it through the same calls, in cells; nothing outside writes its state.
#include "core/Colours.h"
#include "core/Deal.h"
#include "core/GameView.h"
#include "core/Geometry.h"
#include "core/Random.h"
#include "core/Record.h"
#include "core/Rules.h"
#include "core/Tableau.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace torvella {

enum class DropResult { Ignored, Moved, Refused };

// The cake in the air: its source cell is empty on the board meanwhile.
struct Lift {
    bool Dragging = false;
    Cell From;                 // the cell it was lifted from
    Cell Over;                 // the cell it is carried over; kOffTableau off the tableau
    int32_t Colour = 0, Slices = 0;
};

// The clock and the pulse animation, advanced by the 100 ms timer.
struct Clock {
    int32_t SecondTicks = 0;  // 0..9 within the current second of play
    int32_t FlashStep = 0;    // 0..15, step of the pulse of servable cakes
    bool operator==(const Clock&) const = default;
};

class Game {
public:
    explicit Game(GameView& view);

    const Tableau& Position() const { return st_.board; }
    GamePhase Phase() const { return st_.phase; }
    const Lift& Lifted() const { return st_.lift; }
    const Clock& Ticks() const { return st_.clock; }
    const Geometry& Layout() const { return geometry_; }
    uint32_t DealSeed() const { return st_.dealSeed; }
    uint32_t GeneratorState() const { return st_.rng.State(); }
    bool Enabled(Button b) const { return st_.enabled[static_cast<int>(b)]; }
    const Tally& Tallies() const { return st_.tally; }

    // The generator state the next deal starts from: seeded once at start-up (or from the
    // state a tool is asked for).
    void Seed(uint32_t state) { st_.rng.SetState(state); }
    // The pulse starts over (the last step of start-up, right after the first deal).
    void RestartPulse()
    {
        st_.clock.FlashStep = 0;
        if (st_.record.events.empty())
            st_.record.pulseStep = 0;
    }
    // Board area resized: the geometry follows (the window recomposes its pictures).
    void SetBoardSize(int32_t width, int32_t height) { geometry_ = CalcLayout(width, height); }

    // A fresh deal from the generator's current state, with the buttons a deal sets.
    void Deal();

    // The cake in a cell is lifted, carried over cells and dropped, or put back. A front
    // end maps its pointer to cells through Layout().CellUnder (presses off the tableau lift
    // nothing, releases there are refused) and keeps the lifted cake's pixels to itself;
    // the keyboard cursor hands over cells directly.
    bool LiftAt(Cell cell);  // true when a cake was lifted; empty cells and off the tableau lift nothing
    void CarryOver(Cell cell);  // the lifted cake moved: the view draws it anew
    DropResult DropOn(Cell cell);
    bool PutBack();  // a drop on its own cell (refused); false when nothing is up

    void Timer1Timer();
    // `count` timer ticks with nothing lifted. Whole cycles of 160 ticks (ten per point,
    // sixteen per pulse) are counted at once, so any count finishes at once; the view sees
    // only the calls of the ticks beyond the whole cycles. The score wraps like its 32-bit field.
    void TimerTicks(uint64_t count);

    // Tool-bar buttons; a disabled button does nothing and answers false.
    bool StartBtnClick();
    bool AgainBtnClick();
    bool OOpsBtnClick();
    bool PauseBtnClick();
    bool HighScoreBtnClick();
    // The close request: true when the window may close.
    bool CloseQuery();

    // Hints. A hint may be asked for while nothing is lifted in a phase where a move is
    // possible (Dealt, Playing). Its answer comes from the solver on the position asked
    // about: the first drop of a solution, or none when the tableau cannot be solved from
    // there. The game charges what a jump costs and shows the drop, or tells the player that
    // no solution exists and charges nothing. An answer about another position than the
    // current one (the player moved meanwhile) is dropped; answers false then.
    bool HintPossible() const;
    bool GiveHint(const Tableau& askedAbout, std::optional<Move> firstDrop);

    // The record of the game since its deal (see core/Record.h).
    const GameRecord& Record() const { return st_.record; }
    // Rebuilds the game a record tells of: position, clock, undo, phase, buttons and tallies,
    // with nothing lifted; the view is renewed once, the listener hears nothing. A record
    // whose events the rules do not allow in that order is refused with the reason, and the
    // game stays as it was.
    std::optional<std::string> Restore(const GameRecord& record);
    // Hears each recorded event and each game's end; nullptr for none.
    void SetListener(GameListener* listener) { listener_ = listener; }

private:
    void SetEnabled(Button b, bool on);
    void Note(const GameEvent& event);
    void EndGame(EndKind kind);
    bool GiveUpRunningGame(EndKind kind);
    void CountScore(int32_t from, int32_t to);  // ten steps with a short pause each
    void Present(const Step& s, int32_t scoreBefore);
    void FinishGame();
    void Tick();
    void SetPaused(bool paused);
    void ChargeHint(Move shown, int32_t charge);
    std::optional<std::string> Replay(const GameEvent& event);

    // Everything a record rebuilds, in one piece so a restore takes it over at once.
    struct State {
        Tableau board;
        Tableau undo;
        int32_t chargedSinceMove = 0;  // hints paid since the last move: undo keeps them paid
        Lift lift;
        Clock clock;
        GamePhase phase = GamePhase::Dealt;
        Random rng;
        uint32_t dealSeed = 0;
        std::array<bool, kButtons> enabled{true, true, true, true, true};
        GameRecord record;
        Tally tally;
    };

    GameView& view_;
    GameListener* listener_ = nullptr;
    Geometry geometry_;
    State st_;

    friend class GameProbe;  // tests lay out the situation they are about directly
};

} // namespace torvella
