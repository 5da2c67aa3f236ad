#pragma once
// A game on the 702 x 405 board area with a recording view, and helpers to lay out a
// tableau directly so a test reaches the situation it is about in one step.
#include "RecordingView.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace torvella::testing {

// The deal of generator state 0, column by column: {colour, slices}. Pinned so that game
// numbers can never drift.
inline constexpr std::array<std::pair<int, int>, kCells> kDealOfState0 = {{
    {4, 5}, {3, 5}, {1, 3}, {4, 6}, {4, 10}, {2, 1}, {2, 12},     // col 0
    {4, 1}, {2, 3}, {3, 12}, {2, 4}, {2, 5}, {4, 2}, {1, 9},      // col 1
    {3, 9}, {3, 2}, {1, 5}, {1, 11}, {4, 7}, {1, 6}, {2, 2},      // col 2
    {1, 2}, {4, 4}, {2, 9}, {1, 4}, {1, 7}, {2, 7}, {1, 8},       // col 3
    {3, 1}, {3, 7}, {4, 9}, {3, 8}, {3, 3}, {3, 6}, {2, 6},       // col 4
    {3, 11}, {2, 8}, {1, 12}, {2, 11}, {1, 10}, {1, 1}, {0, 1},   // col 5
    {4, 3}, {3, 10}, {2, 10}, {4, 12}, {4, 8}, {4, 11}, {3, 4},   // col 6
}};
inline constexpr uint32_t kStateAfterDealOf0 = 387989222;

struct Cake {
    int col, row, colour, slices;
};

// A parameterised case's test name from its `name` field: letters and digits kept, every
// other character an underscore.
struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const
    {
        std::string name;
        for (const char* p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    }
};

using Side = std::array<int32_t, kColours + 1>;  // index 1..4, as in the tableau

inline void ClearCells(Tableau& t)
{
    t.CellColour.fill(kEmpty);
    t.CellSlices.fill(0);
}

class GameFixture : public ::testing::Test {
protected:
    RecordingView view;
    Game game{view};

    GameFixture()
    {
        view.game = &game;
        game.SetBoardSize(702, 405);
        game.Seed(0);
        game.Deal();
        view.log.clear();
    }

    // The game's position, to lay out or change a situation directly.
    Tableau& T() { return GameProbe::Board(game); }

    // Replaces the dealt cells and side panel; the buttons stay as the deal left them.
    void Lay(const std::vector<Cake>& cakes, Side plates = {}, Side holds = {}, int jumps = kStartJumps)
    {
        ClearCells(T());
        for (const Cake& c : cakes) {
            T().Colour(c.col, c.row) = c.colour;
            T().Slices(c.col, c.row) = c.slices;
        }
        T().PlateSlices = plates;
        T().HoldSlices = holds;
        T().JumpsLeft = jumps;
    }

    // The mouse as the window drives the game: the pointer mapped to cells by the layout.
    bool Press(int32_t x, int32_t y)
    {
        view.pointer = Point{x, y};
        return game.LiftAt(game.Layout().CellUnder(x, y));
    }
    void MoveTo(int32_t x, int32_t y)
    {
        view.pointer = Point{x, y};
        game.CarryOver(game.Layout().CellUnder(x, y));
    }
    DropResult Release(int32_t x, int32_t y)
    {
        view.pointer = Point{x, y};
        return game.DropOn(game.Layout().CellUnder(x, y));
    }

    // Press at the centre of one cell and release at the centre of another (cells off the
    // tableau included, as pixel positions).
    DropResult Drop(int fromCol, int fromRow, int toCol, int toRow)
    {
        const Point from = game.Layout().CellCentre(fromCol, fromRow);
        const Point to = game.Layout().CellCentre(toCol, toRow);
        if (!Press(from.x, from.y))
            return DropResult::Ignored;
        return Release(to.x, to.y);
    }
};

} // namespace torvella::testing
