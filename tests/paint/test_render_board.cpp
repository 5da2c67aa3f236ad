// Pixel checks of the board picture at the window's first size, 702 x 405, against the
// geometry of CalcLayout and the colours of the cake table.
#include "test_render_images.h"

#include "core/Colours.h"
#include "core/Geometry.h"
#include "core/Tableau.h"
#include "paint/BoardPainter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace torvella {
namespace {

using testing::Bgr;
using testing::SheetTiling;

constexpr int kW = 702, kH = 405;

// An empty tableau with a few chosen cakes, so every test knows what stands where.
Tableau ChosenTableau()
{
    Tableau t;
    t.CellColour.fill(kEmpty);
    t.CellSlices.fill(0);
    auto put = [&](int col, int row, int colour, int slices) {
        t.Colour(col, row) = colour;
        t.Slices(col, row) = slices;
    };
    put(0, 0, 1, 12);  // red, all slices
    put(1, 0, 1, 1);   // red, one slice
    put(2, 0, kMixedCake, 1);
    put(4, 0, 3, 6);   // blue
    t.HoldSlices[2] = 5;   // green cake in its hold place
    t.PlateSlices[4] = 12; // yellow plate full
    return t;
}

class BoardPicture : public ::testing::Test {
protected:
    void SetUp() override { Render(0); }

    void Render(int backMode, QSize size = QSize(kW, kH))
    {
        g = CalcLayout(size.width(), size.height());
        paint::BuildBoardBack(back, size, sheet, backMode);
        paint::RenderBoard(board, size, back, sheet, backMode, g, tableau);
    }

    QRgb At(int x, int y) const { return board.pixel(x, y); }

    // A point at distance d from the centre, `degrees` clockwise from 12 o'clock.
    static QPoint Polar(Point c, double degrees, double d)
    {
        const double a = degrees * std::numbers::pi / 180.0;
        return QPoint(c.x + static_cast<int>(std::lround(d * std::sin(a))),
                      c.y - static_cast<int>(std::lround(d * std::cos(a))));
    }
    QRgb AtPolar(Point c, double degrees, double d) const
    {
        const QPoint p = Polar(c, degrees, d);
        return At(p.x(), p.y());
    }

    QImage sheet = testing::StandInSheet();
    Tableau tableau = ChosenTableau();
    Geometry g;
    QImage back, board;
};

TEST_F(BoardPicture, GeometryIsTheWindowsFirstLayout)
{
    ASSERT_EQ(board.size(), QSize(kW, kH));
    ASSERT_EQ(board.format(), QImage::Format_RGB32);
    EXPECT_EQ(g.CellSize, 54);
    EXPECT_EQ(g.CakeRadius, 24);
    EXPECT_EQ(g.PlateX, 513);
}

TEST_F(BoardPicture, RedTwelveSliceCakeShowsEachShadeInItsSector)
{
    // red byte of slices 1..12, clockwise from 12 o'clock
    constexpr int kRed[13] = {0, 0xB3, 0xC0, 0xCD, 0xDB, 0xE8, 0xDB, 0xCD, 0xC0, 0xB3, 0xA5, 0x98, 0xA5};
    const Point c = g.CellCentre(0, 0);
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(AtPolar(c, (i - 0.5) * 30.0, 14), qRgb(kRed[i], 0, 0));
        // towards both edges of the sector as well (the rays through the rounded rim
        // points lie up to 3.4 degrees off the nominal 30-degree steps)
        EXPECT_EQ(AtPolar(c, (i - 1) * 30.0 + 8, 18), qRgb(kRed[i], 0, 0));
        EXPECT_EQ(AtPolar(c, i * 30.0 - 9, 18), qRgb(kRed[i], 0, 0));
    }
    EXPECT_EQ(At(c.x, c.y), qRgb(0, 0, 0)) << "black centre dot";
    EXPECT_EQ(At(c.x - 8, c.y), qRgb(0xA5, 0, 0)) << "the dot keeps the last slice's pen";

