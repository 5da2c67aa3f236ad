// Painting costs of the board area and the tool bar, with the program's own pictures.
// Targets: RenderBoard < 2 ms at 702 x 405 and < 8 ms at 1920 x 1080, one DrawCake
// < 50 us, DrawScore < 50 us, a timer tick's 49 pulse dots < 300 us.
#include "assets/Pictures.h"
#include "core/Colours.h"
#include "core/Deal.h"
#include "core/Geometry.h"
#include "paint/BoardPainter.h"
#include "paint/ToolBarPainter.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace {

using namespace torvella;

QImage Sheet()
{
    static const QImage sheet = assets::Bmps(assets::BmpsSheet).convertToFormat(QImage::Format_RGB32);
    return sheet;
}

Tableau Dealt()
{
    Tableau t;
    Random rng(12345);
    DealTableau(t, rng);
    t.HoldSlices[2] = 7;
    t.PlateSlices[1] = 12;
    return t;
}

// The whole board picture after a deal, undo, resize or background change.
void BM_RenderBoard(benchmark::State& state)
{
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QImage sheet = Sheet();
    const Geometry g = CalcLayout(size.width(), size.height());
    const Tableau t = Dealt();
    QImage back, board;
    paint::BuildBoardBack(back, size, sheet, 0);
    for (auto _ : state) {
        paint::RenderBoard(board, size, back, sheet, 0, g, t);
        benchmark::DoNotOptimize(board.constBits());
    }
}
BENCHMARK(BM_RenderBoard)->Args({702, 405})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

// Tiling the dark board background, once per size or background change.
void BM_BuildBoardBack(benchmark::State& state)
{
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QImage sheet = Sheet();
    QImage back;
    for (auto _ : state) {
        paint::BuildBoardBack(back, size, sheet, 3);
        benchmark::DoNotOptimize(back.constBits());
    }
}
BENCHMARK(BM_BuildBoardBack)->Args({702, 405})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

// One cake, as a move draws it into the board picture (and again on the screen).
void BM_DrawCake(benchmark::State& state)
{
    const Geometry g = CalcLayout(702, 405);
    QImage board(702, 405, QImage::Format_RGB32);
    board.fill(Qt::darkGray);
    QPainter p(&board);
    const int colour = static_cast<int>(state.range(0));
    for (auto _ : state) {
        paint::DrawCake(p, g, g.OriginX, g.OriginY, 12, colour);
        benchmark::DoNotOptimize(board.constBits());
    }
}
BENCHMARK(BM_DrawCake)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The score field with five glyphs, as the clock redraws it every second.
void BM_DrawScore(benchmark::State& state)
{
    const paint::ToolBarImages img = paint::LoadToolBarImages();
    QImage strip(702, paint::kToolBarHeight, QImage::Format_RGB32);
    QPainter p(&strip);
    paint::ToolBoxPaint(p, 702, img, 0, 0, 3);
    int32_t score = -9999;
    for (auto _ : state) {
        paint::DrawScore(p, img, 0, score);
        score = score == -9999 ? 88888 : -9999;
        benchmark::DoNotOptimize(strip.constBits());
    }
}
BENCHMARK(BM_DrawScore)->Unit(benchmark::kMicrosecond);

// A timer tick in its worst case: a pulse dot on all 49 cells.
void BM_PulseDots(benchmark::State& state)
{
    const Geometry g = CalcLayout(702, 405);
    QImage screen(702, 405, QImage::Format_RGB32);
    screen.fill(Qt::darkGray);
    QPainter p(&screen);
    int step = 0;
    for (auto _ : state) {
        const uint32_t colour = PulseColours()[step++ & 15];
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const Point c = g.CellCentre(col, row);
                paint::DrawPulseDot(p, g, c.x, c.y, colour);
            }
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PulseDots)->Unit(benchmark::kMicrosecond);

// A repaint of the board area: one block copy of the board picture plus the 49 dots.
void BM_RepaintWithPulse(benchmark::State& state)
{
    const QSize size(702, 405);
    const QImage sheet = Sheet();
    const Geometry g = CalcLayout(size.width(), size.height());
    QImage back, board;
    paint::BuildBoardBack(back, size, sheet, 0);
    paint::RenderBoard(board, size, back, sheet, 0, g, Dealt());
    QImage screen(size, QImage::Format_RGB32);
    QPainter p(&screen);
    for (auto _ : state) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, board);
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const Point c = g.CellCentre(col, row);
                paint::DrawPulseDot(p, g, c.x, c.y, PulseColours()[8]);
            }
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_RepaintWithPulse)->Unit(benchmark::kMicrosecond);

} // namespace
