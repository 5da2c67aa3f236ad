// Tool-bar pictures: the golden score digits with their masks, the jump icon (the
// mixed cake's wheel) with its mask, and the window icon.
#include "PictureKit.h"
#include "PictureSets.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

namespace torvella::assetgen {

namespace {

constexpr int CellW = 20, CellH = 27, GlyphW = 19;

// The cakes' colours (red, green, blue, yellow) and the brightening and darkening
// of the slices from 1 to 12, so the wheel looks like the mixed cake on the board.
const std::array<QColor, 5> CakeBase{QColor(0, 0, 0), QColor(192, 0, 0), QColor(0, 192, 0), QColor(0, 0, 192),
                                     QColor(192, 192, 0)};
const std::array<double, 13> SliceFactor{0, 0.93, 1.0, 1.07, 1.14, 1.21, 1.14, 1.07, 1.0, 0.93, 0.86, 0.79, 0.86};

QColor sliceColour(int i)
{
    const QColor base = CakeBase[std::size_t(i % 4 + 1)];
    return scaled(base, SliceFactor[std::size_t(i)]);
}

bool isBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }

// The wheel of twelve slices around a dark hub, on a transparent ground.
void paintWheel(QPainter& p, QPointF c, double radius, bool detailed)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    // Base disc: nearly black (pure black would count as transparent in the mask),
    // with the grey rim of the mixed cake.
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), detailed ? 1.2 : 1.0));
    p.setBrush(QColor(16, 16, 18));
    p.drawEllipse(c, radius, radius);
    const double sr = radius - (detailed ? 2.6 : 1.8);
    const QRectF box(c.x() - sr, c.y() - sr, 2 * sr, 2 * sr);
    for (int i = 1; i <= 12; ++i) {
        const QColor col = sliceColour(i);
        // Qt angles run counter-clockwise from 3 o'clock; slice i runs clockwise from
        // (i - 1) * 30 degrees past 12 o'clock.
        const double start = 90 - i * 30;
        QRadialGradient g(c + QPointF(-sr * 0.35, -sr * 0.35), sr * 1.5);
        g.setColorAt(0, scaled(col, 1.3).lighter(112));
        g.setColorAt(1, scaled(col, 0.72));
        p.setBrush(g);
        p.setPen(detailed ? QPen(scaled(col, 0.55), 0.7) : Qt::NoPen);
        p.drawPie(box, int(std::lround(start * 16)), 30 * 16);
    }
    if (detailed) {
        // gloss on the upper left of the wheel
        QRadialGradient gloss(c + QPointF(-sr * 0.4, -sr * 0.5), sr * 0.8);
        gloss.setColorAt(0, QColor(255, 255, 255, 110));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(gloss);
        p.drawEllipse(c, sr, sr);
    }
    const double hub = radius / 3;
    QRadialGradient hubG(c + QPointF(-hub * 0.35, -hub * 0.35), hub * 1.3);
    hubG.setColorAt(0, QColor(58, 58, 62));
    hubG.setColorAt(1, QColor(12, 12, 14));
    p.setBrush(hubG);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), detailed ? 1.0 : 0.8));
    p.drawEllipse(c, hub, hub);
}

} // namespace

