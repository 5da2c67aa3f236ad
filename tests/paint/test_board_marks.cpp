// The hint's marks and the look of a cake the keys hold, drawn over a dealt board on each of
// the seven real backgrounds: every mark is a light line edged in black (so it reads on
// any picture), the hint's two cells are marked differently, and nothing is drawn outside
// the rectangle the window repaints when the marks go.
#include "assets/Pictures.h"
#include "core/Deal.h"
#include "core/Geometry.h"
#include "core/Random.h"
#include "core/Rules.h"
#include "core/Tableau.h"
#include "paint/BoardMarks.h"
#include "paint/BoardPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace torvella {
namespace {

constexpr int kW = 702, kH = 405;

bool IsLine(QRgb c, QRgb line)
{
    return std::abs(qRed(c) - qRed(line)) <= 0x10 && std::abs(qGreen(c) - qGreen(line)) <= 0x10 &&
           std::abs(qBlue(c) - qBlue(line)) <= 0x10;
}

class Marks : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        const int back = GetParam();
        Random rng(1000u + back);
        DealTableau(t, rng);
        const QImage sheet = assets::Picture(assets::PictureList::Bmps, assets::BmpsSheet);
        paint::BuildBoardBack(boardBack, QSize(kW, kH), sheet, back);
        paint::RenderBoard(board, QSize(kW, kH), boardBack, sheet, back, g, t);
    }

    // Walks from `a` to `b` and answers whether it crosses a line of `line` colour with a
    // dark edge on both sides of it (at most half the line's brightness), so the line
    // stands out whatever lies around it.
    static ::testing::AssertionResult EdgedLine(const QImage& image, QPointF a, QPointF b, QRgb line)
    {
        const int steps = int(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y()))) * 2;
        std::vector<QRgb> run;
        for (int i = 0; i <= steps; ++i) {
            const QPointF p = a + (b - a) * (double(i) / steps);
            run.push_back(image.pixel(int(std::floor(p.x())), int(std::floor(p.y()))));
        }
        const auto dark = [line](QRgb c) { return qGray(c) * 2 <= qGray(line); };
        const auto onLine = std::find_if(run.begin(), run.end(), [line](QRgb c) { return IsLine(c, line); });
        if (onLine != run.end() && std::any_of(run.begin(), onLine, dark) &&
            std::any_of(std::find_if_not(onLine, run.end(), [line](QRgb c) { return IsLine(c, line); }), run.end(), dark))
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "no dark-edged line from (" << a.x() << "," << a.y() << ") to (" << b.x() << "," << b.y() << "):";
        for (QRgb c : run)
            failure << ' ' << std::hex << (c & 0xFFFFFF);
        return failure;
    }

    // Every pixel that differs between the two pictures lies inside `allowed`.
    static bool ChangesWithin(const QImage& before, const QImage& after, const QRect& allowed)
    {
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixel(x, y) != after.pixel(x, y) && !allowed.contains(x, y))
                    return false;
        return true;
    }

    Tableau t;
    const Geometry g = CalcLayout(kW, kH);
    QImage boardBack, board;
};

TEST_P(Marks, HintRingsTheCakeToLiftAndPointsAnArrowIntoItsTarget)
{
    struct Case {
        const char* name;
        Cell from, to;
    };
    for (const Case& c : {Case{"up", {3, 3}, {3, 2}}, Case{"left", {1, 4}, {0, 4}},
                          Case{"jump across the board", {0, 0}, {6, 5}}}) {
        SCOPED_TRACE(c.name);
        const Point from = g.CellCentre(c.from.col, c.from.row), to = g.CellCentre(c.to.col, c.to.row);
        QImage shown = board.copy();
        {
            QPainter p(&shown);
            paint::DrawHintMarks(p, g, from, to);
        }
        EXPECT_TRUE(ChangesWithin(board, shown, paint::HintMarksRect(g, from, to)));

        const qreal half = g.CellSize / 2.0;
        const QPointF f(from.x + 0.5, from.y + 0.5), tc(to.x + 0.5, to.y + 0.5);
        // The ring around the cake to lift, crossed on the side away from the arrow.
        const QPointF away = (f - tc) / std::hypot(f.x() - tc.x(), f.y() - tc.y());
        EXPECT_TRUE(EdgedLine(shown, f + away * (half - 6), f + away * (half + 6), 0xFFFFFF));
        // The arrow's shaft, crossed halfway between the ring and the target's centre.
        const QPointF along = -away, across(-along.y(), along.x());
        const QPointF mid = f + along * (half + (std::hypot(tc.x() - f.x(), tc.y() - f.y()) - half) / 3);
        EXPECT_TRUE(EdgedLine(shown, mid - across * 8, mid + across * 8, 0xFFFFFF));
        // Its tip reaches into the target; the target wears no ring on its far side.
        EXPECT_TRUE(IsLine(shown.pixel(QPoint(int(tc.x() - along.x() * 4), int(tc.y() - along.y() * 4))), 0xFFFFFF));
        const QPointF far = tc + along * half;
        EXPECT_EQ(shown.pixel(far.toPoint()), board.pixel(far.toPoint()));
    }
}

TEST_P(Marks, ACarriedCakeStandsRaisedInAGoldRingWithinTheRingsSquare)
{
    const Point c = g.CellCentre(2, 3);
    QImage plain = board.copy(), carried = board.copy();
    {
        QPainter p(&plain);
        paint::DrawEmptyCell(p, g, c.x, c.y);
        paint::DrawCake(p, g, c.x, c.y, 12, 2);
    }
    {
        QPainter p(&carried);
        paint::DrawEmptyCell(p, g, c.x, c.y);
        paint::DrawCarriedCake(p, g, c.x, c.y, 12, 2);
    }
    EXPECT_TRUE(ChangesWithin(board, carried, paint::CursorRingRect(g, c.x, c.y)));
    // The same cake, shifted up and to the left.
    const int lift = paint::CarryLift(g);
    for (const QPoint d : {QPoint(0, -g.CakeRadius / 2), QPoint(g.CakeRadius / 2, 0), QPoint(-5, 6)})
        EXPECT_EQ(carried.pixel(QPoint(c.x - lift, c.y - lift) + d), plain.pixel(QPoint(c.x, c.y) + d));
    // The ring is gold, edged in black, where the cake does not cover it.
    const qreal half = g.CellSize / 2.0;
    EXPECT_TRUE(EdgedLine(carried, QPointF(c.x + 0.5, c.y + half - 6), QPointF(c.x + 0.5, c.y + half + 6),
                          paint::kCarriedRing));
}

INSTANTIATE_TEST_SUITE_P(EveryBackground, Marks, ::testing::Range(0, 7));

} // namespace
} // namespace torvella
