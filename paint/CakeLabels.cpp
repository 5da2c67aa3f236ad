#include "paint/CakeLabels.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace torvella::paint {

namespace {

constexpr int kFirstColour = 1, kLastColour = 4;

QPen Edge(qreal width) { return QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// The sign's half size: about a sixth of the cake's diameter, never below 3 pixels.
qreal SignRadius(const Geometry& g) { return std::max<qreal>(3.0, g.CakeRadius * 0.24); }

} // namespace

void DrawColourSign(QPainter& p, const Geometry& g, int x, int y, int colour)
{
    if (colour < kFirstColour || colour > kLastColour)
        return;
    const qreal s = SignRadius(g);
    const QPointF c(x, y);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(Edge(std::max<qreal>(1.0, s / 4)));
    p.setBrush(Qt::white);
    switch (colour) {
    case 1: // red: a triangle pointing up
        p.drawPolygon(QPolygonF({c + QPointF(0, -s * 1.1), c + QPointF(s * 1.05, s * 0.8), c + QPointF(-s * 1.05, s * 0.8)}));
        break;
    case 2: // green: a square
        p.drawRect(QRectF(c - QPointF(s * 0.85, s * 0.85), QSizeF(s * 1.7, s * 1.7)));
        break;
    case 3: // blue: a disc
        p.drawEllipse(c, s * 0.95, s * 0.95);
        break;
    default: // yellow: a diamond
        p.drawPolygon(QPolygonF({c + QPointF(0, -s * 1.15), c + QPointF(s * 1.15, 0), c + QPointF(0, s * 1.15), c + QPointF(-s * 1.15, 0)}));
        break;
    }
}

void DrawCakeLabel(QPainter& p, const Geometry& g, int x, int y, int slices, int colour)
{
    if (colour < kFirstColour || colour > kLastColour || slices < 1)
        return;
    const qreal R = g.CakeRadius;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(7, static_cast<int>(R * 0.52)));
    const QString text = QString::number(slices);
    const QFontMetricsF fm(font);
    const QRectF ink = fm.tightBoundingRect(text);
    // The badge stands above the centre and the sign below it, both inside the slices and
    // clear of the centre, where the timer's pulse dot shows which cakes may be served.
    const qreal padX = std::max<qreal>(2.0, R * 0.12), padY = std::max<qreal>(1.5, R * 0.08);
    const QSizeF badge(ink.width() + 2 * padX, fm.capHeight() + 2 * padY);
    const QPointF centre(x, y - R * 0.22 - badge.height() / 2);
    const QRectF box(centre - QPointF(badge.width() / 2, badge.height() / 2), badge);

    p.setRenderHint(QPainter::Antialiasing, true);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(Qt::white, std::max<qreal>(1.0, R / 20)));
    p.setBrush(QColor(16, 16, 16));
    p.drawRoundedRect(box, badge.height() / 3, badge.height() / 3);
    // Digits placed by their ink, not by the font's line box, so they sit in the middle.
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QPointF(centre.x() - ink.width() / 2 - ink.left(), centre.y() + fm.capHeight() / 2), text);

    DrawColourSign(p, g, x, static_cast<int>(y + R * 0.52), colour);
}

} // namespace torvella::paint
