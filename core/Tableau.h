#pragma once
// The state of one game: cells, plates, hold places, counters, the lifted cake and the
// one-step undo record. Owned by the main window; only ever touched on the UI thread.
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

// Cells are stored column by column: the deal fills them and the undo record copies
// them in this order.
constexpr int CellIndex(int col, int row) { return col * kRows + row; }

enum class GamePhase : uint8_t { Dealt = 0, Playing = 1, Solved = 2, Ended = 3, Paused = 4 };

const char* PhaseName(GamePhase phase);

struct UndoRecord {
    std::array<int32_t, kCells> UndoCellColour{};
    std::array<int32_t, kCells> UndoCellSlices{};
    std::array<int32_t, kColours + 1> UndoPlateSlices{};  // index 1..4
    std::array<int32_t, kColours + 1> UndoHoldSlices{};   // index 1..4
    int32_t UndoScore = 0;
    int32_t UndoJumpsLeft = 0;
    int32_t UndoLiftCol = 0, UndoLiftRow = 0, UndoLiftColour = 0, UndoLiftSlices = 0;
};

struct Tableau {
    std::array<int32_t, kCells> CellColour{};
    std::array<int32_t, kCells> CellSlices{};
    std::array<int32_t, kColours + 1> PlateSlices{};  // index 1..4; 12 = colour complete
    std::array<int32_t, kColours + 1> HoldSlices{};   // index 1..4; 0 = hold place free
    int32_t JumpsLeft = kStartJumps;
    int32_t Score = 0;
    GamePhase Phase = GamePhase::Dealt;  // `GamePhase`
    int32_t SecondTicks = 0;
    int32_t FlashStep = 0;

    bool Dragging = false;
    int32_t DragCol = 0, DragRow = 0;
    int32_t DragColour = 0, DragSlices = 0;
    int32_t DragX = 0, DragY = 0;

    UndoRecord Undo;
    uint32_t DealSeed = 0;

    int32_t& Colour(int col, int row) { return CellColour[CellIndex(col, row)]; }
    int32_t& Slices(int col, int row) { return CellSlices[CellIndex(col, row)]; }
    int32_t Colour(int col, int row) const { return CellColour[CellIndex(col, row)]; }
    int32_t Slices(int col, int row) const { return CellSlices[CellIndex(col, row)]; }

    // Copies the state into the undo record while the moved cake is still lifted.
    void SaveUndo();
    // Puts the record back, the lifted cake into its source cell; the phase is not touched.
    void RestoreUndo();
    bool AllPlatesFull() const;
};

} // namespace torvella
