// The seven background designs. Every tile is periodic: pixel textures come from
// periodic noise and functions whose periods divide the tile size, shapes are drawn
// once per neighbouring tile so that what leaves on one edge comes back on the other.
#include "PictureKit.h"
#include "PictureSets.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

namespace torvella::assetgen {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int N = TileSize;

// A square height field of the tile's own pixels (N at scale 1, 2N at scale 2), wrapping.
struct HeightField {
    int size;
    std::vector<double> v;
    explicit HeightField(int m) : size(m), v(std::size_t(m) * std::size_t(m)) {}
    double& at(int x, int y) { return v[std::size_t(((y + size) % size) * size + (x + size) % size)]; }
    double get(int x, int y) const { return v[std::size_t(((y + size) % size) * size + (x + size) % size)]; }
};

double& at(HeightField& h, int x, int y) { return h.at(x, y); }
double get(const HeightField& h, int x, int y) { return h.get(x, y); }

// Lambert light from the top left on a height field (differences wrap around). The slope
// is taken per logical pixel, so a finer field is lit as the coarse one.
double lightOn(const HeightField& h, int x, int y, double strength)
{
    strength *= double(h.size) / N;
    const double dx = (get(h, x + 1, y) - get(h, x - 1, y)) * strength;
    const double dy = (get(h, x, y + 1) - get(h, x, y - 1)) * strength;
    // normal (-dx, -dy, 1), light from (-1, -1, 1.4)
    const double lx = -0.55, ly = -0.55, lz = 0.63;
    const double len = std::sqrt(dx * dx + dy * dy + 1);
    return std::max(0.0, (-dx * lx - dy * ly + lz) / len);
}

QRgb rgb(double r, double g, double b)
{
    auto c = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return qRgb(c(r), c(g), c(b));
}

QRgb shade(const QColor& c, double f) { return rgb(c.red() * f, c.green() * f, c.blue() * f); }

struct Seed {
    double x, y;
    int id;
};

// Jittered seeds on a torus and the nearest two distances (wrap-around metric).
std::vector<Seed> jitteredSeeds(int perSide, double jitter, Rng& rng)
{
    std::vector<Seed> seeds;
    const double cell = double(N) / perSide;
    for (int j = 0; j < perSide; ++j)
        for (int i = 0; i < perSide; ++i) {
            const double sx = (i + 0.5 + rng.range(-jitter, jitter)) * cell;
            const double sy = (j + 0.5 + rng.range(-jitter, jitter)) * cell + (i % 2) * cell * 0.0;
            seeds.push_back({std::fmod(sx + N, N), std::fmod(sy + N, N), int(seeds.size())});
        }
    return seeds;
}

struct Nearest {
    double d1 = 1e9, d2 = 1e9;
    int id = 0;
    double ox = 0, oy = 0; // offset from the nearest seed to the pixel
};

Nearest nearestSeeds(const std::vector<Seed>& seeds, double px, double py)
{
    Nearest n;
    for (const Seed& s : seeds) {
        double dx = px - s.x, dy = py - s.y;
        dx -= N * std::round(dx / N);
        dy -= N * std::round(dy / N);
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d < n.d1) {
            n.d2 = n.d1;
            n.d1 = d;
            n.id = s.id;
            n.ox = dx;
            n.oy = dy;
        } else if (d < n.d2) {
            n.d2 = d;
        }
    }
    return n;
}

// Distance to the cell border of a Voronoi cell, good enough for grout lines.
double borderDistance(const Nearest& n) { return (n.d2 - n.d1) * 0.5; }

