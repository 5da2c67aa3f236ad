#pragma once
// An interrupted game left in the journal, as a run that ended unasked leaves it: the deal
// and every drop of a solution but the last, so the next start brings the tableau back
// paused with its notice, one drop from the end. The answer is that last drop.
#include "core/Deal.h"
#include "core/Random.h"
#include "core/Record.h"
#include "core/Solver.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace torvella::testing {

inline std::optional<Move> LeaveOneDropFromTheEnd(const std::filesystem::path& stateHome, uint32_t deal)
{
    Tableau t;
    Random rng(deal);
    DealTableau(t, rng);
    const Solution solution = Solve(t);
    if (!solution.solvable || solution.moves.size() < 2)
        return std::nullopt;
    std::filesystem::create_directories(stateHome / "torvella");
    std::ofstream journal(stateHome / "torvella" / "game-1.journal");
    // The format's first line; the program named in it does not matter.
    journal << "torvella-journal 1 test\n";
    journal << FormatEvent(GameRecord{.dealState = deal}.DealEvent()) << '\n';
    for (size_t i = 0; i + 1 < solution.moves.size(); ++i)
        journal << FormatEvent({.kind = EventKind::Move, .move = solution.moves[i]}) << '\n';
    return solution.moves.back();
}

} // namespace torvella::testing
