#pragma once
// Middle: one game from deal to end. It owns the position, the one-step undo (a copy of the
// position before the last move), the lifted cake, the clock and the phase, and turns the
// steps of a move (core/Rules.h) into its view's calls, sounds and pauses in the order the
// player is to see and hear them. The window, torvella-cli and the tests drive it through the
// same calls; nothing outside writes its state.
#include "core/Colours.h"
#include "core/Deal.h"
#include "core/GameView.h"
#include "core/Geometry.h"
#include "core/Random.h"
#include "core/Rules.h"
#include "core/Tableau.h"

#include <array>
#include <cstdint>
#include <optional>

namespace torvella {

enum class DropResult { Ignored, Moved, Refused };

// The cake the mouse holds: its source cell is empty on the board meanwhile.
struct Lift {
    bool Dragging = false;
    int32_t DragCol = 0, DragRow = 0;
    int32_t DragColour = 0, DragSlices = 0;
    int32_t DragX = 0, DragY = 0;  // last mouse position over the board area
};

// The clock and the pulse animation, advanced by the 100 ms timer.
struct Clock {
    int32_t SecondTicks = 0;  // 0..9 within the current second of play
    int32_t FlashStep = 0;    // 0..15, step of the pulse of servable cakes
};

class Game {
public:
    explicit Game(GameView& view);

    const Tableau& Position() const { return board_; }
    GamePhase Phase() const { return phase_; }
    const Lift& Lifted() const { return lift_; }
    const Clock& Ticks() const { return clock_; }
    const Geometry& Layout() const { return geometry_; }
    uint32_t DealSeed() const { return dealSeed_; }
    uint32_t GeneratorState() const { return rng_.State(); }
    bool Enabled(Button b) const { return enabled_[static_cast<int>(b)]; }

    // The generator state the next deal starts from: seeded once at start-up (or from the
    // state a tool is asked for).
    void Seed(uint32_t state) { rng_.SetState(state); }
    // The pulse starts over (the last step of start-up).
    void RestartPulse() { clock_.FlashStep = 0; }
    // Board area resized: the geometry follows (the window recomposes its pictures).
    void SetBoardSize(int32_t width, int32_t height) { geometry_ = CalcLayout(width, height); }

    // A fresh deal from the generator's current state, with the buttons a deal sets.
    void Deal();

    // Mouse on the board area, in its pixel coordinates. Every mouse button counts.
    bool BoxMouseDown(int32_t x, int32_t y);  // true when a cake was lifted
    void MouseMove(int32_t x, int32_t y);
    DropResult BoxMouseUp(int32_t x, int32_t y);

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

private:
    void SetEnabled(Button b, bool on);
    void SaveUndo(const Tableau& before);
    bool GiveUpRunningGame();
    void CountScore(int32_t step);  // ten steps with a short pause each
    void Present(const Step& s);
    void FinishGame();
    void ClockTick();

    GameView& view_;
    Tableau board_;
    Tableau undo_;
    Lift lift_;
    Clock clock_;
    GamePhase phase_ = GamePhase::Dealt;
    Geometry geometry_;
    Random rng_;
    uint32_t dealSeed_ = 0;
    std::array<bool, kButtons> enabled_{true, true, true, true, true};

    friend class GameProbe;  // tests lay out the situation they are about directly
};

} // namespace torvella
