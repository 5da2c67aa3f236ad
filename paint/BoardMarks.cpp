#include "paint/BoardMarks.h"

#include "paint/BoardPainter.h"

#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace torvella::paint {

namespace {

// The arrow of a hint, pointing along +x from its tail at 0 to its tip at `length`.
QPainterPath ArrowAlongX(qreal length, qreal shaftHalf, qreal headLength, qreal headHalf)
{
    const qreal neck = std::max(length - headLength, 0.0);
    QPainterPath arrow;
    arrow.moveTo(0, -shaftHalf);
    arrow.lineTo(neck, -shaftHalf);
    arrow.lineTo(neck, -headHalf);
    arrow.lineTo(length, 0);
    arrow.lineTo(neck, headHalf);
    arrow.lineTo(neck, shaftHalf);
    arrow.lineTo(0, shaftHalf);
    arrow.closeSubpath();
    return arrow;
}

// The arrow from the ring around `from` to the centre of `to`, in board pixels.
QPainterPath HintArrow(const Geometry& g, Point from, Point to)
{
    const qreal dx = to.x - from.x, dy = to.y - from.y;
    const qreal distance = std::hypot(dx, dy);
    const qreal tail = g.CellSize / 2.0;
    if (distance <= tail)
        return {};
    const qreal c = g.CellSize;
    const QPainterPath arrow = ArrowAlongX(distance - tail, std::max(2.0, c / 18), c / 4, c / 5);
    QTransform t;
    t.translate(from.x + 0.5, from.y + 0.5);
    t.rotateRadians(std::atan2(dy, dx));
    t.translate(tail, 0);
    return t.map(arrow);
}

constexpr int kArrowEdge = 2;  // the black line around the arrow

} // namespace

int CarryLift(const Geometry& g) { return std::max(2, g.CellSize / 10); }

void DrawHintMarks(QPainter& p, const Geometry& g, Point from, Point to)
{
    DrawCursorRing(p, g, from.x, from.y);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(Qt::black, kArrowEdge, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(HintArrow(g, from, to));
    p.setRenderHint(QPainter::Antialiasing, false);
}

QRect HintMarksRect(const Geometry& g, Point from, Point to)
{
    const QRect arrow = HintArrow(g, from, to).boundingRect().toAlignedRect();
    return CursorRingRect(g, from.x, from.y) | arrow.adjusted(-kArrowEdge - 1, -kArrowEdge - 1, kArrowEdge + 1, kArrowEdge + 1);
}

void DrawCarriedCake(QPainter& p, const Geometry& g, int x, int y, int slices, int colour, bool labelled)
{
    DrawCursorRing(p, g, x, y, QColor::fromRgb(kCarriedRing));
    const int lift = CarryLift(g);
    const int r = g.CakeRadius;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawEllipse(QPointF(x + lift / 2 + 0.5, y + lift / 2 + 0.5), r, r);
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawCake(p, g, x - lift, y - lift, slices, colour, labelled);
}

} // namespace torvella::paint