    // No seam between neighbouring slices: between dot and rim only slice shades show.
    for (int dy = -19; dy <= 19; ++dy)
        for (int dx = -19; dx <= 19; ++dx) {
            const double d = std::hypot(dx + 0.5, dy + 0.5);
            if (d < 10 || d > 19)
                continue;
            const QRgb px = At(c.x + dx, c.y + dy);
            bool isSlice = false;
            for (int i = 1; i <= 12; ++i)
                isSlice = isSlice || px == qRgb(kRed[i], 0, 0);
            EXPECT_TRUE(isSlice) << "at " << dx << "," << dy << ": " << QColor(px).name().toStdString();
        }
    EXPECT_EQ(At(c.x - 24, c.y), Bgr(ColourTable()[1][14])) << "base outline";
}

TEST_F(BoardPicture, RedOneSliceCakeShowsOnlyTheFirstSector)
{
    const Point c = g.CellCentre(1, 0);
    EXPECT_EQ(AtPolar(c, 15, 14), qRgb(179, 0, 0));
    EXPECT_EQ(AtPolar(c, 8, 18), qRgb(179, 0, 0));
    EXPECT_EQ(AtPolar(c, 21, 18), qRgb(179, 0, 0));
    for (double deg : {45.0, 100.0, 180.0, 270.0, 340.0}) {
        SCOPED_TRACE(deg);
        EXPECT_EQ(AtPolar(c, deg, 14), qRgb(0x3A, 0, 0)) << "base fill";
    }
    EXPECT_EQ(AtPolar(c, 15, 22), qRgb(0x3A, 0, 0)) << "the ring of the base around the slices";
    EXPECT_EQ(At(c.x, c.y), qRgb(0, 0, 0));
    EXPECT_EQ(At(c.x - 8, c.y), qRgb(179, 0, 0)) << "dot outline in the one slice's colour";
}

TEST_F(BoardPicture, MixedCakeRunsGreenBlueYellowRedOnABlackDisc)
{
    const Point c = g.CellCentre(2, 0);
    const int colourOf[4] = {2, 3, 4, 1};  // green, blue, yellow, red from 12 o'clock
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        const int colour = colourOf[(i - 1) % 4];
        EXPECT_EQ(AtPolar(c, (i - 0.5) * 30.0, 14), Bgr(ColourTable()[colour][i]));
    }
    EXPECT_EQ(At(c.x, c.y + 22), qRgb(0, 0, 0)) << "black base ring";
    EXPECT_EQ(At(c.x - 24, c.y), qRgb(0x60, 0x60, 0x60)) << "base outline";
    EXPECT_EQ(At(c.x, c.y), qRgb(0, 0, 0)) << "black dot";
    EXPECT_EQ(At(c.x - 8, c.y), qRgb(0x60, 0x60, 0x60)) << "dot outline";
}

TEST_F(BoardPicture, EmptyCellIsBlackWithAGreyOutline)
{
    const Point c = g.CellCentre(3, 0);
    for (const QPoint d : {QPoint(0, 0), QPoint(0, 20), QPoint(-20, 0), QPoint(14, -14)})
        EXPECT_EQ(At(c.x + d.x(), c.y + d.y()), qRgb(0, 0, 0));
    // the disc covers c - R .. c + R - 1 in both directions
    for (const QPoint d : {QPoint(-24, 0), QPoint(23, 0), QPoint(0, -24), QPoint(0, 23)})
        EXPECT_EQ(At(c.x + d.x(), c.y + d.y()), qRgb(0x80, 0x80, 0x80)) << d.x() << "," << d.y();
    EXPECT_NE(At(c.x - 25, c.y), qRgb(0x80, 0x80, 0x80));
    EXPECT_NE(At(c.x + 24, c.y), qRgb(0x80, 0x80, 0x80));
}

