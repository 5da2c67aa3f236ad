// The button faces of the main window (lists bmps and btns) and of the options
// dialog (list opts). Subjects are drawn in face coordinates (50 x 50), lit from the
// top left, with a dark outline and a soft shadow, on the framed face of PictureKit.
#include "PictureKit.h"
#include "PictureSets.h"
#include "../../assets/Pictures.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <cmath>

namespace torvella::assetgen {

namespace {

constexpr double Pi = 3.14159265358979323846;

QPainterPath stroked(const QPainterPath& centre, double width, Qt::PenCapStyle cap = Qt::FlatCap)
{
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(cap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(centre).simplified();
}

void solidSubject(QPainter& p, const QPainterPath& path, const QColor& colour, double outline = 1.3)
{
    dropShadow(p, path);
    shadedFill(p, path, scaled(colour, 1.3).lighter(115), scaled(colour, 0.72), scaled(colour, 0.35), outline);
}

// Yellow circular arrow (same tableau again) -------------------------------------------
void circularArrow(QPainter& p, double rotation, double radius)
{
    const QPointF c(25, 25.5);
    const double w = 5.6;
    const double start = 100, span = 265; // clockwise from here, in Qt degrees
    QPainterPath arc;
    const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    arc.arcMoveTo(box, start);
    arc.arcTo(box, start, -span);
    QPainterPath shape = stroked(arc, w);
    const double a = (start - span) * Pi / 180;
    const QPointF end(c.x() + radius * std::cos(a), c.y() - radius * std::sin(a));
    const QPointF radial(std::cos(a), -std::sin(a));
    const QPointF tangent(std::sin(a), std::cos(a)); // direction of travel (clockwise)
    QPainterPath head;
    head.moveTo(end + radial * (w * 1.45) - tangent * 1.0);
    head.lineTo(end + tangent * (w * 1.9));
    head.lineTo(end - radial * (w * 1.45) - tangent * 1.0);
    head.closeSubpath();
    shape = shape.united(head);
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(rotation);
    t.translate(-c.x(), -c.y());
    solidSubject(p, t.map(shape), QColor(250, 206, 30));
}

// Red curved arrow pointing back (undo) ------------------------------------------------
void undoArrow(QPainter& p, double rotation, QPointF shift)
{
    QPainterPath centre;
    centre.moveTo(17, 19);
    centre.lineTo(27, 19);
    centre.cubicTo(41, 19, 41, 37, 27, 37);
    centre.lineTo(19, 37);
    QPainterPath shape = stroked(centre, 6.5, Qt::RoundCap);
    QPainterPath head;
    head.moveTo(7, 19);
    head.lineTo(19, 10);
    head.lineTo(19, 28);
    head.closeSubpath();
    shape = shape.united(head);
    QTransform t;
    t.translate(25 + shift.x(), 25 + shift.y());
    t.rotate(rotation);
    t.translate(-25, -25);
    solidSubject(p, t.map(shape), QColor(222, 40, 36));
}

// Red and white rocket with yellow flames ----------------------------------------------
void rocket(QPainter& p, double angle, QPointF centre, double flame)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.scale(1.18, 1.18);
    // flame first, behind the nozzle
    QPainterPath fire;
    fire.moveTo(-4.5, 10);
    fire.cubicTo(-6, 14 + flame * 4, -1.5, 16 + flame * 6, 0, 19 + flame * 8);
    fire.cubicTo(1.5, 16 + flame * 6, 6, 14 + flame * 4, 4.5, 10);
    fire.closeSubpath();
    QLinearGradient fg(0, 10, 0, 19 + flame * 8);
    fg.setColorAt(0, QColor(255, 250, 190));
    fg.setColorAt(0.35, QColor(255, 214, 40));
    fg.setColorAt(1, QColor(246, 110, 20));
    p.setPen(QPen(QColor(214, 90, 10), 0.8));
    p.setBrush(fg);
    p.drawPath(fire);
    QPainterPath inner;
    inner.moveTo(-2, 10);
    inner.cubicTo(-2.5, 13, -0.5, 14 + flame * 3, 0, 15 + flame * 4);
    inner.cubicTo(0.5, 14 + flame * 3, 2.5, 13, 2, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 236));
    p.drawPath(inner);

