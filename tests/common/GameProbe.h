#pragma once
// The tests' way into a game: lay out the situation a test is about in one step, and look
// at what the game keeps to itself (the undo copy). The game declares this class its friend;
// nothing outside the tests writes its state.
#include "core/Game.h"

namespace torvella {

class GameProbe {
public:
    static Tableau& Board(Game& g) { return g.board_; }
    static const Tableau& Undo(const Game& g) { return g.undo_; }
    static void SetPhase(Game& g, GamePhase phase) { g.phase_ = phase; }
    static void SetFlashStep(Game& g, int32_t step) { g.clock_.FlashStep = step; }
    static Clock& Ticks(Game& g) { return g.clock_; }
    static Lift& Lifted(Game& g) { return g.lift_; }
    static Random& Rng(Game& g) { return g.rng_; }
    // A chosen position in phase Dealt, nothing lifted, at the start of a second.
    static void LayOut(Game& g, const Tableau& position)
    {
        g.board_ = position;
        g.phase_ = GamePhase::Dealt;
        g.lift_.Dragging = false;
        g.clock_.SecondTicks = 0;
    }
};

} // namespace torvella
