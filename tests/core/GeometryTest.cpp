// Board geometry: the worked examples, and the pixel-to-cell mapping at its edges.
#include "core/Geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace torvella {
namespace {

struct LayoutCase {
    int w, h;
    Geometry expected;  // CellSize, CakeRadius, PlateStep, OriginX, OriginY, PlateX, PlateY
};

TEST(GeometryTest, CalcLayoutMatchesTheWorkedExamples)
{
    const LayoutCase cases[] = {
        {702, 405, {54, 24, 81, 108, 40, 513, 81}},    // the initial board area
        {1200, 405, {54, 24, 81, 357, 40, 762, 81}},   // wide: height-limited
        {702, 800, {63, 28, 94, 67, 211, 539, 259}},   // tall: width-limited
        {1000, 413, {55, 24, 82, 252, 41, 664, 83}},   // CellSize 55 truncates the radius
        {1000, 383, {51, 22, 76, 270, 38, 652, 77}},   // CellSize 51
        {0, 0, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const Geometry g = CalcLayout(c.w, c.h);
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_EQ(g.CellSize, c.expected.CellSize);
        EXPECT_EQ(g.CakeRadius, c.expected.CakeRadius);
        EXPECT_EQ(g.PlateStep, c.expected.PlateStep);
        EXPECT_EQ(g.OriginX, c.expected.OriginX);
        EXPECT_EQ(g.OriginY, c.expected.OriginY);
        EXPECT_EQ(g.PlateX, c.expected.PlateX);
        EXPECT_EQ(g.PlateY, c.expected.PlateY);
    }
}

TEST(GeometryTest, DerivedPositionsAt702x405)
{
    const Geometry g = CalcLayout(702, 405);
    EXPECT_EQ(g.BoardSquare(), (Rect{81, 13, 378, 378}));
    EXPECT_EQ(g.SidePanel(), (Rect{432, 41, 202, 324}));
    const int rows[4] = {81, 162, 243, 324};
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(g.HoldCentre(c), (Point{513, rows[c - 1]}));
        EXPECT_EQ(g.PlateCentre(c), (Point{594, rows[c - 1]}));
    }
    EXPECT_EQ(g.CellCentre(6, 6), (Point{108 + 6 * 54, 40 + 6 * 54}));
}

TEST(GeometryTest, LargestBoardAreaKeepsEveryValueInRange)
{
    const Geometry g = CalcLayout(INT32_MAX, INT32_MAX);
    EXPECT_EQ(g.CellSize, 195225786);  // 2 * W div 22, computed without overflow
    EXPECT_GT(g.OriginX, 0);
    EXPECT_GT(g.PlateX, g.OriginX);
    EXPECT_GT(g.PlateY, 0);
}

struct PixelCase {
    int x, y;
    bool onTableau;
    int col, row;
};

TEST(GeometryTest, PixelToCellTruncatesTowardZeroAtTheEdges)
{
    // At 702 x 405: OriginX 108, OriginY 40, CakeRadius 24, CellSize 54. Column 0's hit
    // square starts at x 84; truncation keeps up to 53 more pixels left in column 0.
    const PixelCase cases[] = {
        {84, 40, true, 0, 0},      // OriginX - CakeRadius
        {83, 40, true, 0, 0},      // one more to the left: numerator -1, still column 0
        {31, 40, true, 0, 0},      // numerator -53
        {30, 40, false, 0, 0},     // a full CellSize further left: -1
        {108, 16, true, 0, 0},     // OriginY - CakeRadius
        {108, -37, true, 0, 0},    // numerator -53 in y
        {108, -38, false, 0, 0},
        {137, 69, true, 0, 0},     // right/bottom end of cell (0,0)'s square
        {138, 70, true, 1, 1},
        {461, 40, true, 6, 0},     // last pixel of column 6
        {462, 40, false, 0, 0},    // column 7
        {108, 393, true, 0, 6},     // last pixel of row 6
        {108, 394, false, 0, 0},
        {INT32_MIN, INT32_MAX, false, 0, 0},
    };
    const Geometry g = CalcLayout(702, 405);
    for (const auto& c : cases) {
        int col = -99, row = -99;
        SCOPED_TRACE("(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")");
        ASSERT_EQ(g.PixelToCell(c.x, c.y, col, row), c.onTableau);
        if (c.onTableau) {
            EXPECT_EQ(col, c.col);
            EXPECT_EQ(row, c.row);
        }
    }
}

TEST(GeometryTest, ZeroCellSizeNeverDivides)
{
    for (auto [w, h] : {std::pair{10, 10}, std::pair{0, 0}, std::pair{0, 5}, std::pair{10, 1000}}) {
        const Geometry g = CalcLayout(w, h);
        ASSERT_EQ(g.CellSize, 0);
        int col = 0, row = 0;
        EXPECT_FALSE(g.PixelToCell(0, 0, col, row));
        EXPECT_FALSE(g.PixelToCell(g.OriginX, g.OriginY, col, row));
    }
}

} // namespace
} // namespace torvella