    // fins
    QPainterPath fins;
    fins.moveTo(-5.5, 2);
    fins.lineTo(-11, 11);
    fins.lineTo(-10, 13);
    fins.lineTo(-4.5, 10);
    fins.closeSubpath();
    fins.moveTo(5.5, 2);
    fins.lineTo(11, 11);
    fins.lineTo(10, 13);
    fins.lineTo(4.5, 10);
    fins.closeSubpath();
    // body
    QPainterPath body;
    body.moveTo(0, -18);
    body.cubicTo(6, -12, 7, -3, 5, 10);
    body.lineTo(-5, 10);
    body.cubicTo(-7, -3, -6, -12, 0, -18);
    body.closeSubpath();
    dropShadow(p, body.united(fins));
    shadedFill(p, fins, QColor(250, 80, 70), QColor(160, 18, 20), QColor(90, 10, 10), 1.0);
    shadedFill(p, body, QColor(250, 250, 246), QColor(176, 184, 196), QColor(60, 64, 76), 1.1);
    // red nose cone
    QPainterPath nose;
    nose.moveTo(0, -18);
    nose.cubicTo(4.2, -13.8, 5.3, -10.5, 5.6, -8);
    nose.cubicTo(2, -9.3, -2, -9.3, -5.6, -8);
    nose.cubicTo(-5.3, -10.5, -4.2, -13.8, 0, -18);
    shadedFill(p, nose, QColor(252, 90, 76), QColor(170, 20, 22), QColor(90, 10, 10), 0.9);
    // red band at the tail
    QPainterPath band;
    band.addRect(QRectF(-5.4, 6, 10.8, 4));
    band = band.intersected(body);
    shadedFill(p, band, QColor(248, 78, 66), QColor(170, 20, 22), QColor(90, 10, 10), 0.7);
    // window
    QRadialGradient glass(QPointF(-1, -3), 4);
    glass.setColorAt(0, QColor(190, 236, 255));
    glass.setColorAt(1, QColor(30, 90, 170));
    p.setBrush(glass);
    p.setPen(QPen(QColor(70, 74, 86), 1.2));
    p.drawEllipse(QPointF(0, -2), 3.2, 3.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(-1, -3), 1.0, 1.0);
    p.restore();
}

// Golden trophy -----------------------------------------------------------------------
void sparkle(QPainter& p, QPointF c, double r)
{
    QPainterPath s;
    s.moveTo(c.x(), c.y() - r);
    s.quadTo(c.x(), c.y(), c.x() + r, c.y());
    s.quadTo(c.x(), c.y(), c.x(), c.y() + r);
    s.quadTo(c.x(), c.y(), c.x() - r, c.y());
    s.quadTo(c.x(), c.y(), c.x(), c.y() - r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 226));
    p.drawPath(s);
}

void trophy(QPainter& p, double angle, QPointF shift, bool sparkles)
{
    p.save();
    p.translate(25 + shift.x(), 26 + shift.y());
    p.rotate(angle);
    const QColor gold(246, 190, 36);
    QPainterPath handles;
    handles.addEllipse(QRectF(-17, -15, 11, 12));
    handles.addEllipse(QRectF(6, -15, 11, 12));
    QPainterPath handleRing = stroked(handles, 3.0);
    QPainterPath bowl;
    bowl.moveTo(-11, -16);
    bowl.lineTo(11, -16);
    bowl.cubicTo(11, -3, 6, 3, 0, 4);
    bowl.cubicTo(-6, 3, -11, -3, -11, -16);
    bowl.closeSubpath();
    QPainterPath stem;
    stem.moveTo(-2.5, 3);
    stem.lineTo(2.5, 3);
    stem.lineTo(3.5, 11);
    stem.lineTo(-3.5, 11);
    stem.closeSubpath();
    QPainterPath cup = bowl.united(handleRing).united(stem);
    QPainterPath base;
    base.addRoundedRect(QRectF(-10, 11, 20, 7), 1.5, 1.5);
    dropShadow(p, cup.united(base));
    shadedFill(p, base, QColor(150, 84, 50), QColor(74, 36, 20), QColor(40, 18, 8), 1.0);
    p.setPen(QPen(QColor(250, 214, 90), 1.0));
    p.drawLine(QPointF(-6, 14.5), QPointF(6, 14.5));
    shadedFill(p, cup, QColor(255, 240, 150), scaled(gold, 0.68), QColor(120, 70, 0), 1.1);
    // rim and a star on the bowl
    p.setPen(QPen(QColor(255, 248, 200), 1.2));
    p.drawLine(QPointF(-10, -15), QPointF(10, -15));
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2) ? 2.0 : 4.6;
        const double a = -Pi / 2 + i * Pi / 5;
        const QPointF pt(r * std::cos(a), -7 + r * std::sin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    shadedFill(p, star, QColor(255, 255, 230), QColor(238, 160, 20), QColor(150, 90, 0), 0.6);
    p.restore();
    if (sparkles) {
        sparkle(p, QPointF(9, 11), 4.5);
        sparkle(p, QPointF(41, 9), 3.2);
        sparkle(p, QPointF(40, 34), 2.6);
    }
}