TEST_F(BoardPicture, SidePanelShowsEmptySlotsAndCakes)
{
    for (int colour = 1; colour <= 4; ++colour)
        for (int column = 0; column <= 1; ++column) {
            SCOPED_TRACE(::testing::Message() << "colour " << colour << " column " << column);
            const Point c = g.SlotCentre(column, colour);
            const bool greenHold = colour == 2 && column == 0, yellowPlate = colour == 4 && column == 1;
            if (greenHold) {
                EXPECT_EQ(AtPolar(c, 75, 14), Bgr(ColourTable()[2][3]));
                EXPECT_EQ(AtPolar(c, 200, 14), Bgr(ColourTable()[2][13]));
            } else if (yellowPlate) {
                EXPECT_EQ(AtPolar(c, 345, 14), Bgr(ColourTable()[4][12]));
            } else {
                EXPECT_EQ(At(c.x, c.y), Bgr(ColourTable()[colour][13])) << "empty slot: base fill, no dot";
                EXPECT_EQ(AtPolar(c, 15, 14), Bgr(ColourTable()[colour][13])) << "no slices";
            }
            EXPECT_EQ(At(c.x - 24, c.y), Bgr(ColourTable()[colour][14]));
        }
}

TEST_F(BoardPicture, SidePanelMarkersPointFromHoldIntoPlate)
{
    const int h = g.CellSize / 2;
    for (int colour = 1; colour <= 4; ++colour) {
        SCOPED_TRACE(colour);
        const int yc = g.PlateY + (colour - 1) * g.PlateStep;
        const QRgb marker = Bgr(ColourTable()[colour][16]);
        EXPECT_EQ(At(g.PlateX - h - 3, yc), marker) << "left edge of the pentagon (x 483)";
        EXPECT_EQ(At(g.PlateX - h - 3, yc - h - 3), marker) << "its top-left corner";
        EXPECT_EQ(At(g.PlateX + 2 * h - 5, yc), marker) << "near its tip";
        EXPECT_EQ(At(g.PlateX + 2 * h - 5, yc - h + 2), SheetTiling(1, 0, g.PlateX + 2 * h - 5, yc - h + 2))
            << "the slanted edge leaves the corner to the dark tile";
        EXPECT_EQ(At(g.PlateX + g.PlateStep + h + 2, yc + h + 2), marker) << "bottom-right of the plate's square";
        EXPECT_EQ(At(g.PlateX + g.PlateStep + h + 3, yc), SheetTiling(1, 0, g.PlateX + g.PlateStep + h + 3, yc));
        EXPECT_EQ(At(g.PlateX - h - 4, yc), SheetTiling(1, 0, g.PlateX - h - 4, yc));
    }
}

TEST_F(BoardPicture, FramesStandAtTheirCoordinates)
{
    const QRgb black = qRgb(0, 0, 0);
    auto bright = [](int x, int y) { return SheetTiling(0, 0, x, y); };
    // Across the left and right edges at mid-height: 1-pixel line at 0, 3-pixel line
    // around 3, 1-pixel line at 6, the bright tile between them.
    const int y = 200;
    for (int x = 0; x <= 7; ++x) {
        const bool line = x == 0 || (x >= 2 && x <= 4) || x == 6;
        EXPECT_EQ(At(x, y), line ? black : bright(x, y)) << "x " << x;
        EXPECT_EQ(At(kW - 1 - x, y), line ? black : bright(kW - 1 - x, y)) << "x " << kW - 1 - x;
    }
    const int x = 40;
    for (int yy = 0; yy <= 7; ++yy) {
        const bool line = yy == 0 || (yy >= 2 && yy <= 4) || yy == 6;
        EXPECT_EQ(At(x, yy), line ? black : bright(x, yy)) << "y " << yy;
        EXPECT_EQ(At(x, kH - 1 - yy), line ? black : bright(x, kH - 1 - yy)) << "y " << kH - 1 - yy;
    }
}