// 0: dense foliage in reds and greens ---------------------------------------------
QImage foliage()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    TileNoise ground(N, 4, 4, 101);
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            const double n = ground.at(px / k, py / k);
            img.setPixel(px, py, rgb(22 + 30 * n, 48 + 40 * n, 18 + 16 * n));
        }
    const std::array<QColor, 9> colours{QColor(196, 38, 36),  QColor(226, 74, 40),  QColor(150, 24, 40),
                                        QColor(72, 150, 52),  QColor(40, 118, 48),  QColor(118, 176, 60),
                                        QColor(236, 120, 48), QColor(98, 136, 40),  QColor(176, 30, 58)};
    Rng rng(7);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < 150; ++i) {
        const double cx = rng.range(0, N), cy = rng.range(0, N);
        const double angle = rng.range(0, 360);
        const double len = rng.range(15, 26), wid = len * rng.range(0.36, 0.48);
        const QColor c = colours[std::size_t(rng.below(int(colours.size())))];
        const double bright = rng.range(0.8, 1.1);
        QPainterPath leaf;
        leaf.moveTo(-len / 2, 0);
        leaf.cubicTo(-len / 4, -wid * 0.75, len / 4, -wid * 0.6, len / 2, 0);
        leaf.cubicTo(len / 4, wid * 0.6, -len / 4, wid * 0.75, -len / 2, 0);
        forEachWrap(N, [&](double dx, double dy) {
            p.save();
            p.translate(cx + dx, cy + dy);
            p.rotate(angle);
            // shadow onto the leaves below
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 70));
            p.save();
            p.translate(1.2, 1.6);
            p.drawPath(leaf);
            p.restore();
            // light falls from the top left whatever the leaf's angle
            const QTransform inv = p.transform().inverted();
            QLinearGradient g(inv.map(QPointF(cx + dx - len / 2, cy + dy - len / 2)),
                              inv.map(QPointF(cx + dx + len / 2, cy + dy + len / 2)));
            g.setColorAt(0, scaled(c, 1.25 * bright));
            g.setColorAt(1, scaled(c, 0.7 * bright));
            p.setBrush(g);
            p.setPen(QPen(scaled(c, 0.5), 0.7));
            p.drawPath(leaf);
            p.setPen(QPen(scaled(c, 1.45 * bright), 0.8));
            p.drawLine(QPointF(-len / 2 + 1.5, 0), QPointF(len / 2 - 2, 0));
            p.restore();
        });
    }
    return img;
}

// 1: violet woven diagonal pattern ------------------------------------------------
QImage woven()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    const double w = 100.0 / 6; // strand pitch along the diagonals: 6 strands per tile, an even number
    TileNoise fibre(N, 10, 3, 202);
    const QColor base(132, 72, 178);
    // Sampled four times per pixel: the strand edges run at 45 degrees and would
    // show stairs otherwise.
    auto sample = [&](double x, double y, double* out) {
        const double u = (x + y) / w, v = (x - y + N) / w;
        const int iu = int(std::floor(u)), iv = int(std::floor(v));
        const double fu = u - iu, fv = v - iv;
        const bool uOnTop = ((iu + iv) & 1) == 0;
        const double across = uOnTop ? fu : fv; // position across the top strand
        const double along = uOnTop ? fv : fu;  // position along it within the crossing
        // rounded strand: bright middle, dark edges, a gap line between strands
        const double profile = std::sin(Pi * across);
        const double edge = smoothstep(0.0, 0.12, across) * smoothstep(0.0, 0.12, 1 - across);
        // the strand dips under its neighbours at both ends of the crossing
        const double dip = 0.72 + 0.28 * std::sin(Pi * along);
        // fine threads along the strand
        const double threads = 0.9 + 0.1 * std::sin(2 * Pi * across * 6);
        const double n = 0.9 + 0.2 * fibre.at(x, y);
        // light from the top left: the strands running one way catch more of it
        const double facing = uOnTop ? 1.0 : 0.86;
        const double f = (0.35 + 0.75 * profile) * dip * threads * n * facing * (0.25 + 0.75 * edge);
        const double hi = std::pow(std::max(0.0, profile), 10) * 0.25 * dip;
        out[0] += base.red() * f + 255 * hi;
        out[1] += base.green() * f + 220 * hi;
        out[2] += base.blue() * f + 255 * hi;
    };
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            double c[3] = {0, 0, 0};
            for (double sy : {0.25, 0.75})
                for (double sx : {0.25, 0.75})
                    sample((px + sx) / k, (py + sy) / k, c);
            img.setPixel(px, py, rgb(c[0] / 4, c[1] / 4, c[2] / 4));
        }
    return img;
}

