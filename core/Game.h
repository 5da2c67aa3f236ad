#pragma once
// One game from deal to end: the rules of a move with its scoring and sounds, the phases,
// the clock, the pulse, undo, pause and the tool-bar buttons.
#include "core/Colours.h"
#include "core/Deal.h"
#include "core/GameView.h"
#include "core/Geometry.h"
#include "core/Random.h"
#include "core/Tableau.h"

#include <array>

namespace torvella {

enum class DropResult { Ignored, Moved, Refused };

// True when the cake in that cell has at least one legal move; the dead-end test. A mixed
// cake with jumps left always counts as movable.
bool CanMoveFrom(const Tableau& t, int col, int row);
int CountMovableCells(const Tableau& t);

class Game {
public:
    explicit Game(GameView& view);

    Tableau T;
    Geometry G;
    Random Rng;

    // Board area resized: the geometry follows (the window recomposes its pictures).
    void SetBoardSize(int32_t width, int32_t height) { G = CalcLayout(width, height); }

    // A fresh deal from the generator's current state, with the buttons a deal sets.
    void Deal();

    // Mouse on the board area, in its pixel coordinates. Every mouse button counts.
    bool BoxMouseDown(int32_t x, int32_t y);  // true when a cake was lifted
    void MouseMove(int32_t x, int32_t y);
    DropResult BoxMouseUp(int32_t x, int32_t y);

    void Timer1Timer();

    // Tool-bar buttons; a disabled button does nothing and answers false.
    bool StartBtnClick();
    bool AgainBtnClick();
    bool OOpsBtnClick();
    bool PauseBtnClick();
    bool HighScoreBtnClick();
    // The close request: true when the window may close.
    bool CloseQuery();

    bool Enabled(Button b) const { return enabled_[static_cast<int>(b)]; }

    static const char* DeadEndText(int tongue);

private:
    void SetEnabled(Button b, bool on);
    void SaveUndo();
    bool GiveUpRunningGame();
    void CountScore(int32_t step);  // ten steps with a short pause each
    void FinishGame();

    GameView& view_;
    std::array<bool, kButtons> enabled_{true, true, true, true, true};
};

} // namespace torvella
