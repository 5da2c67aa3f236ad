#include "core/Tableau.h"

namespace torvella {

const char* PhaseName(GamePhase phase)
{
    switch (phase) {
    case GamePhase::Dealt: return "Dealt";
    case GamePhase::Playing: return "Playing";
    case GamePhase::Solved: return "Solved";
    case GamePhase::Ended: return "Ended";
    case GamePhase::Paused: return "Paused";
    }
    return "?";
}

void Tableau::SaveUndo()
{
    Undo.UndoCellColour = CellColour;
    Undo.UndoCellSlices = CellSlices;
    Undo.UndoPlateSlices = PlateSlices;
    Undo.UndoHoldSlices = HoldSlices;
    Undo.UndoScore = Score;
    Undo.UndoJumpsLeft = JumpsLeft;
    Undo.UndoLiftCol = DragCol;
    Undo.UndoLiftRow = DragRow;
    Undo.UndoLiftColour = DragColour;
    Undo.UndoLiftSlices = DragSlices;
}

void Tableau::RestoreUndo()
{
    CellColour = Undo.UndoCellColour;
    CellSlices = Undo.UndoCellSlices;
    PlateSlices = Undo.UndoPlateSlices;
    HoldSlices = Undo.UndoHoldSlices;
    Colour(Undo.UndoLiftCol, Undo.UndoLiftRow) = Undo.UndoLiftColour;
    Slices(Undo.UndoLiftCol, Undo.UndoLiftRow) = Undo.UndoLiftSlices;
    Score = Undo.UndoScore;
    JumpsLeft = Undo.UndoJumpsLeft;
}

bool Tableau::AllPlatesFull() const
{
    for (int c = 1; c <= kColours; ++c)
        if (PlateSlices[c] != kMaxSlices)
            return false;
    return true;
}

} // namespace torvella
