#pragma once
// The cakes' labels, for players who cannot count slices at a glance or tell the four
// colours apart: the slice count in a dark badge over the centre dot, and below it a sign
// for the colour that does not rest on hue (red a triangle, green a square, blue a disc,
// yellow a diamond). White on black with a black edge, so both read the same on every
// slice shade and every background; sized by the cake radius, so they grow with the window
// and the screen's scale. The mixed cake gets no label: its look is its own.
#include "core/Geometry.h"

#include <QPainter>

namespace torvella::paint {

// Draws the label of a cake of `colour` (1 to 4) with `slices` centred at (x, y); nothing
// for the mixed cake (0) or a cake without slices. Antialiased; leaves the painter so.
void DrawCakeLabel(QPainter& p, const Geometry& g, int x, int y, int slices, int colour);

// The colour sign alone, of the size DrawCakeLabel uses, centred at (x, y).
void DrawColourSign(QPainter& p, const Geometry& g, int x, int y, int colour);

} // namespace torvella::paint
