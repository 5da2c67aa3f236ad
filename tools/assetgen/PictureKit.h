#pragma once
// Small painting kit shared by the picture generators: a portable seeded random
// source (std:: distributions differ between libraries, so we do our own maths),
// periodic noise for seamless tiles, and the common look of the 50 x 50 button faces.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <functional>
#include <vector>

namespace torvella::assetgen {

// Every picture is painted twice: at scale 1 for the stored picture and at scale 2 for its
// "@2x" twin on high-density screens. The painters work in logical pixels: a canvas has
// scale times as many pixels each way and that devicePixelRatio, so a QPainter on it draws
// the same shapes finer; loops over pixels go over the canvas's own pixels and evaluate
// their functions at logical coordinates (pixel / scale).
int PaintScale();
class PaintScaleScope {
public:
    explicit PaintScaleScope(int scale);
    ~PaintScaleScope();
    PaintScaleScope(const PaintScaleScope&) = delete;
    PaintScaleScope& operator=(const PaintScaleScope&) = delete;

private:
    int previous_;
};
// A w x h (logical) picture at the current scale, not yet filled.
QImage canvas(int w, int h, QImage::Format format);

// splitmix64: tiny, fast and the same on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); } // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return int(next() % std::uint64_t(n)); }

private:
    std::uint64_t state_;
};

// Value noise on a lattice that wraps: noise(x + size, y) == noise(x, y) when the
// tile size is a whole number of cells. Used for every texture that must tile.
class PeriodicNoise {
public:
    PeriodicNoise(int cells, std::uint64_t seed);
    // x, y in cell units; result in [0, 1].
    double at(double x, double y) const;

private:
    int cells_;
    std::vector<double> values_;
};

// Fractal sum of periodic noise over a square tile of `size` pixels; the coarsest
// octave has `baseCells` cells across the tile, each further octave doubles that.
class TileNoise {
public:
    TileNoise(int size, int baseCells, int octaves, std::uint64_t seed);
    double at(double px, double py) const; // roughly [0, 1]

private:
    int size_;
    std::vector<PeriodicNoise> octaves_;
    std::vector<int> cells_;
};

QColor mix(const QColor& a, const QColor& b, double t);
QColor scaled(const QColor& c, double factor);
double smoothstep(double e0, double e1, double x);

// Calls draw(dx, dy) for the nine copies a shape needs so that whatever crosses a
// tile edge comes back in on the opposite side.
void forEachWrap(int size, const std::function<void(double, double)>& draw);

// Button faces ---------------------------------------------------------------------
constexpr int FaceSize = 50;

// Background colours of the two families of faces.
QColor faceBlue();
QColor faceOrange();

// A 50 x 50 face: pure white corners (the transparent colour), a rounded black frame
// with a crisp outer edge, a softly shaded background and the subject on top. The
// subject is painted antialiased, clipped to the inside of the frame. Pure white is
// nudged to off-white inside the frame so that nothing inside turns transparent.
QImage paintFace(const QColor& background, const std::function<void(QPainter&)>& subject);
// The grey disabled version of a face: luminance only, washed out; stored 8-bit.
QImage greyFace(const QImage& face);

// A soft drop shadow under a path, drawn before the path itself.
void dropShadow(QPainter& p, const QPainterPath& path, QPointF offset = QPointF(1.6, 2.0), int alpha = 90);
// Fill a path with a top-left lit gradient from `light` to `dark` and outline it.
void shadedFill(QPainter& p, const QPainterPath& path, const QColor& light, const QColor& dark,
                const QColor& outline, double outlineWidth = 1.4);

QFont boldFont(double pixelSize);

} // namespace torvella::assetgen