// 2: green marbled bubbles --------------------------------------------------------
QImage marbledBubbles()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    TileNoise turb(N, 4, 5, 303);
    const QColor deep(22, 92, 52), mid(56, 150, 84), vein(186, 232, 190);
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            const double x = px / k, y = py / k;
            const double t = turb.at(x, y);
            const double s = std::sin(2 * Pi * (2.0 * x / N + 1.0 * y / N) + 9.0 * t);
            const double m = 0.5 + 0.5 * s;
            QColor c = mix(deep, mid, m);
            const double veins = std::pow(1 - std::abs(s), 14);
            c = mix(c, vein, veins * 0.75);
            const double n = 0.88 + 0.24 * turb.at(x * 2.0 + 13, y * 2.0 + 7);
            img.setPixel(px, py, shade(c, n));
        }
    Rng rng(33);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < 20; ++i) {
        const double cx = rng.range(0, N), cy = rng.range(0, N);
        const double r = i < 4 ? rng.range(9, 13) : rng.range(2.5, 7);
        forEachWrap(N, [&](double dx, double dy) {
            const QPointF c(cx + dx, cy + dy);
            QRadialGradient body(c, r);
            body.setColorAt(0, QColor(200, 255, 210, 18));
            body.setColorAt(0.75, QColor(200, 255, 210, 45));
            body.setColorAt(1, QColor(230, 255, 235, 120));
            p.setPen(QPen(QColor(20, 60, 30, 110), 0.8));
            p.setBrush(body);
            p.drawEllipse(c, r, r);
            // highlight at the top left, reflected glint at the bottom right
            QRadialGradient glint(c + QPointF(-r * 0.4, -r * 0.4), r * 0.45);
            glint.setColorAt(0, QColor(255, 255, 255, 200));
            glint.setColorAt(1, QColor(255, 255, 255, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glint);
            p.drawEllipse(c + QPointF(-r * 0.4, -r * 0.4), r * 0.45, r * 0.45);
            p.setPen(QPen(QColor(235, 255, 240, 120), std::max(0.6, r * 0.08)));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(c.x() - r * 0.75, c.y() - r * 0.75, r * 1.5, r * 1.5), -80 * 16, 60 * 16);
        });
    }
    return img;
}

// 3: brown diagonal bark stripes --------------------------------------------------
QImage bark()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    const int M = img.width();
    TileNoise warp(N, 4, 3, 404);
    TileNoise grain(N, 10, 3, 405);
    HeightField h(M);
    for (int py = 0; py < M; ++py)
        for (int px = 0; px < M; ++px) {
            const double x = px / k, y = py / k;
            // five ridges per tile along the diagonal, bent by the noise
            const double s = 5.0 * (x + y) / N + 1.1 * warp.at(x, y);
            const double f = s - std::floor(s);
            const double ridge = std::pow(std::sin(Pi * f), 0.6);
            const double crack = smoothstep(0.0, 0.08, f) * smoothstep(0.0, 0.08, 1 - f);
            const double fine = 0.5 + 0.5 * std::sin(2 * Pi * (20.0 * (x + y) / N) + 6 * grain.at(x, y));
            at(h, px, py) = ridge * crack * 8 + fine * 1.2 + grain.at(x, y) * 2;
        }
    const QColor dark(58, 32, 18), midc(124, 76, 40), light(182, 128, 72);
    for (int y = 0; y < M; ++y)
        for (int x = 0; x < M; ++x) {
            const double hv = get(h, x, y) / 11.0;
            QColor c = hv < 0.5 ? mix(dark, midc, hv * 2) : mix(midc, light, (hv - 0.5) * 2);
            const double l = lightOn(h, x, y, 0.45);
            img.setPixel(x, y, shade(c, 0.45 + 0.75 * l));
        }
    return img;
}

// 4: multicoloured mosaic ---------------------------------------------------------
QImage mosaic()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    Rng rng(55);
    const auto seeds = jitteredSeeds(7, 0.28, rng);
    const std::array<QColor, 8> palette{QColor(222, 62, 54),  QColor(246, 150, 40), QColor(244, 206, 58),
                                        QColor(84, 176, 72),  QColor(48, 132, 206), QColor(138, 84, 190),
                                        QColor(232, 96, 150), QColor(44, 170, 168)};
    std::vector<QColor> colourOf;
    int last = -1;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        int k = rng.below(int(palette.size()));
        if (k == last)
            k = (k + 3) % int(palette.size());
        last = k;
        colourOf.push_back(scaled(palette[std::size_t(k)], rng.range(0.88, 1.08)));
    }
    TileNoise speck(N, 20, 2, 56);
    const QColor grout(214, 200, 176);
    for (int py = 0; py < img.height(); ++py)
        for (int px = 0; px < img.width(); ++px) {
            const double x = px / k, y = py / k;
            const Nearest n = nearestSeeds(seeds, (px + 0.5) / k, (py + 0.5) / k);
            const double e = borderDistance(n);
            const QColor tile = colourOf[std::size_t(n.id)];
            // bevelled tessera: lighter towards the top left of each piece
            const double tilt = (-n.ox - n.oy) / 14.0;
            const double bevel = smoothstep(0.8, 3.0, e);
            const double f = (0.92 + 0.16 * std::clamp(tilt, -1.0, 1.0)) * (0.9 + 0.2 * speck.at(x, y));
            QColor c = shade(tile, f * (0.75 + 0.25 * bevel));
            const double groutMix = 1 - smoothstep(0.7, 1.5, e);
            c = mix(c, shade(grout, 0.85 + 0.15 * speck.at(x, y)), groutMix);
            img.setPixel(px, py, c.rgb());
        }
    return img;
}