// Cup on a saucer -----------------------------------------------------------------------
void cup(QPainter& p, double tilt, double lift, int steam)
{
    const QColor china(250, 246, 236);
    // saucer
    QPainterPath saucer;
    saucer.addEllipse(QRectF(7, 33, 36, 10));
    dropShadow(p, saucer);
    shadedFill(p, saucer, QColor(252, 250, 244), QColor(190, 184, 172), QColor(70, 60, 50), 1.0);
    p.setPen(QPen(QColor(40, 110, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(9.5, 34.2, 31, 7.6));
    p.setPen(QPen(QColor(150, 140, 128), 0.8));
    p.drawEllipse(QRectF(17, 35.2, 16, 4.2));

    p.save();
    p.translate(25, 36 - lift);
    p.rotate(tilt);
    QPainterPath handle;
    handle.addEllipse(QRectF(8, -16, 10, 10));
    QPainterPath ring = stroked(handle, 3.0);
    QPainterPath body;
    body.moveTo(-12, -20);
    body.lineTo(12, -20);
    body.cubicTo(12, -8, 8, -1, 0, -1);
    body.cubicTo(-8, -1, -12, -8, -12, -20);
    body.closeSubpath();
    QPainterPath shape = body.united(ring);
    if (lift > 0)
        dropShadow(p, shape, QPointF(1.5, 3), 70);
    shadedFill(p, shape, china, QColor(186, 176, 160), QColor(80, 64, 50), 1.1);
    // red band round the cup
    QPainterPath band;
    band.addRect(QRectF(-13, -14, 26, 3.2));
    band = band.intersected(body);
    shadedFill(p, band, QColor(244, 80, 70), QColor(176, 26, 26), QColor(176, 26, 26), 0);
    // the drink
    QLinearGradient coffee(-10, -22, 10, -18);
    coffee.setColorAt(0, QColor(150, 92, 50));
    coffee.setColorAt(1, QColor(84, 44, 20));
    p.setBrush(coffee);
    p.setPen(QPen(QColor(80, 64, 50), 1.0));
    p.drawEllipse(QRectF(-12, -22.5, 24, 5));
    p.restore();

    // steam wisps
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < steam; ++i) {
        const double x = 19 + i * 6 - lift * 0.2;
        const double top = 6 - lift * 0.3 + (i % 2) * 2;
        QPainterPath wisp;
        wisp.moveTo(x, 13 - lift);
        wisp.cubicTo(x - 4, 10 - lift, x + 4, 8 - lift, x, top);
        p.setPen(QPen(QColor(255, 255, 255, 170), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wisp);
    }
}

// Door (exit): closed, or swung open into a warm light ---------------------------------
void door(QPainter& p, bool open)
{
    const QRectF frame(12, 6, 26, 39);
    QPainterPath framePath;
    framePath.addRect(frame);
    dropShadow(p, framePath);
    shadedFill(p, framePath, QColor(150, 96, 56), QColor(84, 48, 24), QColor(40, 20, 8), 1.2);
    const QRectF opening = frame.adjusted(3, 3, -3, 0);
    if (!open) {
        QPainterPath leaf;
        leaf.addRect(opening);
        shadedFill(p, leaf, QColor(90, 160, 240), QColor(30, 74, 160), QColor(10, 30, 80), 1.0);
        for (double y : {opening.top() + 4, opening.top() + 19}) {
            QPainterPath panel;
            panel.addRoundedRect(QRectF(opening.left() + 3.5, y, opening.width() - 7, 12), 1.5, 1.5);
            shadedFill(p, panel, QColor(40, 96, 190), QColor(110, 176, 246), QColor(20, 50, 120), 0.8);
        }
        QRadialGradient knob(QPointF(opening.right() - 4.5, opening.center().y() + 2), 2.5);
        knob.setColorAt(0, QColor(255, 246, 170));
        knob.setColorAt(1, QColor(200, 140, 10));
        p.setBrush(knob);
        p.setPen(QPen(QColor(110, 70, 0), 0.7));
        p.drawEllipse(QPointF(opening.right() - 4, opening.center().y() + 2), 2.0, 2.0);
        return;
    }
    // the light of outside through the open door
    QLinearGradient light(opening.topLeft(), opening.bottomRight());
    light.setColorAt(0, QColor(255, 250, 200));
    light.setColorAt(1, QColor(255, 196, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(opening);
    // floor patch of light
    QPainterPath patch;
    patch.moveTo(opening.left(), opening.bottom());
    patch.lineTo(opening.right(), opening.bottom());
    patch.lineTo(opening.right() + 6, 47);
    patch.lineTo(opening.left() + 2, 47);
    patch.closeSubpath();
    p.setBrush(QColor(255, 230, 140, 120));
    p.drawPath(patch);
    // the leaf swung towards us on its left hinge, seen in perspective
    QPainterPath leaf;
    leaf.moveTo(opening.left(), opening.top());
    leaf.lineTo(opening.left() - 9, opening.top() - 3);
    leaf.lineTo(opening.left() - 9, opening.bottom() + 3);
    leaf.lineTo(opening.left(), opening.bottom());
    leaf.closeSubpath();
    shadedFill(p, leaf, QColor(80, 150, 236), QColor(26, 64, 150), QColor(10, 30, 80), 1.0);
    p.setBrush(QColor(230, 170, 30));
    p.setPen(QPen(QColor(110, 70, 0), 0.6));
    p.drawEllipse(QPointF(opening.left() - 7, opening.center().y() + 2), 1.3, 1.8);
}

// Letters (info i, help ?) ----------------------------------------------------------------
void letter(QPainter& p, const QString& text, const QColor& colour, double angle, QPointF shift, double size)
{
    QPainterPath path;
    path.addText(0, 0, boldFont(size), text);
    const QRectF b = path.boundingRect();
    path.translate(-b.center());
    QTransform t;
    t.translate(25 + shift.x(), 25 + shift.y());
    t.rotate(angle);
    path = t.map(path);
    dropShadow(p, path, QPointF(1.8, 2.2), 110);
    shadedFill(p, path, scaled(colour, 1.3).lighter(118), scaled(colour, 0.7), scaled(colour, 0.3), 1.4);
}

// Crossed hammer and compasses ----------------------------------------------------------
void tools(QPainter& p, double hammerAngle, double spread)
{
    // compasses: two legs from a hinge at the top
    p.save();
    p.translate(25, 9);
    QPainterPath legs;
    for (int side : {-1, 1}) {
        QPainterPath leg;
        leg.moveTo(0, 0);
        leg.lineTo(side * spread, 33);
        QPainterPath legShape = stroked(leg, 3.2, Qt::RoundCap);
        QPainterPath tip;
        tip.moveTo(side * spread * 0.9 - 1.6, 29.5);
        tip.lineTo(side * spread * 1.04, 37);
        tip.lineTo(side * spread * 0.9 + 1.6, 29.5);
        tip.closeSubpath();
        legs = legs.united(legShape).united(tip);
    }
    dropShadow(p, legs);
    shadedFill(p, legs, QColor(236, 240, 248), QColor(120, 128, 146), QColor(40, 44, 56), 1.0);
    QPainterPath hinge;
    hinge.addEllipse(QPointF(0, 0), 4, 4);
    shadedFill(p, hinge, QColor(255, 236, 150), QColor(196, 130, 20), QColor(90, 56, 0), 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 10));
    p.drawEllipse(QPointF(0, 0), 1.1, 1.1);
    p.restore();

    // hammer across the compasses
    p.save();
    p.translate(25, 27);
    p.rotate(hammerAngle);
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-2, -11, 4, 26), 2, 2);
    QPainterPath head;
    head.moveTo(-9, -17);
    head.lineTo(6, -17);
    head.lineTo(8.5, -15.5);
    head.lineTo(8.5, -12.5);
    head.lineTo(6, -11);
    head.lineTo(-9, -11);
    head.quadTo(-7.5, -14, -9, -17);
    head.closeSubpath();
    dropShadow(p, handle.united(head));
    shadedFill(p, handle, QColor(214, 150, 86), QColor(120, 66, 26), QColor(60, 30, 8), 1.0);
    shadedFill(p, head, QColor(214, 220, 232), QColor(86, 92, 108), QColor(30, 32, 40), 1.0);
    p.restore();
}

// Options: language, sound, music, background --------------------------------------------
void speechBubble(QPainter& p, const QRectF& r, bool tailLeft, const QColor& fill, const QString& text, double angle)
{
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF box(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    QPainterPath bubble;
    bubble.addRoundedRect(box, 5, 5);
    QPainterPath tail;
    const double tx = tailLeft ? box.left() + 5 : box.right() - 5;
    tail.moveTo(tx - 3, box.bottom() - 1);
    tail.lineTo(tx + (tailLeft ? -3 : 3), box.bottom() + 6);
    tail.lineTo(tx + 3, box.bottom() - 1);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    dropShadow(p, bubble);
    shadedFill(p, bubble, fill.lighter(112), scaled(fill, 0.8), QColor(50, 40, 40), 1.1);
    QPainterPath t;
    t.addText(0, 0, boldFont(11), text);
    t.translate(-t.boundingRect().center());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 40, 36));
    p.drawPath(t);
    p.restore();
}

