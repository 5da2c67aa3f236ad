// Pictures of the dialogs (list dlgs): panel backgrounds, button faces and the cake
// picture shared by the options and language dialogs.
#include "PictureKit.h"
#include "PictureSets.h"
#include "../../assets/Pictures.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <cmath>

namespace torvella::assetgen {

namespace {

using namespace torvella::assets;

constexpr double Pi = 3.14159265358979323846;

QRgb rgb(double r, double g, double b)
{
    auto c = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return qRgb(c(r), c(g), c(b));
}

// Outer dialog background: warm cocoa, lit from the top left, with a faint scatter of
// sprinkles. White text stays readable on every part of it.
QImage outerBack(int w, int h, std::uint64_t seed)
{
    QImage img = canvas(w, h, QImage::Format_RGB32);
    const double k = PaintScale();
    TileNoise noise(256, 8, 4, seed);
    const QColor light(136, 74, 46), dark(62, 28, 24);
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            const double x = px / k, y = py / k;
            const double t = (x / w * 0.45 + y / h * 0.55);
            const QColor c = mix(light, dark, t);
            const double n = 0.9 + 0.2 * noise.at(x, y);
            img.setPixel(px, py, rgb(c.red() * n, c.green() * n, c.blue() * n));
        }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Rng rng(seed);
    const QColor sprinkle[5] = {QColor(250, 120, 140), QColor(250, 220, 110), QColor(130, 210, 240),
                                QColor(160, 230, 140), QColor(250, 250, 240)};
    const int count = w * h / 900;
    for (int i = 0; i < count; ++i) {
        const QPointF c(rng.range(0, w), rng.range(0, h));
        const double a = rng.range(0, 180);
        QColor col = sprinkle[rng.below(5)];
        col.setAlpha(70);
        p.save();
        p.translate(c);
        p.rotate(a);
        p.setPen(QPen(col, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-2.2, 0), QPointF(2.2, 0));
        p.restore();
    }
    return img;
}

// Inner panels: a calmer, darker chocolate with a soft light in the upper left.
QImage innerPanel(int w, int h, const QColor& tint, std::uint64_t seed)
{
    QImage img = canvas(w, h, QImage::Format_RGB32);
    const double k = PaintScale();
    TileNoise noise(128, 8, 3, seed);
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            const double x = px / k, y = py / k;
            const double dx = (x - w * 0.3) / w, dy = (y - h * 0.25) / std::max(h, 60);
            const double glow = std::exp(-(dx * dx + dy * dy) * 3.0);
            const double n = 0.93 + 0.14 * noise.at(x, y);
            const double f = (0.7 + 0.45 * glow) * n;
            img.setPixel(px, py, rgb(tint.red() * f, tint.green() * f, tint.blue() * f));
        }
    // fine diagonal grain, like pressed paper
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 220, 180, 10), 1.0));
    for (int k = -h; k < w; k += 6)
        p.drawLine(QPointF(k, 0), QPointF(k + h, h));
    return img;
}

