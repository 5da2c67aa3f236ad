#pragma once
// Shared by the game and the painters: board geometry. Every position on the board area
// derives from these seven integers, recomputed from the board area's size on every
// resize. Division truncates toward zero.
#include "core/Tableau.h"

#include <cstdint>

namespace torvella {

struct Point {
    int32_t x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Geometry {
    int32_t CellSize = 0;
    int32_t CakeRadius = 0;
    int32_t PlateStep = 0;
    int32_t OriginX = 0;
    int32_t OriginY = 0;
    int32_t PlateX = 0;
    int32_t PlateY = 0;

    Point CellCentre(int col, int row) const { return {OriginX + col * CellSize, OriginY + row * CellSize}; }
    Point HoldCentre(int colour) const { return {PlateX, PlateY + (colour - 1) * PlateStep}; }
    Point PlateCentre(int colour) const { return {PlateX + PlateStep, PlateY + (colour - 1) * PlateStep}; }
    // column 0 is the hold place, 1 the plate
    Point SlotCentre(int column, int colour) const
    {
        return {PlateX + column * PlateStep, PlateY + (colour - 1) * PlateStep};
    }
    Rect BoardSquare() const
    {
        return {OriginX - CellSize / 2, OriginY - CellSize / 2, 7 * CellSize, 7 * CellSize};
    }
    Rect SidePanel() const
    {
        return {PlateX - PlateStep, PlateY - PlateStep / 2, 2 * PlateStep + PlateStep / 2, 4 * PlateStep};
    }

    // The cell under a pixel, or false when it is off the tableau. A point less than one
    // CellSize left of (or above) the first hit square still maps to column (row) 0,
    // because the division truncates toward zero. Never divides by a zero CellSize.
    bool PixelToCell(int32_t x, int32_t y, int& col, int& row) const;
    // The same as a cell: kOffTableau when the pixel is off the tableau.
    Cell CellUnder(int32_t x, int32_t y) const
    {
        Cell c;
        return PixelToCell(x, y, c.col, c.row) ? c : kOffTableau;
    }
};

Geometry CalcLayout(int32_t width, int32_t height);

} // namespace torvella