void speaker(QPainter& p, int waves, double scale)
{
    p.save();
    p.translate(17, 25);
    p.scale(scale, scale);
    QPainterPath cone;
    cone.moveTo(-7, -4.5);
    cone.lineTo(-2, -4.5);
    cone.lineTo(6, -12);
    cone.lineTo(6, 12);
    cone.lineTo(-2, 4.5);
    cone.lineTo(-7, 4.5);
    cone.closeSubpath();
    dropShadow(p, cone);
    shadedFill(p, cone, QColor(120, 126, 140), QColor(34, 36, 46), QColor(10, 10, 16), 1.1);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < waves; ++i) {
        const double r = 6 + i * 5;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(6 - r, -r, 2 * r, 2 * r), 45);
        arc.arcTo(QRectF(6 - r, -r, 2 * r, 2 * r), 45, -90);
        QPainterPath shape = stroked(arc, 2.6, Qt::RoundCap);
        shadedFill(p, shape, QColor(255, 250, 220), QColor(250, 200, 60), QColor(120, 80, 10), 0.7);
    }
    p.restore();
}

void notes(QPainter& p, double angle, bool third)
{
    p.save();
    p.translate(25, 25);
    p.rotate(angle);
    QPainterPath music;
    auto head = [&](QPointF c) {
        QPainterPath h;
        h.addEllipse(QRectF(-4.2, -3, 8.4, 6));
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(-22);
        music = music.united(t.map(h));
    };
    head(QPointF(-9, 11));
    head(QPointF(7, 8));
    QPainterPath stems;
    stems.addRect(QRectF(-6, -12, 2, 22));
    stems.addRect(QRectF(10, -15, 2, 22));
    QPainterPath beam;
    beam.moveTo(-6, -12);
    beam.lineTo(12, -15);
    beam.lineTo(12, -10);
    beam.lineTo(-6, -7);
    beam.closeSubpath();
    music = music.united(stems).united(beam);
    dropShadow(p, music);
    shadedFill(p, music, QColor(250, 110, 160), QColor(150, 20, 80), QColor(60, 0, 30), 1.0);
    p.restore();
    if (third) {
        QPainterPath small;
        small.addEllipse(QRectF(-3, -2.2, 6, 4.4));
        small.addRect(QRectF(1.8, -13, 1.6, 12));
        QPainterPath flag;
        flag.moveTo(3.4, -13);
        flag.cubicTo(8, -10, 8, -7, 6, -4);
        flag.cubicTo(6.5, -7, 5, -9, 3.4, -9.5);
        small = small.united(flag);
        QTransform t;
        t.translate(38, 36);
        t.rotate(-15);
        small = t.map(small);
        dropShadow(p, small);
        shadedFill(p, small, QColor(255, 236, 110), QColor(220, 150, 10), QColor(90, 56, 0), 0.8);
    }
}