QPainterPath stroked(const QPainterPath& centre, double width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(cap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(centre).simplified();
}

void solid(QPainter& p, const QPainterPath& path, const QColor& c)
{
    dropShadow(p, path);
    shadedFill(p, path, scaled(c, 1.3).lighter(115), scaled(c, 0.7), scaled(c, 0.32), 1.3);
}

void checkMark(QPainter& p, double angle, double scale)
{
    QPainterPath c;
    c.moveTo(-11, 1);
    c.lineTo(-3, 10);
    c.lineTo(12, -11);
    QTransform t;
    t.translate(25, 25);
    t.rotate(angle);
    t.scale(scale, scale);
    solid(p, t.map(stroked(c, 7)), QColor(60, 184, 60));
}

void crossMark(QPainter& p, double angle, double scale)
{
    QPainterPath c;
    c.moveTo(-10, -10);
    c.lineTo(10, 10);
    c.moveTo(10, -10);
    c.lineTo(-10, 10);
    QTransform t;
    t.translate(25, 25);
    t.rotate(angle);
    t.scale(scale, scale);
    solid(p, t.map(stroked(c, 7)), QColor(226, 44, 40));
}

// A round face: smiling (yes) or frowning (no).
void face(QPainter& p, bool happy, double angle, bool pose)
{
    p.save();
    p.translate(25, 25);
    p.rotate(angle);
    QPainterPath head;
    head.addEllipse(QPointF(0, 0), 16, 16);
    const QColor skin = happy ? QColor(252, 206, 40) : QColor(120, 170, 236);
    solid(p, head, skin);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 30, 20));
    if (happy && pose) {
        // a wink
        p.setPen(QPen(QColor(50, 30, 20), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-8, -5), QPointF(-3, -5));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(5.5, -5), 2.3, 3.2);
    } else {
        p.drawEllipse(QPointF(-5.5, -5), 2.3, 3.2);
        p.drawEllipse(QPointF(5.5, -5), 2.3, 3.2);
    }
    QPainterPath mouth;
    if (happy) {
        const double d = pose ? 11 : 8;
        mouth.moveTo(-9, 3);
        mouth.quadTo(0, 3 + d * 1.4, 9, 3);
        if (pose) {
            mouth.quadTo(0, 6, -9, 3);
            p.setBrush(QColor(120, 30, 30));
            p.setPen(QPen(QColor(50, 30, 20), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(mouth);
        } else {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(50, 30, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(mouth);
        }
    } else {
        mouth.moveTo(-8, 10);
        mouth.quadTo(0, 2, 8, 10);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(30, 30, 60), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(mouth);
    }
    // cheeks
    p.setPen(Qt::NoPen);
    p.setBrush(happy ? QColor(250, 120, 90, 110) : QColor(255, 255, 255, 50));
    p.drawEllipse(QPointF(-10, 3), 3, 2);
    p.drawEllipse(QPointF(10, 3), 3, 2);
    p.restore();
    if (!happy && pose) {
        // shaking the head
        p.setPen(QPen(QColor(255, 255, 255, 190), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(3, 10, 8, 30), 110 * 16, 140 * 16);
        p.drawArc(QRectF(39, 10, 8, 30), -70 * 16, 140 * 16);
    }
}

// The mixed cake's wheel seen from above, small.
void miniWheel(QPainter& p, QPointF c, double r)
{
    const QColor base[4] = {QColor(0, 192, 0), QColor(0, 0, 192), QColor(192, 192, 0), QColor(192, 0, 0)};
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    dropShadow(p, disc);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.0));
    p.setBrush(QColor(16, 16, 18));
    p.drawPath(disc);
    const double sr = r - 2;
    for (int i = 0; i < 12; ++i) {
        const QColor col = base[i % 4];
        QRadialGradient g(c + QPointF(-sr * 0.35, -sr * 0.35), sr * 1.5);
        g.setColorAt(0, scaled(col, 1.3).lighter(112));
        g.setColorAt(1, scaled(col, 0.7));
        p.setBrush(g);
        p.setPen(QPen(scaled(col, 0.5), 0.6));
        p.drawPie(QRectF(c.x() - sr, c.y() - sr, 2 * sr, 2 * sr), (90 - (i + 1) * 30) * 16, 30 * 16);
    }
    p.setBrush(QColor(20, 20, 22));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
    p.drawEllipse(c, r / 3, r / 3);
}

// Back to the game: an arrow swinging round into the cake wheel.
void backToGame(QPainter& p, bool pose)
{
    const double shift = pose ? 3 : 0;
    miniWheel(p, QPointF(33, 26), pose ? 12.5 : 11.5);
    QPainterPath arrow;
    arrow.moveTo(8, 42);
    arrow.cubicTo(7, 32, 9, 26, 13 + shift, 26);
    QPainterPath shape = stroked(arrow, 5.5, Qt::FlatCap);
    QPainterPath head;
    head.moveTo(12.5 + shift, 18);
    head.lineTo(21 + shift, 26);
    head.lineTo(12.5 + shift, 34);
    head.closeSubpath();
    solid(p, shape.united(head), QColor(60, 184, 60));
}

// A flag waving in the wind, with its language letters beneath.
void flag(QPainter& p, bool german, double wave)
{
    const int fw = 34, fh = 22;
    const int k = PaintScale();
    QImage art = canvas(fw, fh, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    {
        QPainter f(&art);
        f.setRenderHint(QPainter::Antialiasing, true);
        if (german) {
            f.fillRect(QRectF(0, 0, fw, fh / 3.0), QColor(20, 20, 20));
            f.fillRect(QRectF(0, fh / 3.0, fw, fh / 3.0), QColor(220, 30, 30));
            f.fillRect(QRectF(0, 2 * fh / 3.0, fw, fh / 3.0 + 1), QColor(252, 204, 0));
        } else {
            f.fillRect(QRectF(0, 0, fw, fh), QColor(20, 40, 130));
            f.setPen(QPen(QColor(248, 248, 248), 5));
            f.drawLine(QPointF(0, 0), QPointF(fw, fh));
            f.drawLine(QPointF(fw, 0), QPointF(0, fh));
            f.setPen(QPen(QColor(210, 20, 40), 1.6));
            f.drawLine(QPointF(0, 0), QPointF(fw, fh));
            f.drawLine(QPointF(fw, 0), QPointF(0, fh));
            f.fillRect(QRectF(fw / 2.0 - 4, 0, 8, fh), QColor(248, 248, 248));
            f.fillRect(QRectF(0, fh / 2.0 - 4, fw, 8), QColor(248, 248, 248));
            f.fillRect(QRectF(fw / 2.0 - 2.2, 0, 4.4, fh), QColor(210, 20, 40));
            f.fillRect(QRectF(0, fh / 2.0 - 2.2, fw, 4.4), QColor(210, 20, 40));
        }
    }
    // Warp column by column with a sine wave, sampling between rows so the stripes
    // stay smooth; the slope sets the light on the cloth.
    const double ox = 10, oy = 7;
    const int pad = 4;
    QPainterPath pole;
    pole.addRoundedRect(QRectF(ox - 3, oy - 3, 2.6, 38), 1.2, 1.2);
    dropShadow(p, pole);
    shadedFill(p, pole, QColor(230, 220, 200), QColor(120, 100, 80), QColor(50, 40, 30), 0.7);
    QImage warped = canvas(fw, fh + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    warped.fill(Qt::transparent);
    // in the canvases' own pixels: k per logical pixel
    auto sample = [&](int x, int y) -> QRgb { return (y < 0 || y >= fh * k) ? 0 : art.pixel(x, y); };
    for (int x = 0; x < fw * k; ++x) {
        const double lx = double(x) / k;
        const double phase = 2 * Pi * lx / fw * 1.2;
        const double dy = wave * std::sin(phase) * (lx / double(fw));
        const double light = 1.0 - 0.09 * wave * std::cos(phase);
        for (int y = 0; y < warped.height(); ++y) {
            const double sy = y - pad * k - dy * k;
            const int y0 = int(std::floor(sy));
            const double t = sy - y0;
            const QRgb a = sample(x, y0), b = sample(x, y0 + 1);
            auto ch = [&](int ca, int cb, double f) {
                return std::clamp(int(std::lround((ca + (cb - ca) * t) * f)), 0, 255);
            };
            const int alpha = ch(qAlpha(a), qAlpha(b), 1.0);
            auto lit = [&](int ca, int cb) { return std::min(alpha, ch(ca, cb, light)); };
            warped.setPixel(x, y, qRgba(lit(qRed(a), qRed(b)), lit(qGreen(a), qGreen(b)), lit(qBlue(a), qBlue(b)), alpha));
        }
    }
    p.drawImage(QPointF(ox, oy - pad), warped);
    p.setPen(QPen(QColor(20, 20, 20, 160), 0.8));
    p.setBrush(Qt::NoBrush);
    QPainterPath letters;
    letters.addText(0, 0, boldFont(12), german ? QStringLiteral("DE") : QStringLiteral("EN"));
    letters.translate(QPointF(27, 41) - letters.boundingRect().center());
    shadedFill(p, letters, QColor(255, 255, 240), QColor(222, 214, 196), QColor(40, 30, 20), 1.0);
}

// The cheerful vignette: the mixed cake on a plate, with a few sparkles. Transparent
// around it.
QImage cakePicture()
{
    QImage img = canvas(105, 77, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    // plate
    QRadialGradient shadow(QPointF(54, 64), 50);
    shadow.setColorAt(0, QColor(0, 0, 0, 90));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QRectF(6, 52, 96, 22));
    QLinearGradient plate(0, 44, 0, 72);
    plate.setColorAt(0, QColor(252, 250, 244));
    plate.setColorAt(1, QColor(196, 190, 180));
    p.setBrush(plate);
    p.setPen(QPen(QColor(90, 80, 70), 1.2));
    p.drawEllipse(QRectF(4, 44, 96, 26));
    p.setPen(QPen(QColor(46, 116, 206), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(9, 46.5, 86, 21));
    p.setPen(QPen(QColor(170, 160, 150), 0.8));
    p.drawEllipse(QRectF(22, 50.5, 60, 13));

    // the tart: a side band of crust, then the top with the twelve slices
    const QPointF c(52, 42);
    const double rx = 34, ry = 13, depth = 9;
    QPainterPath side;
    side.moveTo(c.x() - rx, c.y());
    side.lineTo(c.x() - rx, c.y() + depth);
    side.arcTo(QRectF(c.x() - rx, c.y() + depth - ry, 2 * rx, 2 * ry), 180, 180);
    side.lineTo(c.x() + rx, c.y());
    side.closeSubpath();
    QLinearGradient crust(c.x() - rx, 0, c.x() + rx, 0);
    crust.setColorAt(0, QColor(238, 180, 100));
    crust.setColorAt(0.5, QColor(204, 140, 70));
    crust.setColorAt(1, QColor(140, 84, 36));
    p.setBrush(crust);
    p.setPen(QPen(QColor(90, 50, 20), 1.0));
    p.drawPath(side);
    // scalloped crust edge
    p.setPen(QPen(QColor(250, 214, 150, 160), 1.0));
    for (int i = 0; i < 13; ++i) {
        const double a = Pi * (i + 0.5) / 13;
        const double x = c.x() - rx * std::cos(a);
        const double y = c.y() + depth * 0.5 + ry * std::sin(a);
        p.drawLine(QPointF(x, y - 3), QPointF(x, y + 2));
    }
    p.save();
    p.translate(c);
    p.scale(1.0, ry / rx);
    p.setBrush(QColor(22, 18, 18));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.4));
    p.drawEllipse(QPointF(0, 0), rx, rx);
    const QColor base[4] = {QColor(0, 192, 0), QColor(0, 0, 192), QColor(192, 192, 0), QColor(192, 0, 0)};
    const double sr = rx - 3.5;
    for (int i = 0; i < 12; ++i) {
        const QColor col = base[i % 4];
        QRadialGradient g(QPointF(-sr * 0.4, -sr * 0.5), sr * 1.6);
        g.setColorAt(0, scaled(col, 1.3).lighter(118));
        g.setColorAt(1, scaled(col, 0.72));
        p.setBrush(g);
        p.setPen(QPen(scaled(col, 0.5), 1.0));
        p.drawPie(QRectF(-sr, -sr, 2 * sr, 2 * sr), (90 - (i + 1) * 30) * 16, 30 * 16);
    }
    QRadialGradient hub(QPointF(-3, -3), 14);
    hub.setColorAt(0, QColor(70, 64, 64));
    hub.setColorAt(1, QColor(16, 14, 14));
    p.setBrush(hub);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.2));
    p.drawEllipse(QPointF(0, 0), rx / 3, rx / 3);
    p.restore();
    // a cherry on top
    QRadialGradient cherry(QPointF(49, 31), 6);
    cherry.setColorAt(0, QColor(255, 140, 140));
    cherry.setColorAt(0.4, QColor(220, 20, 40));
    cherry.setColorAt(1, QColor(110, 0, 16));
    p.setPen(QPen(QColor(60, 110, 30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath stalk;
    stalk.moveTo(52, 33);
    stalk.cubicTo(53, 27, 57, 23, 61, 21);
    p.drawPath(stalk);
    p.setPen(QPen(QColor(90, 0, 10), 0.8));
    p.setBrush(cherry);
    p.drawEllipse(QPointF(51, 35), 5, 4.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(QPointF(49.2, 33.4), 1.3, 1.0);
    // sparkles
    auto sparkle = [&](QPointF s, double r) {
        QPainterPath path;
        path.moveTo(s.x(), s.y() - r);
        path.quadTo(s.x(), s.y(), s.x() + r, s.y());
        path.quadTo(s.x(), s.y(), s.x(), s.y() + r);
        path.quadTo(s.x(), s.y(), s.x() - r, s.y());
        path.quadTo(s.x(), s.y(), s.x(), s.y() - r);
        p.setPen(QPen(QColor(200, 150, 20), 0.6));
        p.setBrush(QColor(255, 240, 150));
        p.drawPath(path);
    };
    sparkle(QPointF(14, 16), 6);
    sparkle(QPointF(90, 12), 5);
    sparkle(QPointF(96, 30), 3.2);
    sparkle(QPointF(24, 6), 3);
    p.end();
    return img;
}

} // namespace

QImage PaintDlgsPicture(int index)
{
    const QColor orange = faceOrange();
    const QColor blue = faceBlue();
    const QColor cocoa(78, 40, 30), raspberry(100, 34, 50);
    switch (index) {
    case DlgMessageBack: return outerBack(319, 158, 11);
    case DlgMessagePanel: return innerPanel(298, 77, raspberry, 12);
    case DlgHighscoreBack: return outerBack(320, 476, 21);
    case DlgHighscoreTitle: return innerPanel(298, 33, raspberry, 22);
    case DlgHighscoreList: return innerPanel(298, 329, cocoa, 23);
    case DlgHighscoreCheck: return innerPanel(298, 29, cocoa, 24);
    case DlgOptionsBack: return outerBack(497, 416, 31);
    case DlgOptionsPanel: return innerPanel(369, 333, cocoa, 32);
    case DlgLanguageBack: return outerBack(408, 162, 41);
    case DlgLanguagePanel: return innerPanel(289, 137, cocoa, 42);
    case DlgInfoBack: return outerBack(497, 416, 51);
    case DlgInfoPanel: return innerPanel(369, 333, raspberry, 52);
    case DlgYesNormal: return paintFace(orange, [](QPainter& p) { face(p, true, 0, false); });
    case DlgYesHover: return paintFace(orange, [](QPainter& p) { face(p, true, -10, true); });
    case DlgNoNormal: return paintFace(orange, [](QPainter& p) { face(p, false, 0, false); });
    case DlgNoHover: return paintFace(orange, [](QPainter& p) { face(p, false, 12, true); });
    case DlgOkNormal: return paintFace(orange, [](QPainter& p) { checkMark(p, 0, 1.0); });
    case DlgOkHover: return paintFace(orange, [](QPainter& p) { checkMark(p, -10, 1.12); });
    case DlgCancelNormal: return paintFace(orange, [](QPainter& p) { crossMark(p, 0, 1.0); });
    case DlgCancelHover: return paintFace(orange, [](QPainter& p) { crossMark(p, 15, 1.12); });
    case DlgCloseNormal: return paintFace(orange, [](QPainter& p) { backToGame(p, false); });
    case DlgCloseHover: return paintFace(orange, [](QPainter& p) { backToGame(p, true); });
    case DlgGermanNormal: return paintFace(blue, [](QPainter& p) { flag(p, true, 0.8); });
    case DlgGermanHover: return paintFace(blue, [](QPainter& p) { flag(p, true, 2.6); });
    case DlgEnglishNormal: return paintFace(blue, [](QPainter& p) { flag(p, false, 0.8); });
    case DlgEnglishHover: return paintFace(blue, [](QPainter& p) { flag(p, false, 2.6); });
    case DlgCakePicture: return cakePicture();
    default: return {};
    }
}

} // namespace torvella::assetgen
