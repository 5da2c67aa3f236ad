#pragma once
// Marks drawn over the board on the screen only: the hint's "lift this, drop it there", and
// the look of a cake that the keys hold. White and black lines on every background, so they
// read on all seven designs and on cakes of every colour alike.
#include "core/Geometry.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace torvella::paint {

// The hint: the cursor's ring around the cake to lift, and an arrow from that ring to the
// centre of the cake it drops onto, also across the board for a jump of the mixed cake.
void DrawHintMarks(QPainter& p, const Geometry& g, Point from, Point to);
// The square the hint's marks may touch.
QRect HintMarksRect(const Geometry& g, Point from, Point to);

// A cake held by the keys stands above its cell: the cake is drawn up and to the left of
// (x, y), with a soft shadow down and to the right, and the ring around the cell turns
// gold. Everything stays within CursorRingRect(g, x, y). The mouse's cake needs none of it:
// it moves with the pointer from the moment it is lifted.
void DrawCarriedCake(QPainter& p, const Geometry& g, int x, int y, int slices, int colour, bool labelled = false);
// How far up and to the left a carried cake stands, in pixels; the colour of its ring.
int CarryLift(const Geometry& g);
inline constexpr QRgb kCarriedRing = 0xFFFFC828;

} // namespace torvella::paint
