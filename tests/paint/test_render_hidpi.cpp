// Board and tool bar drawn for high-density screens: the same logical geometry, painted at
// the device pixels. A 2x picture is held against the 1x one: every pixel of either must
// find its colour in the other within one device pixel, so each slice boundary, outline
// and frame stands where the 1x geometry puts it, scaled.
#include "test_render_images.h"

#include "core/Colours.h"
#include "core/Deal.h"
#include "core/Geometry.h"
#include "core/Tableau.h"
#include "tools/cli/Commands.h"
#include "tools/cli/Render.h"
#include "paint/BoardPainter.h"
#include "paint/ToolBarPainter.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace torvella {
namespace {

QRgb FlatTile(int column, int row) { return qRgb(40 + 150 * column, 90, 10 + 20 * row); }

// A picture twice the size, every pixel doubled, marked as made for ratio 2: the stand-ins
// at 2x tell the same story as at 1x.
QImage Doubled(const QImage& image)
{
    QImage twice = image.convertToFormat(QImage::Format_RGB32).scaled(image.size() * 2);  // nearest
    twice.setDevicePixelRatio(2);
    return twice;
}

// A stand-in sheet for a ratio: flat tiles, each design's bright and dark tile one colour of
// its own, so the background shows no pattern an edge could be confused with.
QImage FlatSheet(double ratio)
{
    const int tile = qRound(100 * ratio);
    QImage sheet(2 * tile, 7 * tile, QImage::Format_RGB32);
    QPainter p(&sheet);
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 2; ++column)
            p.fillRect(column * tile, row * tile, tile, tile, QColor(FlatTile(column, row)));
    p.end();
    sheet.setDevicePixelRatio(ratio);
    return sheet;
}

Tableau Dealt(uint32_t state)
{
    Tableau t;
    Random rng(state);
    DealTableau(t, rng);
    return t;
}

struct Rendered {
    QImage board;
    Geometry g;
};

Rendered Render(const QImage& sheet, QSize size, int backMode, const Tableau& t)
{
    Rendered r;
    r.g = CalcLayout(size.width(), size.height());
    QImage back;
    paint::BuildBoardBack(back, size, sheet, backMode);
    paint::RenderBoard(r.board, size, back, sheet, backMode, r.g, t);
    return r;
}

// What a cake at (x, y) shows at a logical point, from the geometry alone: the base disc
// inscribed in (x - R, y - R, x + R, y + R) with a one-pixel outline, the slices on the
// disc of radius R - 3 between the rays through the rounded rim points, the centre dot of
// radius R div 3. nullopt within `slack` of any of those edges.
constexpr float kSin[13] = {0, 0.5f, 0.866f, 1, 0.866f, 0.5f, 0, -0.5f, -0.866f, -1, -0.866f, -0.5f, 0};
constexpr float kCos[13] = {-1, -0.866f, -0.5f, 0, 0.5f, 0.866f, 1, 0.866f, 0.5f, 0, -0.5f, -0.866f, -1};

struct Cake {
    int x, y, slices, colour;  // colour -1: an empty cell; 5 + c: the empty slot of colour c
};

using Rays = std::array<double, 13>;

// The rays run through the rounded rim points, one pixel up and left; angles clockwise
// from 12 o'clock.
Rays RaysFor(int R)
{
    Rays rays{};
    for (int i = 0; i <= kMaxSlices; ++i)
        rays[i] = std::atan2(std::nearbyint(double(R) * kSin[i]) - 1, -(std::nearbyint(double(R) * kCos[i]) - 1));
    return rays;
}