QImage PaintDigitStrip()
{
    QImage strip = canvas(11 * CellW, 2 * CellH, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, true);

    const QFont font = boldFont(100);
    QPainterPath zero;
    zero.addText(0, 0, font, QStringLiteral("0"));
    // One scale for all digits, so they share height and stroke weight.
    const double targetH = 23.0;
    const double sy = targetH / zero.boundingRect().height();
    double widest = 0;
    for (char d = '0'; d <= '9'; ++d) {
        QPainterPath path;
        path.addText(0, 0, font, QString(QChar(d)));
        widest = std::max(widest, path.boundingRect().width());
    }
    const double sx = std::min(sy, 16.0 / widest);

    QLinearGradient gold(0, 2, 0, 25);
    gold.setColorAt(0, QColor(255, 244, 160));
    gold.setColorAt(0.45, QColor(254, 206, 48));
    gold.setColorAt(1, QColor(214, 128, 12));

    for (int g = 0; g < 11; ++g) {
        QPainterPath glyph;
        if (g == 0) {
            glyph.addRoundedRect(QRectF(3, 12, 13, 4), 1.8, 1.8);
        } else {
            QPainterPath path;
            path.addText(0, 0, font, QString(QChar('0' + g - 1)));
            QTransform t;
            t.scale(sx, sy);
            path = t.map(path);
            const QRectF b = path.boundingRect();
            // centred in the 19 glyph columns, standing on row 25
            path.translate((GlyphW - b.width()) / 2 - b.left(), 25 - b.bottom());
            glyph = path;
        }
        glyph.translate(g * CellW, 0);
        p.save();
        p.setClipRect(g * CellW, 0, GlyphW, CellH);
        p.setBrush(gold);
        p.setPen(QPen(QColor(150, 84, 6), 0.8));
        p.drawPath(glyph);
        // a thin highlight along the top left edges
        p.setPen(QPen(QColor(255, 252, 220, 150), 0.6));
        p.setBrush(Qt::NoBrush);
        p.translate(-0.4, -0.4);
        p.setClipPath(glyph.translated(0.4, 0.4), Qt::IntersectClip);
        p.drawPath(glyph);
        p.restore();
    }
    p.end();

    // The faintest antialiasing fringe goes to pure black: it would only widen the
    // masks and darken the counters of the digits. The masks are then derived from
    // the glyphs, so the two always agree.
    const int rows = CellH * PaintScale();
    for (int y = 0; y < rows; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            if (std::max({qRed(line[x]), qGreen(line[x]), qBlue(line[x])}) < 36)
                line[x] = qRgb(0, 0, 0);
    }
    for (int y = 0; y < rows; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(strip.scanLine(y + rows));
        for (int x = 0; x < strip.width(); ++x)
            dst[x] = isBlack(src[x]) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return strip;
}

QImage PaintJumpIcon()
{
    QImage icon = canvas(45, 45, QImage::Format_RGB32);
    icon.fill(Qt::black);
    QPainter p(&icon);
    paintWheel(p, QPointF(22.5, 22.5), 21.6, true);
    p.end();
    return icon;
}

QImage JumpMaskFor(const QImage& icon)
{
    QImage mask(icon.size(), QImage::Format_Mono);
    mask.setDevicePixelRatio(icon.devicePixelRatio());
    mask.setColorCount(2);
    mask.setColor(0, qRgb(0, 0, 0));
    mask.setColor(1, qRgb(255, 255, 255));
    mask.fill(1); // also clears the padding bits at the end of each line, which go into the file
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            mask.setPixel(x, y, isBlack(icon.pixel(x, y)) ? 1 : 0);
    return mask;
}

QImage PaintWindowIcon()
{
    QImage art = canvas(32, 32, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        paintWheel(p, QPointF(16, 16), 15.4, false);
    }
    // Sixteen colours: transparent, the hub and rim greys, and three shades of each
    // slice colour. Every pixel takes the nearest.
    QList<QRgb> palette{qRgba(0, 0, 0, 0), qRgb(12, 12, 14), qRgb(48, 48, 52), qRgb(0x60, 0x60, 0x60)};
    for (int c = 1; c <= 4; ++c)
        for (double f : {0.62, 0.95, 1.3}) {
            const QColor q = scaled(CakeBase[std::size_t(c)], f);
            palette.push_back(qRgb(q.red(), q.green(), q.blue()));
        }
    QImage icon(art.size(), QImage::Format_Indexed8);
    icon.setColorTable(palette);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x) {
            const QColor c = QColor::fromRgba(art.pixel(x, y));
            int best = 0;
            if (c.alpha() >= 110) {
                long bestD = -1;
                for (int i = 1; i < palette.size(); ++i) {
                    const long dr = c.red() - qRed(palette[i]), dg = c.green() - qGreen(palette[i]),
                               db = c.blue() - qBlue(palette[i]);
                    const long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
                    if (bestD < 0 || d < bestD) {
                        bestD = d;
                        best = i;
                    }
                }
            }
            icon.setPixel(x, y, uint(best));
        }
    return icon;
}

} // namespace torvella::assetgen

namespace torvella::assetgen {

QImage PaintAppIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double s = size;
    const QPointF c(s / 2, s / 2);
    if (size < 48) {
        // Small sizes: the wheel alone, as large as it fits, so the colours stay readable.
        paintWheel(p, c, s / 2 - 0.6, false);
        return icon;
    }
    // The mixed cake on a cream plate with a soft shadow below it.
    const double plate = s * 0.47;
    QRadialGradient shadow(c + QPointF(0, s * 0.03), plate * 1.06);
    shadow.setColorAt(0.85, QColor(0, 0, 0, 90));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, s * 0.03), plate * 1.06, plate * 1.06);
    QRadialGradient rim(c + QPointF(-plate * 0.3, -plate * 0.35), plate * 1.5);
    rim.setColorAt(0, QColor(255, 252, 240));
    rim.setColorAt(1, QColor(214, 200, 172));
    p.setBrush(rim);
    p.setPen(QPen(QColor(150, 132, 104), std::max(1.0, s / 96)));
    p.drawEllipse(c, plate, plate);
    paintWheel(p, c, plate * 0.8, true);
    return icon;
}

} // namespace torvella::assetgen
