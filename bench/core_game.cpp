// The core's hot paths: a deal, the dead-end scan over all 49 cells, and one legal move
// through the game's mouse handlers with its undo record. Targets on the team's machine:
// deal < 150 us, scan < 0.5 us, move < 1 us.
#include "core/Game.h"
#include "core/NullView.h"

#include <benchmark/benchmark.h>

namespace {

using namespace torvella;


void BM_Deal(benchmark::State& state)
{
    Tableau t;
    Random rng(0);
    for (auto _ : state) {
        DealTableau(t, rng);
        benchmark::DoNotOptimize(t.CellColour.data());
    }
}
BENCHMARK(BM_Deal)->Unit(benchmark::kMicrosecond);

// The dead-end test after every move: CanMoveFrom for all 49 cells.
void BM_CanMoveFromScan(benchmark::State& state)
{
    Tableau t;
    Random rng(0);
    DealTableau(t, rng);
    t.JumpsLeft = 0;  // so the mixed cake is tested by its neighbours too
    for (auto _ : state) {
        benchmark::DoNotOptimize(&t);
        benchmark::DoNotOptimize(CountMovableCells(t));
    }
}
BENCHMARK(BM_CanMoveFromScan);

// Lift and drop of a legal move (yellow 10 onto green 1 in the deal of state 0: a serve,
// the undo record, the dead-end scan, the record's line), then the undo button puts
// everything back.
void BM_MoveWithUndo(benchmark::State& state)
{
    NullView view;
    Game game(view);
    game.Seed(0);
    game.Deal();
    uint64_t n = 0;
    for (auto _ : state) {
        if (++n % 65536 == 0) {
            // The record grows by two lines a round: start it over now and then.
            state.PauseTiming();
            game.Seed(0);
            game.Deal();
            state.ResumeTiming();
        }
        game.LiftAt({0, 4});
        if (game.DropOn({0, 5}) != DropResult::Moved) {
            state.SkipWithError("the move was not legal");
            break;
        }
        game.OOpsBtnClick();
    }
}
BENCHMARK(BM_MoveWithUndo);

} // namespace