std::optional<QRgb> CakeAt(const Cake& k, int R, const Rays& rays, double px, double py, double slack)
{
    const auto& table = ColourTable();
    const double dx = px - k.x, dy = py - k.y, d = std::hypot(dx, dy);
    const int r = R / 3;
    auto near = [&](double edge) { return std::abs(d - edge) < slack; };
    if (near(R) || near(R - 1))
        return std::nullopt;
    if (d > R)
        return std::nullopt;  // not the cake's
    const bool empty = k.colour == kEmpty, slot = k.colour >= 5, mixed = k.colour == kMixedCake;
    const int c = slot ? k.colour - 5 : k.colour;
    if (d > R - 1)
        return testing::Bgr(empty ? 0x808080u : mixed ? 0x606060u : table[c][14]);
    const QRgb base = testing::Bgr(empty || mixed ? 0u : table[c][13]);
    if (empty || slot)
        return base;
    const int count = mixed ? kMaxSlices : std::min(k.slices, kMaxSlices);
    if (near(r) || near(r - 1) || near(R - 3))
        return std::nullopt;
    if (d < r)
        return d > r - 1 ? testing::Bgr(mixed ? 0x606060u : table[c][count]) : testing::Bgr(0);
    if (d > R - 3)
        return base;
    const double a = std::atan2(dx, -dy);
    auto clockwise = [](double from, double to) {
        double s = std::fmod(to - from, 2 * std::numbers::pi);
        return s < 0 ? s + 2 * std::numbers::pi : s;
    };
    for (int i = 1; i <= kMaxSlices; ++i) {
        const double from = rays[i - 1], to = rays[i];
        if (clockwise(from, a) >= clockwise(from, to))
            continue;
        // within slack of either ray that bounds this slice: no colour is fixed there
        if (std::min(std::abs(std::sin(a - from)), std::abs(std::sin(a - to))) * d < slack)
            return std::nullopt;
        return i <= count ? testing::Bgr(mixed ? table[(i % 4) + 1][i] : table[c][i]) : base;
    }
    return std::nullopt;  // exactly on a ray, where rounding picks no slice
}

// Every device pixel of the picture (ratio r) whose colour the geometry fixes and that
// lies more than one device pixel from an edge: how many of them differ, and the first.
std::string CakesOffGeometry(const QImage& img, double r, int R, const std::vector<Cake>& cakes)
{
    const double slack = 1.0 / r + 0.05;
    const Rays rays = RaysFor(R);
    long bad = 0;
    std::string first;
    for (const Cake& k : cakes)
        for (int Y = int((k.y - R - 1) * r); Y <= int((k.y + R + 1) * r); ++Y)
            for (int X = int((k.x - R - 1) * r); X <= int((k.x + R + 1) * r); ++X) {
                const auto want = CakeAt(k, R, rays, (X + 0.5) / r, (Y + 0.5) / r, slack);
                if (!want || img.pixel(X, Y) == *want)
                    continue;
                if (bad++ == 0)
                    first = "device pixel " + std::to_string(X) + "," + std::to_string(Y) + " is " +
                            QColor(img.pixel(X, Y)).name().toStdString() + " instead of " +
                            QColor(*want).name().toStdString();
            }
    return bad == 0 ? std::string() : std::to_string(bad) + " pixels off, " + first;
}

std::vector<Cake> CakesOf(const Tableau& t, const Geometry& g)
{
    std::vector<Cake> cakes;
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row) {
            const Point c = g.CellCentre(col, row);
            cakes.push_back({c.x, c.y, t.Slices(col, row), t.Slices(col, row) ? t.Colour(col, row) : kEmpty});
        }
    for (int c = 1; c <= kColours; ++c) {
        const Point hold = g.HoldCentre(c), plate = g.PlateCentre(c);
        cakes.push_back({hold.x, hold.y, t.HoldSlices[c], t.HoldSlices[c] > 0 ? c : 5 + c});
        cakes.push_back({plate.x, plate.y, t.PlateSlices[c], t.PlateSlices[c] > 0 ? c : 5 + c});
    }
    return cakes;
}