TEST_F(BoardPicture, OutlineOfBoardAndSidePanelIsOneShape)
{
    const QRgb black = qRgb(0, 0, 0);
    const int C = g.CellSize, h = C / 2, S = g.PlateStep;
    const int Lb = g.OriginX - h, Tb = g.OriginY - h, E = Lb + 7 * C, B = Tb + 7 * C;
    const int Tp = g.PlateY - S / 2, Rp = g.PlateX - S + 2 * S + S / 2, Bp = Tp + 4 * S;
    ASSERT_EQ(Lb, 81);
    ASSERT_EQ(Tb, 13);
    ASSERT_EQ(Tp, 41);

    // Left edge, at mid-height: board square, gap, 3-pixel line at Lb - 3, gap, 1-pixel at Lb - 6.
    const int y = 200;
    EXPECT_EQ(At(Lb, y), SheetTiling(1, 0, Lb, y));
    EXPECT_EQ(At(Lb - 1, y), SheetTiling(0, 0, Lb - 1, y));
    for (int x = Lb - 4; x <= Lb - 2; ++x)
        EXPECT_EQ(At(x, y), black) << x;
    EXPECT_EQ(At(Lb - 5, y), SheetTiling(0, 0, Lb - 5, y));
    EXPECT_EQ(At(Lb - 6, y), black);
    EXPECT_EQ(At(Lb - 7, y), SheetTiling(0, 0, Lb - 7, y));

    // Top and bottom edges of the board square.
    const int x = 200;
    for (int yy = Tb - 4; yy <= Tb - 2; ++yy)
        EXPECT_EQ(At(x, yy), black) << yy;
    EXPECT_EQ(At(x, Tb - 6), black);
    EXPECT_EQ(At(x, Tb - 5), SheetTiling(0, 0, x, Tb - 5));
    for (int yy = B + 1; yy <= B + 3; ++yy)
        EXPECT_EQ(At(x, yy), black) << yy;
    EXPECT_EQ(At(x, B + 5), black);

    // Right edge of the board square above the side panel, and the panel's right edge.
    const int above = 25;
    EXPECT_EQ(At(E, above), SheetTiling(0, 0, E, above));
    for (int xx = E + 1; xx <= E + 3; ++xx)
        EXPECT_EQ(At(xx, above), black) << xx;
    EXPECT_EQ(At(E + 5, above), black);
    for (int xx = Rp + 1; xx <= Rp + 3; ++xx)
        EXPECT_EQ(At(xx, y), black) << xx;
    EXPECT_EQ(At(Rp + 4, y), SheetTiling(0, 0, Rp + 4, y));
    EXPECT_EQ(At(Rp + 5, y), black);
    for (int yy = Tp - 4; yy <= Tp - 2; ++yy)
        EXPECT_EQ(At(600, yy), black) << yy;
    for (int yy = Bp + 1; yy <= Bp + 3; ++yy)
        EXPECT_EQ(At(600, yy), black) << yy;

    // Where board square and panel meet, no line divides them.
    EXPECT_EQ(At(E + 2, y), SheetTiling(1, 0, E + 2, y));
}

TEST_F(BoardPicture, TilesAreBrightOutsideAndDarkInsideTheBoard)
{
    // bright tiling from (0, 0) around the board
    for (const QPoint p : {QPoint(30, 200), QPoint(650, 20), QPoint(660, 390), QPoint(199, 399)})
        EXPECT_EQ(At(p.x(), p.y()), SheetTiling(0, 0, p.x(), p.y())) << p.x() << "," << p.y();
    // dark tiling between the cells and in the side panel, aligned with the same origin
    for (const QPoint p : {QPoint(135, 67), QPoint(405, 337), QPoint(82, 14), QPoint(470, 45), QPoint(630, 360)})
        EXPECT_EQ(At(p.x(), p.y()), SheetTiling(1, 0, p.x(), p.y())) << p.x() << "," << p.y();
}

