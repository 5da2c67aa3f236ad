#pragma once
// Drawing of the board area: the tiled background, the board square and side panel, the
// frames, and the cakes as round tarts of twelve 30-degree slices. Everything draws into
// a QPainter, so the same code fills the window's board picture and torvella-cli's PNG.
//
// Coordinates are logical pixels, the geometry's own. On a high-density screen the pictures
// have more device pixels than logical ones (their devicePixelRatio says how many per logical
// pixel); the painter maps the geometry onto them, so edges, slices and frames come out as
// fine as the screen allows. At a ratio of 1 every pixel is what the plain drawing gives.
#include "core/Geometry.h"
#include "core/Tableau.h"

#include <QImage>
#include <QPainter>

namespace torvella::paint {

// The device pixel ratio a painter paints at: 1 on an ordinary screen and in a plain QImage.
qreal PaintRatio(const QPainter& p);
// The device pixels a logical rectangle covers at ratio r, every edge rounded on its own, so
// that neighbouring rectangles share their edges at any ratio.
QRect DeviceRect(const QRect& logical, qreal r);
QSize DeviceSize(const QSize& logical, qreal r);
// Copies a picture to the painter one picture pixel to one device pixel, its top-left
// corner at the painter's origin (block copy, replacing what is there).
void DrawDevicePixels(QPainter& p, const QImage& picture, const QRect& logicalDirty);

// The row of the background sheet for a background number; numbers outside 0..6 (only
// possible from a hand-edited store) wrap around instead of reading outside the sheet.
int SheetRow(int backMode);

// Fills `area` with the tiling of one column of the sheet (0 bright, 1 dark) for backMode,
// tiles aligned to (0, 0) of the painter's device: pixel (x, y) shows the sheet pixel
// (column·tw + x mod tw, row·th + y mod th). Block copies only; replaces what is there.
// The copies are made in device pixels: the sheet must hold the pixels for the painter's
// ratio (the 1x sheet at ratio 1, the 2x sheet at ratio 2, a smooth scaling in between).
void FillFromSheet(QPainter& p, const QRect& area, const QImage& sheet, int column, int backMode);

// The sheet holds 2 x 7 tiles (tile width = width div 2, height = height div 7); a sheet
// too small for that throws std::invalid_argument. Its devicePixelRatio is the ratio the
// board pictures are made for: they get size·ratio device pixels and the same ratio.
// BoardBackBitmap: the board area tiled with the dark tile of backMode, tiles from (0, 0).
void BuildBoardBack(QImage& boardBack, QSize size, const QImage& sheet, int backMode);
// Sizes `board` and draws everything except cells, hold places and plates into it.
void DrawBackground(QImage& board, QSize size, const QImage& boardBack, const QImage& sheet, int backMode,
                    const Geometry& g);
// DrawBackground, then every cell, hold place and plate; `labelled` adds each cake's
// label (CakeLabels.h).
void RenderBoard(QImage& board, QSize size, const QImage& boardBack, const QImage& sheet, int backMode,
                 const Geometry& g, const Tableau& t, bool labelled = false);
// The same picture without a BoardBackBitmap kept beside it: the board square and the side
// panel are tiled from the sheet where they are (a window keeps one full-size picture less).
void RenderBoard(QImage& board, QSize size, const QImage& sheet, int backMode, const Geometry& g, const Tableau& t,
                 bool labelled = false);
// The part `dirty` of that same picture painted straight onto p, a painter already clipped
// to `dirty` (a widget's in its paint event): the background there, then only the cells,
// hold places and plates whose disc reaches into it. All of it is opaque and aliased, so
// every pixel in `dirty` comes out as RenderBoard makes it, and a window needs no picture
// of the board beside the one on the screen.
void PaintBoardPart(QPainter& p, const QRegion& dirty, QSize size, const QImage& sheet, int backMode,
                    const Geometry& g, const Tableau& t, bool labelled = false);

// The drawing functions below set pen, brush, composition mode and antialiasing of the
// painter as they need them (aliased, so every interior pixel has its exact table colour)
// and leave them so. A colour code outside 0..4 (1..4 for a slot) is a caller's fault and
// throws std::invalid_argument; DrawCake draws at most twelve slices.
void DrawCake(QPainter& p, const Geometry& g, int x, int y, int slices, int colour, bool labelled = false);
void DrawEmptyCell(QPainter& p, const Geometry& g, int x, int y);
// column 0 the hold place, 1 the plate
void DrawEmptySlot(QPainter& p, const Geometry& g, int column, int colour);
// The pulse dot at a cell centre: radius CakeRadius div 5, no outline.
void DrawPulseDot(QPainter& p, const Geometry& g, int x, int y, uint32_t colour);
// The pause cover: all 49 cells drawn empty (the side panel stays as it is).
void DrawPauseCover(QPainter& p, const Geometry& g);
// The keyboard cursor around the cell centred at (x, y): a white ring edged in black, in
// the gap between this cell's cake and its neighbours, so it shows on every background and
// around a lifted cake alike (its line may take another colour). CursorRingRect is the
// square it may touch.
void DrawCursorRing(QPainter& p, const Geometry& g, int x, int y, const QColor& line = Qt::white);
QRect CursorRingRect(const Geometry& g, int x, int y);

} // namespace torvella::paint