// The frames along the line y = OriginY: the area's three frames on the left, then the
// board square's two outlines, from the geometry. nullopt within one device pixel of an edge.
std::optional<QRgb> FrameAt(const Geometry& g, int backMode, double px, double slack)
{
    const int Lb = g.OriginX - g.CellSize / 2;
    // [from, to) in logical pixels, black
    const std::pair<int, int> black[] = {{0, 1}, {2, 5}, {6, 7}, {Lb - 6, Lb - 5}, {Lb - 4, Lb - 1}};
    for (const auto& [from, to] : black) {
        if (std::abs(px - from) < slack || std::abs(px - to) < slack)
            return std::nullopt;
        if (px > from && px < to)
            return qRgb(0, 0, 0);
    }
    if (std::abs(px - Lb) < slack)
        return std::nullopt;
    return FlatTile(px < Lb ? 0 : 1, backMode);
}

TEST(HighDensityBoard, SlicesOutlinesAndFramesStandWhereTheGeometrySaysAtEveryRatio)
{
    // The window's first size, a wide one and an odd one (odd cell size, odd half cells),
    // each at the ratios of common screens.
    const struct {
        QSize size;
        int backMode;
        uint32_t state;
    } boards[] = {{{702, 405}, 0, 1}, {{1000, 420}, 3, 4711}, {{731, 517}, 6, 99}};
    for (double ratio : {1.0, 1.5, 2.0})
        for (const auto& b : boards) {
            SCOPED_TRACE(std::to_string(b.size.width()) + "x" + std::to_string(b.size.height()) + " at " +
                         std::to_string(ratio));
            Tableau t = Dealt(b.state);
            // every kind of side-panel slot: a held cake, plates with cakes, empty ones
            t.HoldSlices[1] = 4;
            t.PlateSlices[2] = 12;
            t.PlateSlices[3] = 1;
            t.Colour(3, 3) = kEmpty;
            t.Slices(3, 3) = 0;
            const Rendered two = Render(FlatSheet(ratio), b.size, b.backMode, t);
            ASSERT_EQ(two.board.size(), paint::DeviceSize(b.size, ratio));
            EXPECT_EQ(two.board.devicePixelRatio(), ratio);
            EXPECT_EQ(CakesOffGeometry(two.board, ratio, two.g.CakeRadius, CakesOf(t, two.g)), "");

            const int Y = int((two.g.OriginY + 0.5) * ratio);
            for (int X = 0; X < int((two.g.OriginX - two.g.CellSize / 2 + 3) * ratio); ++X) {
                const auto want = FrameAt(two.g, b.backMode, (X + 0.5) / ratio, 1.0 / ratio + 0.05);
                if (want) {
                    ASSERT_EQ(QColor(two.board.pixel(X, Y)).name(), QColor(*want).name()) << "device x " << X;
                }
            }
        }
}

// The window keeps no BoardBackBitmap: it tiles the board square and the side panel from
// the sheet where they are. That must give the very pixels of the copy from the kept
// picture, for every design, at odd sizes and at every ratio (a patterned sheet, so a tile
// shifted by one pixel shows).
TEST(HighDensityBoard, TheBoardWithoutAKeptBackgroundIsTheSamePixelForPixel)
{
    const struct {
        QSize size;
        int backMode;
    } boards[] = {{{702, 405}, 0}, {{1000, 420}, 3}, {{731, 517}, 6}, {{250, 120}, 9}};
    for (double ratio : {1.0, 1.5, 2.0})
        for (const auto& b : boards) {
            SCOPED_TRACE(std::to_string(b.size.width()) + "x" + std::to_string(b.size.height()) + " at " +
                         std::to_string(ratio));
            QImage sheet = testing::StandInSheet().scaled(testing::StandInSheet().size() * ratio);
            sheet.setDevicePixelRatio(ratio);
            const Tableau t = Dealt(uint32_t(b.backMode) + 7);
            const Rendered kept = Render(sheet, b.size, b.backMode, t);
            QImage tiled;
            paint::RenderBoard(tiled, b.size, sheet, b.backMode, kept.g, t);
            EXPECT_EQ(tiled.devicePixelRatio(), kept.board.devicePixelRatio());
            EXPECT_TRUE(tiled == kept.board);
        }
}

