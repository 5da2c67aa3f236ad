#pragma once
// Back end: the position. Cells, plates, hold places, jumps and score: exactly what undo
// restores, so undo is a copy of a Tableau. The lifted cake, the clock and the phase belong
// to the game flow (core/Game.h); the rules (core/Rules.h) and the solver work on this alone.
#include <array>
#include <cstdint>

namespace torvella {

constexpr int kCols = 7;
constexpr int kRows = 7;
constexpr int kCells = kCols * kRows;
constexpr int kColours = 4;       // 1 red, 2 green, 3 blue, 4 yellow
constexpr int kMaxSlices = 12;
constexpr int kMixedCake = 0;     // colour code of the mixed cake
constexpr int kEmpty = -1;        // colour code of an empty cell
constexpr int kStartJumps = 3;

// Cells are stored column by column: the deal fills them and undo copies them in this order.
constexpr int CellIndex(int col, int row) { return col * kRows + row; }

// A cell of the tableau; kOffTableau stands for any place off it.
struct Cell {
    int col = 0, row = 0;
    bool operator==(const Cell&) const = default;
};
constexpr Cell kOffTableau{-1, -1};

constexpr bool OnTableau(Cell c) { return c.col >= 0 && c.col < kCols && c.row >= 0 && c.row < kRows; }

enum class GamePhase : uint8_t { Dealt = 0, Playing = 1, Solved = 2, Ended = 3, Paused = 4 };

const char* PhaseName(GamePhase phase);

struct Tableau {
    std::array<int32_t, kCells> CellColour{};
    std::array<int32_t, kCells> CellSlices{};
    std::array<int32_t, kColours + 1> PlateSlices{};  // index 1..4; 12 = colour complete
    std::array<int32_t, kColours + 1> HoldSlices{};   // index 1..4; 0 = hold place free
    int32_t JumpsLeft = kStartJumps;
    int32_t Score = 0;

    int32_t& Colour(int col, int row) { return CellColour[CellIndex(col, row)]; }
    int32_t& Slices(int col, int row) { return CellSlices[CellIndex(col, row)]; }
    int32_t Colour(int col, int row) const { return CellColour[CellIndex(col, row)]; }
    int32_t Slices(int col, int row) const { return CellSlices[CellIndex(col, row)]; }

    bool AllPlatesFull() const;
    bool operator==(const Tableau&) const = default;
};

} // namespace torvella
