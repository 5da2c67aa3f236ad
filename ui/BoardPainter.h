#pragma once
// Drawing of the board area: the tiled background, the board square and side panel, the
// frames, and the cakes as round tarts of twelve 30-degree slices. Everything draws into
// a QPainter, so the same code fills the window's board picture and torvella-cli's PNG.
#include "core/Geometry.h"
#include "core/Tableau.h"

#include <QImage>
#include <QPainter>

namespace torvella::ui {

// The row of the background sheet for a background number; numbers outside 0..6 (only
// possible from a hand-edited store) wrap around instead of reading outside the sheet.
int SheetRow(int backMode);

// BoardBackBitmap: the board area tiled with the dark tile of backMode, tiles from (0, 0).
void BuildBoardBack(QImage& boardBack, QSize size, const QImage& sheet, int backMode);
// Sizes `board` and draws everything except cells, hold places and plates into it.
void DrawBackground(QImage& board, QSize size, const QImage& boardBack, const QImage& sheet, int backMode,
                    const Geometry& g);
// DrawBackground, then every cell, hold place and plate.
void RenderBoard(QImage& board, QSize size, const QImage& boardBack, const QImage& sheet, int backMode,
                 const Geometry& g, const Tableau& t);

void DrawCake(QPainter& p, const Geometry& g, int x, int y, int slices, int colour);
void DrawEmptyCell(QPainter& p, const Geometry& g, int x, int y);
// column 0 the hold place, 1 the plate
void DrawEmptySlot(QPainter& p, const Geometry& g, int column, int colour);
// The pulse dot at a cell centre: radius CakeRadius div 5, no outline.
void DrawPulseDot(QPainter& p, const Geometry& g, int x, int y, uint32_t colour);

} // namespace torvella::ui
