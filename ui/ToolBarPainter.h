#pragma once
// The tool bar strip beneath the buttons: the dark tile of the background design, the
// score in bitmap digits and one icon per jump left. Score and jumps refill only their
// own field before drawing, so they can be redrawn on their own, cheaply.
#include <QImage>
#include <QPainter>
#include <QRect>

namespace torvella::ui {

constexpr int kToolBarHeight = 57;
const QRect kScoreField(282, 22, 100, 27);
// three icon places: x 382, pitch icon width + 3; y = (57 - icon height) div 2
QRect JumpField(const QImage& jumpIcon);

struct ToolBarImages {
    QImage sheet;     // background sheet (image 0)
    QImage digits;    // digit strip (image 10), 220 x 54
    QImage jumpIcon;  // image 14
    QImage jumpMask;  // image 15
};

// Everything: background across the given width, then DrawScore and DrawJumps. The
// painter must paint onto an RGB32 image (the AND/OR compositing needs raster ops).
void ToolBoxPaint(QPainter& p, int width, const ToolBarImages& img, int backMode, int32_t score, int32_t jumps);
void DrawScore(QPainter& p, const ToolBarImages& img, int backMode, int32_t score);
void DrawJumps(QPainter& p, const ToolBarImages& img, int backMode, int32_t jumps);

} // namespace torvella::ui
