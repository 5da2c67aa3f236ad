#include "core/Geometry.h"

namespace torvella {

Geometry CalcLayout(int32_t w, int32_t h)
{
    // 64-bit intermediates: 2·H and CellSize·9 overflow 32 bits for board areas near the
    // top of the range, while every result still fits (CellSize is at most W/11 and H/7.5).
    const int64_t W = w, H = h;
    int64_t cell = 2 * H / 15;
    if (2 * W / 22 < cell)
        cell = 2 * W / 22;
    const int64_t radius = cell * 9 / 20;
    const int64_t step = cell * 3 / 2;
    const int64_t originX = (W - 9 * cell) / 2;
    Geometry g;
    g.CellSize = static_cast<int32_t>(cell);
    g.CakeRadius = static_cast<int32_t>(radius);
    g.PlateStep = static_cast<int32_t>(step);
    g.OriginX = static_cast<int32_t>(originX);
    g.OriginY = static_cast<int32_t>((H - 6 * cell) / 2);
    g.PlateX = static_cast<int32_t>(6 * cell + originX + step);
    g.PlateY = static_cast<int32_t>((H - 3 * step) / 2);
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
