// The cakes' labels: drawn only inside the coloured cakes they belong to, on every cake of
// colour, at every size and scale, and with a colour sign whose shape alone tells the four
// colours apart.
#include "test_render_images.h"

#include "core/Geometry.h"
#include "core/Tableau.h"
#include "paint/BoardPainter.h"
#include "paint/CakeLabels.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace torvella {
namespace {

struct Disc {
    Point centre;
    bool coloured;
};

// One cake of each colour with one, eleven and twelve slices, the mixed cake, a held and
// a served cake; the rest of the cells empty.
Tableau Sample(std::vector<Disc>& discs, const Geometry& g)
{
    Tableau t;
    t.CellColour.fill(kEmpty);
    t.CellSlices.fill(0);
    int n = 0;
    for (int colour = 1; colour <= kColours; ++colour)
        for (int slices : {1, 11, 12}) {
            const int col = n % kCols, row = n / kCols;
            t.Colour(col, row) = colour;
            t.Slices(col, row) = slices;
            discs.push_back({g.CellCentre(col, row), true});
            ++n;
        }
    t.Colour(6, 6) = kMixedCake;
    t.Slices(6, 6) = 1;
    discs.push_back({g.CellCentre(6, 6), false});
    t.HoldSlices[2] = 7;
    t.PlateSlices[3] = 4;
    discs.push_back({g.HoldCentre(2), true});
    discs.push_back({g.PlateCentre(3), true});
    return t;
}

QImage Render(QSize size, qreal ratio, const Geometry& g, const Tableau& t, bool labelled)
{
    QImage sheet = testing::StandInSheet();
    sheet.setDevicePixelRatio(ratio);
    if (ratio != 1)
        sheet = sheet.scaled(sheet.size() * ratio);
    sheet.setDevicePixelRatio(ratio);
    QImage back, board;
    paint::BuildBoardBack(back, size, sheet, 0);
    paint::RenderBoard(board, size, back, sheet, 0, g, t, labelled);
    return board;
}

TEST(CakeLabels, OnlyInsideColouredCakesAndOnEveryOne)
{
    const struct {
        int w, h;
        qreal ratio;
    } cases[] = {{702, 405, 1}, {702, 405, 2}, {480, 300, 1}, {1400, 900, 1}, {1400, 900, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " at " << c.ratio);
        const Geometry g = CalcLayout(c.w, c.h);
        std::vector<Disc> discs;
        const Tableau t = Sample(discs, g);
        const QImage plain = Render({c.w, c.h}, c.ratio, g, t, false);
        const QImage labelled = Render({c.w, c.h}, c.ratio, g, t, true);
        ASSERT_EQ(plain.size(), labelled.size());

        std::vector<int> changed(discs.size(), 0);
        int outside = 0;
        const int r = g.CakeRadius;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                if (plain.pixel(x, y) == labelled.pixel(x, y))
                    continue;
                const double lx = x / c.ratio, ly = y / c.ratio;
                bool inside = false;
                for (size_t i = 0; i < discs.size(); ++i) {
                    const double dx = lx - discs[i].centre.x, dy = ly - discs[i].centre.y;
                    if (dx * dx + dy * dy <= (r - 2) * (r - 2)) {
                        inside = discs[i].coloured;
                        ++changed[i];
                    }
                }
                outside += inside ? 0 : 1;
            }
        EXPECT_EQ(outside, 0) << "label pixels outside a coloured cake";
        for (size_t i = 0; i < discs.size(); ++i)
            if (discs[i].coloured)
                EXPECT_GT(changed[i], r) << "cake " << i << " has no label";
            else
                EXPECT_EQ(changed[i], 0) << "the mixed cake got a label";
    }
}

TEST(CakeLabels, TheSignsShapeTellsTheColourWithoutHue)
{
    const Geometry g = CalcLayout(702, 405);
    const int r = g.CakeRadius;
    std::set<std::vector<bool>> shapes;
    for (int colour = 1; colour <= kColours; ++colour) {
        QImage img(2 * r, 2 * r, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        paint::DrawColourSign(p, g, r, r, colour);
        p.end();
        std::vector<bool> mask;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor px = img.pixelColor(x, y);
                EXPECT_TRUE(px.red() == px.green() && px.green() == px.blue()) << "a sign is grey, not a hue";
                mask.push_back(px.lightness() > 200);
            }
        shapes.insert(mask);
    }
    EXPECT_EQ(shapes.size(), 4u) << "each colour has a shape of its own";
}

} // namespace
} // namespace torvella