TEST(HighDensityBoard, FinerPicturesAreFinerNotEnlarged)
{
    // At 2x a cake's rim is not the 1x staircase doubled: along the edges many 2 x 2
    // blocks of device pixels are not of one colour.
    const Rendered two = Render(FlatSheet(2), QSize(702, 405), 0, Dealt(1));
    int mixedBlocks = 0;
    for (int y = 0; y + 1 < two.board.height(); y += 2)
        for (int x = 0; x + 1 < two.board.width(); x += 2) {
            const QRgb c = two.board.pixel(x, y);
            if (two.board.pixel(x + 1, y) != c || two.board.pixel(x, y + 1) != c || two.board.pixel(x + 1, y + 1) != c)
                ++mixedBlocks;
        }
    EXPECT_GT(mixedBlocks, 49 * 20);
}

TEST(HighDensityBoard, ScreenOnlyDrawingFollowsTheRatio)
{
    // Lifted cake and pause cover are drawn straight onto the screen's painter, at its ratio.
    const Geometry g = CalcLayout(702, 405);
    for (double ratio : {1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage screen(paint::DeviceSize(QSize(702, 405), ratio), QImage::Format_RGB32);
        screen.setDevicePixelRatio(ratio);
        screen.fill(Qt::darkCyan);
        QPainter p(&screen);
        paint::DrawPauseCover(p, g);
        paint::DrawCake(p, g, 333, 217, 7, 2);  // the lifted cake, over the cover
        p.end();
        std::vector<Cake> cakes;
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const Point c = g.CellCentre(col, row);
                // cells under the lifted cake are partly hidden
                if (std::hypot(c.x - 333, c.y - 217) > 2 * g.CakeRadius + 2)
                    cakes.push_back({c.x, c.y, 0, kEmpty});
            }
        cakes.push_back({333, 217, 7, 2});
        EXPECT_EQ(CakesOffGeometry(screen, ratio, g.CakeRadius, cakes), "");
    }
}

TEST(HighDensityToolBar, TwiceTheRatioComposesGlyphsAndIconsAtDevicePixels)
{
    // With every stand-in doubled, the 2x strip is exactly the 1x strip doubled: the
    // tiling, the AND/OR copies of glyphs and icons and the field refills all land on
    // device pixels twice the logical ones.
    const paint::ToolBarImages one{testing::StandInSheet(), testing::StandInDigits(), testing::StandInJumpIcon(),
                                testing::StandInJumpMask()};
    const paint::ToolBarImages two{Doubled(one.sheet), Doubled(one.digits), Doubled(one.jumpIcon),
                                Doubled(one.jumpMask)};
    EXPECT_EQ(paint::JumpField(two.jumpIcon), paint::JumpField(one.jumpIcon));
    const int width = 702;
    QImage strip1(width, paint::kToolBarHeight, QImage::Format_RGB32);
    QImage strip2(2 * width, 2 * paint::kToolBarHeight, QImage::Format_RGB32);
    strip2.setDevicePixelRatio(2);
    for (const auto& [score, jumps, laterScore, laterJumps] :
         {std::tuple{-37, 3, 8, 2}, std::tuple{99999, 1, -9999, 0}, std::tuple{10, 2, 9, 3}}) {
        SCOPED_TRACE(score);
        for (auto [strip, img] : {std::pair{&strip1, &one}, std::pair{&strip2, &two}}) {
            strip->fill(Qt::white);
            QPainter p(strip);
            paint::ToolBoxPaint(p, width, *img, 4, score, jumps);
            paint::DrawScore(p, *img, 4, laterScore);
            paint::DrawJumps(p, *img, 4, laterJumps);
        }
        QImage want = Doubled(strip1);
        want.setDevicePixelRatio(1);
        QImage got = strip2;
        got.setDevicePixelRatio(1);
        EXPECT_TRUE(got == want) << "the 2x strip is not the 1x strip doubled";
    }
}

