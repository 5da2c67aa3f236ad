#pragma once
// The tool bar strip beneath the buttons: the dark tile of the background design, the
// score in bitmap digits and one icon per jump left. Score and jumps refill only their
// own field before drawing, so they can be redrawn on their own, cheaply.
#include <QImage>
#include <QPainter>
#include <QRect>

#include <cstdint>

namespace torvella::paint {

constexpr int kToolBarHeight = 57;
const QRect kScoreField(282, 22, 100, 27);
// three icon places: x 382, pitch icon width + 3; y = (57 - icon height) div 2
QRect JumpField(const QImage& jumpIcon);

// The pictures hold the pixels for one device pixel ratio (their devicePixelRatio): the
// 1x pictures at ratio 1 (digit strip 220 x 54, icon 45 x 45), the 2x pictures at ratio 2,
// and in between the 2x pictures scaled down smoothly, masks kept black and white.
struct ToolBarImages {
    QImage sheet;     // background sheet (image 0)
    QImage digits;    // digit strip (image 10): glyphs in the upper half, masks in the lower
    QImage jumpIcon;  // image 14
    QImage jumpMask;  // image 15
};

// The four pictures from the program's own image list for a device pixel ratio, converted
// to RGB32 once so that the AND/OR copies need no conversion. Throws std::runtime_error if
// one is missing.
ToolBarImages LoadToolBarImages(qreal ratio = 1);

// Everything: background across the given width, then DrawScore and DrawJumps. The
// painter must paint onto an RGB32 image (the AND/OR compositing needs raster ops) whose
// device pixel ratio is the pictures' one; glyphs and icons are composed with their masks
// in device pixels.
void ToolBoxPaint(QPainter& p, int width, const ToolBarImages& img, int backMode, int32_t score, int32_t jumps);
// Score clamped to -9999 .. 99999 for display; at most three jump icons (the strip's places).
void DrawScore(QPainter& p, const ToolBarImages& img, int backMode, int32_t score);
void DrawJumps(QPainter& p, const ToolBarImages& img, int backMode, int32_t jumps);

} // namespace torvella::paint