// 5: crimson texture (embossed, like pressed leather) -----------------------------
QImage crimson()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    const int M = img.width();
    TileNoise n1(N, 5, 5, 505);
    TileNoise n2(N, 10, 3, 506);
    HeightField h(M);
    for (int py = 0; py < M; ++py)
        for (int px = 0; px < M; ++px) {
            const double x = px / k, y = py / k;
            const double r = 1 - std::abs(2 * n1.at(x, y) - 1); // ridged: soft creases
            at(h, px, py) = std::pow(r, 3) * 6 + n2.at(x, y) * 2;
        }
    const QColor deep(104, 10, 28), bright(214, 36, 58);
    for (int y = 0; y < M; ++y)
        for (int x = 0; x < M; ++x) {
            const double l = lightOn(h, x, y, 0.6);
            const double t = std::clamp(get(h, x, y) / 7.0, 0.0, 1.0);
            QColor c = mix(deep, bright, 0.35 + 0.5 * t);
            img.setPixel(x, y, shade(c, 0.5 + 0.7 * l));
        }
    return img;
}

// 6: grey stone texture -------------------------------------------------------------
QImage stone()
{
    QImage img = canvas(N, N, QImage::Format_RGB32);
    const double k = PaintScale();
    const int M = img.width();
    Rng rng(66);
    const auto seeds = jitteredSeeds(4, 0.3, rng);
    std::vector<QColor> tint;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const double g = rng.range(128, 170);
        const double warm = rng.range(-8, 8);
        tint.push_back(QColor(int(g + warm), int(g + warm * 0.3), int(g - warm * 0.6)));
    }
    TileNoise grain(N, 10, 4, 606);
    TileNoise coarse(N, 4, 3, 607);
    HeightField h(M);
    std::vector<int> idOf(std::size_t(M * M));
    for (int py = 0; py < M; ++py)
        for (int px = 0; px < M; ++px) {
            const double x = px / k, y = py / k;
            const Nearest n = nearestSeeds(seeds, (px + 0.5) / k + 6 * (coarse.at(x, y) - 0.5), (py + 0.5) / k);
            const double e = borderDistance(n);
            at(h, px, py) = std::sqrt(std::min(e, 7.0) / 7.0) * 6 + grain.at(x, y) * 2.2;
            idOf[std::size_t(py * M + px)] = n.id;
        }
    for (int py = 0; py < M; ++py)
        for (int px = 0; px < M; ++px) {
            const double x = px / k, y = py / k;
            const double l = lightOn(h, px, py, 0.55);
            const double hv = get(h, px, py);
            QColor c = tint[std::size_t(idOf[std::size_t(py * M + px)])];
            if (hv < 1.6)
                c = mix(QColor(70, 68, 66), c, hv / 1.6); // mortar
            const double speck = grain.at(x * 3.0, y * 3.0);
            img.setPixel(px, py, shade(c, (0.5 + 0.7 * l) * (0.9 + 0.2 * speck)));
        }
    return img;
}

} // namespace

QImage PaintBackgroundTile(int design)
{
    switch (design) {
    case 0: return foliage();
    case 1: return woven();
    case 2: return marbledBubbles();
    case 3: return bark();
    case 4: return mosaic();
    case 5: return crimson();
    case 6: return stone();
    default: return {};
    }
}

QImage DarkenTile(const QImage& bright)
{
    QImage dark = bright.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < dark.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(dark.scanLine(y));
        for (int x = 0; x < dark.width(); ++x)
            line[x] = qRgb((qRed(line[x]) + 1) / 3, (qGreen(line[x]) + 1) / 3, (qBlue(line[x]) + 1) / 3);
    }
    return dark;
}

QImage PaintBackgroundSheet()
{
    QImage sheet = canvas(2 * TileSize, BackgroundDesigns * TileSize, QImage::Format_RGB32);
    QPainter p(&sheet);
    for (int d = 0; d < BackgroundDesigns; ++d) {
        const QImage bright = PaintBackgroundTile(d);
        p.drawImage(0, d * TileSize, bright);
        p.drawImage(TileSize, d * TileSize, DarkenTile(bright));
    }
    p.end();
    return sheet;
}

} // namespace torvella::assetgen