TEST(HighDensityToolBar, PicturesBetweenTheStoredRatiosKeepMasksThatAgree)
{
    for (double ratio : {1.25, 1.5, 3.0}) {
        SCOPED_TRACE(ratio);
        const paint::ToolBarImages img = paint::LoadToolBarImages(ratio);
        EXPECT_EQ(img.sheet.devicePixelRatio(), ratio);
        const int tile = qRound(100 * ratio);
        EXPECT_EQ(img.sheet.size(), QSize(2 * tile, 7 * tile)) << "whole tiles, so the tiling keeps its period";
        EXPECT_EQ(paint::JumpField(img.jumpIcon), QRect(382, 6, 141, 45));
        ASSERT_EQ(img.jumpIcon.size(), img.jumpMask.size());
        const int half = img.digits.height() / 2;
        auto agree = [](const QImage& picture, QRect pictureArea, const QImage& mask, QPoint maskAt) {
            int shape = 0;
            for (int y = 0; y < pictureArea.height(); ++y)
                for (int x = 0; x < pictureArea.width(); ++x) {
                    const QRgb m = mask.pixel(maskAt.x() + x, maskAt.y() + y) & 0xFFFFFF;
                    const QRgb c = picture.pixel(pictureArea.x() + x, pictureArea.y() + y) & 0xFFFFFF;
                    if (m != 0 && m != 0xFFFFFF)
                        return std::string("mask pixel neither black nor white");
                    if (m == 0xFFFFFF && c != 0)
                        return "picture shows where its mask keeps the background at " + std::to_string(x) + "," +
                               std::to_string(y);
                    shape += m == 0;
                }
            return shape > 0 ? std::string() : std::string("empty mask");
        };
        EXPECT_EQ(agree(img.digits, QRect(0, 0, img.digits.width(), half), img.digits, QPoint(0, half)), "");
        EXPECT_EQ(agree(img.jumpIcon, img.jumpIcon.rect(), img.jumpMask, QPoint(0, 0)), "");
    }
}

TEST(HighDensityCli, RenderScaleDrawsTheBoardAtThatRatio)
{
    QTemporaryDir dir;
    std::FILE* out = std::tmpfile();
    const std::string png = dir.filePath("deal2.png").toStdString();
    ASSERT_EQ(cli::RenderCommand({"--scale", "2", "--size", "800x450", "4711", png}, out), 0);
    std::rewind(out);
    char buf[256] = {};
    std::fread(buf, 1, sizeof buf - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buf), "{\"png\":\"" + png + "\",\"seed\":4711,\"width\":800,\"height\":450,\"backmode\":0,"
                                 "\"scale\":2}\n");

    // the window's own drawing at ratio 2, with the 2x sheet
    const QImage written(QString::fromStdString(png));
    const Rendered want = Render(paint::LoadToolBarImages(2).sheet, QSize(800, 450), 0, Dealt(4711));
    ASSERT_EQ(written.size(), QSize(1600, 900));
    QImage plain = want.board;
    plain.setDevicePixelRatio(1);
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), plain);

    std::FILE* sink = std::tmpfile();
    ASSERT_EQ(cli::RenderCommand({"--scale", "1.5", "1", dir.filePath("deal15.png").toStdString()}, sink), 0);
    EXPECT_EQ(QImage(dir.filePath("deal15.png")).size(), QSize(1053, 608));
    for (const char* bad : {"0", "0.5", "4.5", "two", "1,5", "", "nan", "inf", "2x"})
        EXPECT_THROW(cli::RenderCommand({"--scale", bad, "1", dir.filePath("bad.png").toStdString()}, sink),
                     cli::UsageError)
            << bad;
    EXPECT_THROW(cli::RenderCommand({"--scale", "4", "--size", "9000x9000", "1", dir.filePath("big.png").toStdString()},
                                    sink),
                 cli::UsageError);
    std::fclose(sink);
    EXPECT_FALSE(QFile::exists(dir.filePath("bad.png")));
}

} // namespace
} // namespace torvella
