#include "PictureKit.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace torvella::assetgen {

namespace {
int currentScale = 1;
}

int PaintScale() { return currentScale; }

PaintScaleScope::PaintScaleScope(int scale) : previous_(currentScale) { currentScale = scale; }
PaintScaleScope::~PaintScaleScope() { currentScale = previous_; }

QImage canvas(int w, int h, QImage::Format format)
{
    QImage image(w * currentScale, h * currentScale, format);
    image.setDevicePixelRatio(currentScale);
    return image;
}

PeriodicNoise::PeriodicNoise(int cells, std::uint64_t seed) : cells_(cells), values_(std::size_t(cells * cells))
{
    Rng rng(seed);
    for (double& v : values_)
        v = rng.unit();
}

double PeriodicNoise::at(double x, double y) const
{
    const double fx = std::floor(x), fy = std::floor(y);
    const double tx = x - fx, ty = y - fy;
    auto wrap = [this](double v) { return ((int(v) % cells_) + cells_) % cells_; };
    const int x0 = wrap(fx), y0 = wrap(fy);
    const int x1 = (x0 + 1) % cells_, y1 = (y0 + 1) % cells_;
    auto v = [this](int cx, int cy) { return values_[std::size_t(cy * cells_ + cx)]; };
    // quintic fade keeps the lattice invisible
    auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const double sx = fade(tx), sy = fade(ty);
    const double a = v(x0, y0) + (v(x1, y0) - v(x0, y0)) * sx;
    const double b = v(x0, y1) + (v(x1, y1) - v(x0, y1)) * sx;
    return a + (b - a) * sy;
}

TileNoise::TileNoise(int size, int baseCells, int octaves, std::uint64_t seed) : size_(size)
{
    int cells = baseCells;
    for (int i = 0; i < octaves; ++i) {
        octaves_.emplace_back(cells, seed * 7919 + std::uint64_t(i) * 104729 + 17);
        cells_.push_back(cells);
        cells *= 2;
    }
}

double TileNoise::at(double px, double py) const
{
    double sum = 0, weight = 0, amp = 1;
    for (std::size_t i = 0; i < octaves_.size(); ++i) {
        const double scale = double(cells_[i]) / size_;
        sum += amp * octaves_[i].at(px * scale, py * scale);
        weight += amp;
        amp *= 0.5;
    }
    return sum / weight;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor scaled(const QColor& c, double factor)
{
    auto ch = [factor](int v) { return std::clamp(int(std::lround(v * factor)), 0, 255); };
    return QColor(ch(c.red()), ch(c.green()), ch(c.blue()), c.alpha());
}

double smoothstep(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

void forEachWrap(int size, const std::function<void(double, double)>& draw)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            draw(dx * size, dy * size);
}

QColor faceBlue() { return QColor(58, 128, 214); }
QColor faceOrange() { return QColor(246, 150, 44); }

namespace {

QPainterPath outerFrame()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, FaceSize, FaceSize), 11, 11);
    return path;
}

QPainterPath innerField()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(2.5, 2.5, FaceSize - 5, FaceSize - 5), 8.5, 8.5);
    return path;
}

} // namespace

QImage paintFace(const QColor& background, const std::function<void(QPainter&)>& subject)
{
    QImage face = canvas(FaceSize, FaceSize, QImage::Format_RGB32);
    face.fill(Qt::white);

    // Which pixels are corners is decided by an aliased shape, so a corner pixel is
    // either pure white (transparent) or part of the black frame, never a grey blend
    // that would glow against the tool bar.
    QImage shape = canvas(FaceSize, FaceSize, QImage::Format_RGB32);
    shape.fill(Qt::white);
    {
        QPainter sp(&shape);
        sp.setRenderHint(QPainter::Antialiasing, false);
        sp.setPen(Qt::NoPen);
        sp.setBrush(Qt::black);
        sp.drawPath(outerFrame());
    }

    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(0, 0, FaceSize, FaceSize);

    // Background: lit from the top left, a soft glow behind the subject.
    QLinearGradient lg(QPointF(4, 3), QPointF(40, 48));
    lg.setColorAt(0, scaled(background, 1.28));
    lg.setColorAt(0.55, background);
    lg.setColorAt(1, scaled(background, 0.62));
    p.setBrush(lg);
    p.drawPath(innerField());
    QRadialGradient glow(QPointF(24, 23), 24);
    glow.setColorAt(0, QColor(255, 255, 240, 70));
    glow.setColorAt(1, QColor(255, 255, 240, 0));
    p.setBrush(glow);
    p.drawPath(innerField());

    p.save();
    p.setClipPath(innerField());
    subject(p);
    p.restore();

    // Glass highlight over the upper half and a thin bright inner rim at the top left.
    p.save();
    p.setClipPath(innerField());
    QLinearGradient gloss(QPointF(0, 2), QPointF(0, 24));
    gloss.setColorAt(0, QColor(255, 255, 255, 80));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    QPainterPath glossPath;
    glossPath.addEllipse(QRectF(-6, -22, 62, 46));
    p.setBrush(gloss);
    p.drawPath(glossPath);
    p.restore();
    QPen rim(QColor(255, 255, 255, 70), 1.0);
    p.setPen(rim);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3.5, 3.5, FaceSize - 7, FaceSize - 7), 7.5, 7.5);
    p.end();

    for (int y = 0; y < face.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(face.scanLine(y));
        for (int x = 0; x < face.width(); ++x) {
            if (qRed(s[x]) == 255)
                d[x] = qRgb(255, 255, 255);
            else if ((d[x] & 0xFFFFFF) == 0xFFFFFF)
                d[x] = qRgb(250, 250, 250);
        }
    }
    return face;
}

QImage greyFace(const QImage& face)
{
    QImage grey(face.size(), QImage::Format_Grayscale8);
    grey.setDevicePixelRatio(face.devicePixelRatio());
    for (int y = 0; y < face.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(face.constScanLine(y));
        uchar* d = grey.scanLine(y);
        for (int x = 0; x < face.width(); ++x) {
            if ((s[x] & 0xFFFFFF) == 0xFFFFFF) {
                d[x] = 255;
                continue;
            }
            const double g = 0.299 * qRed(s[x]) + 0.587 * qGreen(s[x]) + 0.114 * qBlue(s[x]);
            // Washed out: lower contrast and lifted, the frame (near black) stays dark.
            const double washed = g * 0.55 + 95 * smoothstep(0, 50, g);
            d[x] = uchar(std::clamp(int(std::lround(washed)), 0, 240));
        }
    }
    return grey;
}

void dropShadow(QPainter& p, const QPainterPath& path, QPointF offset, int alpha)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, alpha / (i + 1)));
        const double grow = i * 0.7;
        QTransform t;
        const QRectF b = path.boundingRect();
        const QPointF c = b.center();
        t.translate(c.x() + offset.x(), c.y() + offset.y());
        t.scale((b.width() + grow) / std::max(1.0, b.width()), (b.height() + grow) / std::max(1.0, b.height()));
        t.translate(-c.x(), -c.y());
        p.drawPath(t.map(path));
    }
    p.restore();
}

void shadedFill(QPainter& p, const QPainterPath& path, const QColor& light, const QColor& dark, const QColor& outline,
                double outlineWidth)
{
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomRight());
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.save();
    p.setBrush(g);
    if (outlineWidth > 0)
        p.setPen(QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        p.setPen(Qt::NoPen);
    p.drawPath(path);
    p.restore();
}

QFont boldFont(double pixelSize)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(int(std::lround(pixelSize)));
    f.setBold(true);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace torvella::assetgen
