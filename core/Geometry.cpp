#include "core/Geometry.h"

namespace torvella {

Geometry CalcLayout(int32_t w, int32_t h)
{
    Geometry g;
    g.CellSize = 2 * h / 15;
    if (2 * w / 22 < g.CellSize)
        g.CellSize = 2 * w / 22;
    g.CakeRadius = g.CellSize * 9 / 20;
    g.PlateStep = g.CellSize * 3 / 2;
    g.OriginX = (w - 9 * g.CellSize) / 2;
    g.OriginY = (h - 6 * g.CellSize) / 2;
    g.PlateX = 6 * g.CellSize + g.OriginX + g.PlateStep;
    g.PlateY = (h - 3 * g.PlateStep) / 2;
    return g;
}

bool Geometry::PixelToCell(int32_t x, int32_t y, int& col, int& row) const
{
    if (CellSize <= 0)
        return false;
    // 64-bit so that pixels near the ends of the 32-bit range cannot overflow.
    const int64_t c = (static_cast<int64_t>(x) + CakeRadius - OriginX) / CellSize;
    const int64_t r = (static_cast<int64_t>(y) + CakeRadius - OriginY) / CellSize;
    if (c < 0 || c >= 7 || r < 0 || r >= 7)
        return false;
    col = static_cast<int>(c);
    row = static_cast<int>(r);
    return true;
}

} // namespace torvella