void tiles(QPainter& p, double fan)
{
    const QColor colours[3] = {QColor(132, 72, 178), QColor(64, 150, 80), QColor(210, 50, 50)};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(25 + (i - 1) * fan * 0.35, 27);
        p.rotate((i - 1) * fan);
        QPainterPath card;
        card.addRoundedRect(QRectF(-10, -12, 20, 24), 2, 2);
        dropShadow(p, card);
        shadedFill(p, card, colours[i].lighter(135), scaled(colours[i], 0.7), QColor(30, 20, 20), 1.0);
        // a little pattern on each card, like the background designs
        p.setPen(QPen(scaled(colours[i], 1.35), 1.1));
        for (int k = -2; k <= 2; ++k)
            p.drawLine(QPointF(-8, k * 4.5 - 2), QPointF(8, k * 4.5 + 2));
        p.restore();
    }
}

} // namespace

QImage PaintBmpsFace(int index)
{
    const QColor blue = faceBlue();
    switch (index) {
    case 1: return paintFace(blue, [](QPainter& p) { circularArrow(p, 0, 13.5); });
    case 2: return paintFace(blue, [](QPainter& p) { circularArrow(p, 70, 14.5); });
    case 3: return greyFace(PaintBmpsFace(1));
    case 4: return paintFace(blue, [](QPainter& p) { rocket(p, 45, QPointF(23, 27), 0); });
    case 5: return paintFace(blue, [](QPainter& p) { rocket(p, 25, QPointF(25, 24), 1); });
    case 6: return greyFace(PaintBmpsFace(4));
    case 7: return paintFace(blue, [](QPainter& p) { trophy(p, 0, QPointF(0, 0), false); });
    case 8: return paintFace(blue, [](QPainter& p) { trophy(p, -12, QPointF(0, -2), true); });
    case 9: return greyFace(PaintBmpsFace(7));
    case 11: return paintFace(blue, [](QPainter& p) { cup(p, 0, 0, 2); });
    case 12: return paintFace(blue, [](QPainter& p) { cup(p, -14, 6, 3); });
    case 13: return greyFace(PaintBmpsFace(11));
    case 16: return paintFace(blue, [](QPainter& p) { undoArrow(p, 0, QPointF(0, 0)); });
    case 17: return paintFace(blue, [](QPainter& p) { undoArrow(p, -18, QPointF(-1.5, -1)); });
    case 18: return greyFace(PaintBmpsFace(16));
    default: return {};
    }
}