TEST_F(BoardPicture, BackgroundDesignAndSizeChangesComposeAnew)
{
    Render(4, QSize(1200, 800));
    ASSERT_EQ(board.size(), QSize(1200, 800));
    EXPECT_EQ(At(30, 400), SheetTiling(0, 4, 30, 400));
    const Point between = g.CellCentre(0, 0);
    const int mid = g.CellSize / 2;
    EXPECT_EQ(At(between.x + mid, between.y + mid), SheetTiling(1, 4, between.x + mid, between.y + mid));
    EXPECT_EQ(At(0, 400), qRgb(0, 0, 0));
    EXPECT_EQ(At(1199, 400), qRgb(0, 0, 0));
    const Point red = g.CellCentre(0, 0);
    EXPECT_EQ(AtPolar(red, 15, g.CakeRadius / 2 + 3), qRgb(0xB3, 0, 0));
}

TEST(SheetRow, BackgroundNumbersOutsideTheSheetWrapAround)
{
    const int cases[][2] = {{0, 0}, {6, 6}, {7, 0}, {9, 2}, {-1, 6}, {-8, 6}, {INT32_MIN, ((INT32_MIN % 7) + 7) % 7}};
    for (const auto& c : cases)
        EXPECT_EQ(paint::SheetRow(c[0]), c[1]) << c[0];

    QImage back;
    const QImage sheet = testing::StandInSheet();
    paint::BuildBoardBack(back, QSize(250, 120), sheet, 9);
    EXPECT_EQ(back.pixel(249, 119), SheetTiling(1, 2, 249, 119));
    EXPECT_EQ(back.pixel(0, 0), SheetTiling(1, 2, 0, 0));
}

TEST(BoardPainting, OverlaysAndCallerFaults)
{
    const Geometry g = CalcLayout(kW, kH);
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);

    // pulse dot: 2r + 1 pixels centred on the cell centre, no outline
    const Point c = g.CellCentre(3, 3);
    const int r = g.CakeRadius / 5;
    paint::DrawPulseDot(p, g, c.x, c.y, PulseColours()[8]);
    for (const QPoint d : {QPoint(0, 0), QPoint(-r, 0), QPoint(r, 0), QPoint(0, -r), QPoint(0, r)})
        EXPECT_EQ(image.pixel(c.x + d.x(), c.y + d.y()), qRgb(0xBF, 0xBF, 0xBF)) << d.x() << "," << d.y();
    for (const QPoint d : {QPoint(-r - 1, 0), QPoint(r + 1, 0), QPoint(0, -r - 1), QPoint(0, r + 1)})
        EXPECT_EQ(image.pixel(c.x + d.x(), c.y + d.y()), qRgb(255, 255, 255)) << d.x() << "," << d.y();

    // the pause cover empties all 49 cells, the side panel is left alone
    paint::DrawPauseCover(p, g);
    for (int col = 0; col < 7; ++col)
        for (int row = 0; row < 7; ++row) {
            const Point cc = g.CellCentre(col, row);
            EXPECT_EQ(image.pixel(cc.x, cc.y), qRgb(0, 0, 0));
            EXPECT_EQ(image.pixel(cc.x - g.CakeRadius, cc.y), qRgb(0x80, 0x80, 0x80));
        }
    EXPECT_EQ(image.pixel(g.PlateX, g.PlateY), qRgb(255, 255, 255));

    EXPECT_THROW(paint::DrawCake(p, g, c.x, c.y, 3, kEmpty), std::invalid_argument);
    EXPECT_THROW(paint::DrawCake(p, g, c.x, c.y, 3, 5), std::invalid_argument);
    EXPECT_THROW(paint::DrawEmptySlot(p, g, 0, 0), std::invalid_argument);
    p.end();

    QImage back, board;
    EXPECT_THROW(paint::BuildBoardBack(back, QSize(kW, kH), QImage(), 0), std::invalid_argument);
    paint::BuildBoardBack(back, QSize(100, 100), testing::StandInSheet(), 0);
    EXPECT_THROW(paint::DrawBackground(board, QSize(kW, kH), back, testing::StandInSheet(), 0, g), std::invalid_argument)
        << "a board background of another size";
}

} // namespace
} // namespace torvella
