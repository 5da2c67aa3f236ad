// Back end: the position (see Tableau.h).
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

bool Tableau::AllPlatesFull() const
{
    for (int c = 1; c <= kColours; ++c)
        if (PlateSlices[c] != kMaxSlices)
            return false;
    return true;
}

} // namespace torvella