QImage PaintBtnsFace(int index)
{
    const QColor orange = faceOrange();
    switch (index) {
    case 0: {
        QImage blank = canvas(FaceSize, FaceSize, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
    case 1: return paintFace(orange, [](QPainter& p) { door(p, false); });
    case 2: return paintFace(orange, [](QPainter& p) { door(p, true); });
    case 3: return paintFace(orange, [](QPainter& p) { letter(p, "i", QColor(50, 176, 60), 0, {0, 0}, 40); });
    case 4: return paintFace(orange, [](QPainter& p) { letter(p, "i", QColor(50, 176, 60), 14, {1, -2}, 42); });
    case 5: return paintFace(orange, [](QPainter& p) { letter(p, "?", QColor(252, 214, 40), 0, {0, 0}, 38); });
    case 6: return paintFace(orange, [](QPainter& p) { letter(p, "?", QColor(252, 214, 40), -16, {-1, -1}, 40); });
    case 7: return paintFace(orange, [](QPainter& p) { tools(p, 35, 8); });
    case 8: return paintFace(orange, [](QPainter& p) { tools(p, 58, 11); });
    default: return {};
    }
}

QImage PaintOptsFace(int index)
{
    const QColor blue = faceBlue();
    switch (index) {
    case assets::OptLanguageNormal:
        return paintFace(blue, [](QPainter& p) {
            speechBubble(p, QRectF(5, 7, 25, 17), true, QColor(250, 234, 160), "DE", 0);
            speechBubble(p, QRectF(19, 24, 25, 17), false, QColor(190, 226, 250), "EN", 0);
        });
    case assets::OptLanguageHover:
        return paintFace(blue, [](QPainter& p) {
            speechBubble(p, QRectF(19, 7, 25, 17), false, QColor(190, 226, 250), "EN", 8);
            speechBubble(p, QRectF(5, 24, 25, 17), true, QColor(250, 234, 160), "DE", -8);
        });
    case assets::OptSoundNormal: return paintFace(blue, [](QPainter& p) { speaker(p, 2, 1.0); });
    case assets::OptSoundHover: return paintFace(blue, [](QPainter& p) { speaker(p, 3, 1.05); });
    case assets::OptMusicNormal: return paintFace(blue, [](QPainter& p) { notes(p, 0, false); });
    case assets::OptMusicHover: return paintFace(blue, [](QPainter& p) { notes(p, -14, true); });
    case assets::OptBackgroundNormal: return paintFace(blue, [](QPainter& p) { tiles(p, 12); });
    case assets::OptBackgroundHover: return paintFace(blue, [](QPainter& p) { tiles(p, 26); });
    default: return {};
    }
}

} // namespace torvella::assetgen
