#pragma once
// The tests' way into a game: lay out the situation a test is about in one step, and look
// at what the game keeps to itself (the undo copy). The game declares this class its friend;
// nothing outside the tests writes its state.
#include "core/Game.h"

namespace torvella {

class GameProbe {
public:
    static Tableau& Board(Game& g) { return g.st_.board; }
    static const Tableau& Undo(const Game& g) { return g.st_.undo; }
    static int32_t ChargedSinceMove(const Game& g) { return g.st_.chargedSinceMove; }
    static void SetPhase(Game& g, GamePhase phase) { g.st_.phase = phase; }
    static void SetFlashStep(Game& g, int32_t step) { g.st_.clock.FlashStep = step; }
    static Clock& Ticks(Game& g) { return g.st_.clock; }
    static Lift& Lifted(Game& g) { return g.st_.lift; }
    static Random& Rng(Game& g) { return g.st_.rng; }
    // A chosen position in phase Dealt, nothing lifted, at the start of a second.
    static void LayOut(Game& g, const Tableau& position)
    {
        g.st_.board = position;
        g.st_.phase = GamePhase::Dealt;
        g.st_.lift.Dragging = false;
        g.st_.clock.SecondTicks = 0;
    }
};

} // namespace torvella
