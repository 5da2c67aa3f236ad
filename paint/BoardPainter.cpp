#include "paint/BoardPainter.h"

#include "core/Colours.h"
#include "paint/CakeLabels.h"
#include "paint/Colour.h"

#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QRegion>
#include <QTransform>

#include <array>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace torvella::paint {

namespace {

constexpr int kSheetRows = 7;

// 30-degree steps clockwise from 12 o'clock, y growing downwards. Single precision on
// purpose, 0.866 included: the pies' end points must round exactly as these values say.
constexpr std::array<float, 13> kSliceSin = {0.0f,  0.5f,    0.866f, 1.0f,    0.866f,  0.5f, 0.0f,
                                             -0.5f, -0.866f, -1.0f,  -0.866f, -0.5f,   0.0f};
constexpr std::array<float, 13> kSliceCos = {-1.0f, -0.866f, -0.5f, 0.0f,   0.5f,  0.866f, 1.0f,
                                             0.866f, 0.5f,   0.0f,  -0.5f, -0.866f, -1.0f};

constexpr uint32_t kMixedOutline = 0x606060;
constexpr uint32_t kEmptyCellOutline = 0x808080;

// Halves to even, with the product formed in extended precision (nearbyintl follows the
// default rounding mode, which rounds ties to even).
int RoundProduct(int r, float v)
{
    return static_cast<int>(std::nearbyintl(static_cast<long double>(r) * static_cast<long double>(v)));
}

void CheckSheet(const QImage& sheet)
{
    if (sheet.width() < 2 || sheet.height() < kSheetRows)
        throw std::invalid_argument("the background sheet is missing or too small");
}

// The painting below is all opaque and aliased: every interior pixel gets exactly the
// table colour, and copies replace what is there.
void Crisp(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QPen Pen(uint32_t colour) { return QPen(ToQColor(colour), 0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin); }

// Angle of the ray from (cx, cy) through (px, py) in Qt's convention: degrees counter-
// clockwise from 3 o'clock, with the screen's y growing downwards.
double RayAngle(int cx, int cy, int px, int py)
{
    return std::atan2(static_cast<double>(cy - py), static_cast<double>(px - cx)) * 180.0 / 3.14159265358979323846;
}

// A pie inscribed in (left, top, right, bottom), counter-clockwise from the ray through
// the start point to the ray through the end point, in the current brush. The pie is
// filled without a pen: with pen and brush of one colour the outline only adds the pixels
// on its border, and the fill of the rectangle's area covers those same pixels at half the
// cost (neighbouring slices share their rays, so no seam opens between them).
void WinPie(QPainter& p, int left, int top, int right, int bottom, QPoint start, QPoint end)
{
    // Whole sixteenths of a degree for both rays, so that a slice ends exactly where its
    // neighbour starts.
    const int cx = (left + right) / 2, cy = (top + bottom) / 2;
    const int a0 = static_cast<int>(std::lround(RayAngle(cx, cy, start.x(), start.y()) * 16.0));
    const int a1 = static_cast<int>(std::lround(RayAngle(cx, cy, end.x(), end.y()) * 16.0));
    int span = ((a1 - a0) % 5760 + 5760) % 5760;
    if (span == 0)
        span = 5760;  // the same ray twice is the whole ellipse
    p.setPen(Qt::NoPen);
    p.drawPie(QRectF(left, top, right - left, bottom - top), a0, span);
}

// Runs `draw` with one painter unit = one device pixel, for block copies at the target's
// own resolution. At ratio 1 nothing changes.
template <class Draw>
void InDevicePixels(QPainter& p, Draw draw)
{
    const qreal r = PaintRatio(p);
    if (r == 1) {
        draw();
        return;
    }
    p.save();
    p.setWorldTransform(QTransform::fromScale(1 / r, 1 / r), true);
    draw();
    p.restore();
}

// Device pixel (x, y) of the area shows the sheet pixel (column·tw + x mod tw, row·th + y mod th),
// the sheet being the one for the painter's ratio.
void TileFill(QPainter& p, const QRect& area, const QImage& sheet, int column, int row)
{
    const int tw = sheet.width() / 2, th = sheet.height() / kSheetRows;
    const int sx0 = column * tw, sy0 = row * th;
    const QRect d = DeviceRect(area, PaintRatio(p));
    InDevicePixels(p, [&] {
        for (int y = d.top(); y <= d.bottom();) {
            const int sy = ((y % th) + th) % th;
            const int ch = std::min(th - sy, d.bottom() + 1 - y);
            for (int x = d.left(); x <= d.right();) {
                const int sx = ((x % tw) + tw) % tw;
                const int cw = std::min(tw - sx, d.right() + 1 - x);
                // the rectangle form ignores the sheet's own ratio: pixel for pixel
                p.drawImage(QRect(x, y, cw, ch), sheet, QRect(sx0 + sx, sy0 + sy, cw, ch));
                x += cw;
            }
            y += ch;
        }
    });
}

// The same rectangle of another picture of the same size and ratio, pixel for pixel.
void CopyArea(QPainter& p, const QImage& from, const QRect& logical)
{
    const QRect d = DeviceRect(logical, PaintRatio(p));
    InDevicePixels(p, [&] { p.drawImage(d, from, d); });
}

// A picture of `size` logical pixels at ratio r (size·r device pixels).
void Resize(QImage& image, QSize size, qreal r)
{
    const QSize device = DeviceSize(size, r);
    if (image.size() != device || image.format() != QImage::Format_RGB32)
        image = QImage(device, QImage::Format_RGB32);
    image.setDevicePixelRatio(r);
}

// An ellipse inscribed in (left, top, right, bottom), right and bottom exclusive, in the
// brush, its outline (if the pen draws one) the outermost logical pixel ring in the pen's
// colour. Qt's aliased ellipse of QRect(x, y, w, h) covers x .. x + w, hence the minus one
// at ratio 1; at device resolution the exact circle with a pen one logical pixel wide.
void Ellipse(QPainter& p, int left, int top, int right, int bottom)
{
    if (PaintRatio(p) == 1) {
        p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }
    QPen pen = p.pen();
    if (pen.style() != Qt::NoPen) {
        pen.setWidthF(1.0);
        pen.setCosmetic(false);
        p.setPen(pen);
    }
    p.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

// A closed line through the points, each standing for the pixel it names: Qt puts pixel
// (x, y) at (x + 0.5, y + 0.5), so a wide pen spreads evenly around it.
void ClosedLine(QPainter& p, const std::array<QPoint, 8>& points, int width)
{
    std::array<QPointF, 8> f;
    for (size_t i = 0; i < points.size(); ++i)
        f[i] = QPointF(points[i].x() + 0.5, points[i].y() + 0.5);
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(f.data(), static_cast<int>(f.size()));
}

// The border of (left, top, right, bottom), right and bottom exclusive: the pen runs
// through the outermost pixels of the rectangle, centred on them.
void FrameRect(QPainter& p, int left, int top, int right, int bottom, int width)
{
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

} // namespace

qreal PaintRatio(const QPainter& p)
{
    return p.device() ? p.device()->devicePixelRatio() : 1.0;
}

QRect DeviceRect(const QRect& logical, qreal r)
{
    if (r == 1)
        return logical;
    const int left = qRound(logical.left() * r), top = qRound(logical.top() * r);
    const int right = qRound((logical.left() + logical.width()) * r);
    const int bottom = qRound((logical.top() + logical.height()) * r);
    return QRect(left, top, right - left, bottom - top);
}

QSize DeviceSize(const QSize& logical, qreal r) { return DeviceRect(QRect(QPoint(0, 0), logical), r).size(); }

void DrawDevicePixels(QPainter& p, const QImage& picture, const QRect& logicalDirty)
{
    const qreal r = PaintRatio(p);
    if (r == 1) {
        p.drawImage(logicalDirty, picture, logicalDirty);
        return;
    }
    // The painter is clipped to what needs painting; only that part is copied.
    const QRect d = DeviceRect(logicalDirty, r).adjusted(-1, -1, 1, 1).intersected(picture.rect());
    InDevicePixels(p, [&] { p.drawImage(d, picture, d); });
}

int SheetRow(int backMode) { return ((backMode % kSheetRows) + kSheetRows) % kSheetRows; }

void FillFromSheet(QPainter& p, const QRect& area, const QImage& sheet, int column, int backMode)
{
    CheckSheet(sheet);
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    TileFill(p, area, sheet, column, SheetRow(backMode));
    p.setCompositionMode(mode);
}

void BuildBoardBack(QImage& boardBack, QSize size, const QImage& sheet, int backMode)
{
    CheckSheet(sheet);
    Resize(boardBack, size, sheet.devicePixelRatio());
    QPainter p(&boardBack);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    TileFill(p, QRect(QPoint(0, 0), size), sheet, 1, SheetRow(backMode));
}

namespace {

// DrawBackground's painting on any painter, tiles copied only where they meet `area` (the
// painter may be clipped to less). The dark tiling comes from boardBack, or straight from
// the sheet when there is none: BoardBackBitmap is that same tiling from (0, 0), so both
// give the same pixels.
void PaintBackground(QPainter& p, QSize size, const QImage* boardBack, const QImage& sheet, int backMode,
                     const Geometry& g, const QRect& area)
{
    const int W = size.width(), H = size.height();
    const int C = g.CellSize, h = C / 2, S = g.PlateStep;

    p.setCompositionMode(QPainter::CompositionMode_Source);
    TileFill(p, QRect(QPoint(0, 0), size) & area, sheet, 0, SheetRow(backMode));

    // Board square and side panel show the dark tiling, aligned with the board area.
    const int Lb = g.OriginX - h, Tb = g.OriginY - h;
    const int Lp = g.PlateX - S, Tp = g.PlateY - S / 2, Wp = 2 * S + S / 2, Hp = 4 * S;
    for (const QRect& dark : {QRect(Lb, Tb, 7 * C, 7 * C) & area, QRect(Lp, Tp, Wp, Hp) & area}) {
        if (dark.isEmpty())
            continue;
        if (boardBack)
            CopyArea(p, *boardBack, dark);
        else
            TileFill(p, dark, sheet, 1, SheetRow(backMode));
    }

    Crisp(p);
    // Markers: an arrow from each hold place into a square around its plate.
    p.setPen(Qt::NoPen);
    for (int c = 1; c <= kColours; ++c) {
        const int yc = g.PlateY + (c - 1) * S;
        p.setBrush(ToQColor(ColourTable()[c][16]));
        const QPoint pentagon[5] = {{g.PlateX - h - 3, yc - h - 3},
                                    {g.PlateX + h - 6, yc - h - 3},
                                    {g.PlateX + 2 * h - 3, yc},
                                    {g.PlateX + h - 6, yc + h + 3},
                                    {g.PlateX - h - 3, yc + h + 3}};
        p.drawPolygon(pentagon, 5);
        p.drawRect(QRect(QPoint(g.PlateX + S - h - 3, yc - h - 3), QPoint(g.PlateX + S + h + 2, yc + h + 2)));
    }

    // Board square and side panel outlined as one shape, twice.
    const int E = Lb + 7 * C, B = Tb + 7 * C, Rp = Lp + Wp, Bp = Tp + Hp;
    ClosedLine(p,
               {QPoint(Lb - 3, Tb - 3), QPoint(E + 2, Tb - 3), QPoint(E + 2, Tp - 3), QPoint(Rp + 2, Tp - 3),
                QPoint(Rp + 2, Bp + 2), QPoint(E + 2, Bp + 2), QPoint(E + 2, B + 2), QPoint(Lb - 3, B + 2)},
               3);
    ClosedLine(p,
               {QPoint(Lb - 6, Tb - 6), QPoint(E + 5, Tb - 6), QPoint(E + 5, Tp - 6), QPoint(Rp + 5, Tp - 6),
                QPoint(Rp + 5, Bp + 5), QPoint(E + 5, Bp + 5), QPoint(E + 5, B + 5), QPoint(Lb - 6, B + 5)},
               1);

    // Frame of the whole area.
    FrameRect(p, 0, 0, W, H, 1);
    FrameRect(p, 6, 6, W - 6, H - 6, 1);
    FrameRect(p, 3, 3, W - 3, H - 3, 3);
}

void ComposeBackground(QImage& board, QSize size, const QImage* boardBack, const QImage& sheet, int backMode,
                       const Geometry& g)
{
    CheckSheet(sheet);
    const qreal r = sheet.devicePixelRatio();
    if (boardBack && (boardBack->size() != DeviceSize(size, r) || boardBack->devicePixelRatio() != r))
        throw std::invalid_argument("DrawBackground: the board background has not been built for this size");
    Resize(board, size, r);
    QPainter p(&board);
    PaintBackground(p, size, boardBack, sheet, backMode, g, QRect(QPoint(0, 0), size));
}

// Every cell, hold place and plate over the background; with `only`, just those whose
// disc reaches into it (nothing of theirs lies outside the disc).
void DrawPieces(QPainter& p, const Geometry& g, const Tableau& t, bool labelled, const QRegion* only = nullptr)
{
    const int R = g.CakeRadius;
    const auto wanted = [&](const Point& c) {
        // The disc's square, a pixel to spare for the pen at a fractional ratio.
        return !only || only->intersects(QRect(c.x - R - 1, c.y - R - 1, 2 * R + 3, 2 * R + 3));
    };
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row) {
            const Point c = g.CellCentre(col, row);
            if (!wanted(c))
                continue;
            if (t.Slices(col, row) != 0)
                DrawCake(p, g, c.x, c.y, t.Slices(col, row), t.Colour(col, row), labelled);
            else
                DrawEmptyCell(p, g, c.x, c.y);
        }
    for (int c = 1; c <= kColours; ++c) {
        const Point hold = g.HoldCentre(c), plate = g.PlateCentre(c);
        if (wanted(hold)) {
            if (t.HoldSlices[c] > 0)
                DrawCake(p, g, hold.x, hold.y, t.HoldSlices[c], c, labelled);
            else
                DrawEmptySlot(p, g, 0, c);
        }
        if (wanted(plate)) {
            if (t.PlateSlices[c] > 0)
                DrawCake(p, g, plate.x, plate.y, t.PlateSlices[c], c, labelled);
            else
                DrawEmptySlot(p, g, 1, c);
        }
    }
}

void DrawPieces(QImage& board, const Geometry& g, const Tableau& t, bool labelled)
{
    QPainter p(&board);
    DrawPieces(p, g, t, labelled);
}

} // namespace

void DrawBackground(QImage& board, QSize size, const QImage& boardBack, const QImage& sheet, int backMode,
                    const Geometry& g)
{
    ComposeBackground(board, size, &boardBack, sheet, backMode, g);
}

void RenderBoard(QImage& board, QSize size, const QImage& boardBack, const QImage& sheet, int backMode,
                 const Geometry& g, const Tableau& t, bool labelled)
{
    ComposeBackground(board, size, &boardBack, sheet, backMode, g);
    DrawPieces(board, g, t, labelled);
}

void RenderBoard(QImage& board, QSize size, const QImage& sheet, int backMode, const Geometry& g, const Tableau& t,
                 bool labelled)
{
    ComposeBackground(board, size, nullptr, sheet, backMode, g);
    DrawPieces(board, g, t, labelled);
}

void PaintBoardPart(QPainter& p, const QRegion& dirty, QSize size, const QImage& sheet, int backMode,
                    const Geometry& g, const Tableau& t, bool labelled)
{
    CheckSheet(sheet);
    PaintBackground(p, size, nullptr, sheet, backMode, g, dirty.boundingRect());
    DrawPieces(p, g, t, labelled, &dirty);
}

void DrawCake(QPainter& p, const Geometry& g, int x, int y, int slices, int colour, bool labelled)
{
    if (colour < kMixedCake || colour > kColours)
        throw std::invalid_argument("DrawCake: no cake has the colour code " + std::to_string(colour));
    const int R = g.CakeRadius;
    const auto& table = ColourTable();
    Crisp(p);

    // Base disc.
    const bool mixed = colour == kMixedCake;
    p.setPen(Pen(mixed ? kMixedOutline : table[colour][14]));
    p.setBrush(ToQColor(mixed ? kBlack : table[colour][13]));
    Ellipse(p, x - R, y - R, x + R, y + R);

    // Slice i runs from (i - 1)·30 to i·30 degrees clockwise from 12 o'clock. The mixed
    // cake always shows all twelve, green, blue, yellow, red three times round.
    const int count = mixed ? kMaxSlices : std::min(slices, kMaxSlices);
    auto rim = [&](int k) { return QPoint(x + RoundProduct(R, kSliceSin[k]) - 1, y + RoundProduct(R, kSliceCos[k]) - 1); };
    for (int i = 1; i <= count; ++i) {
        const uint32_t shade = mixed ? table[(i % 4) + 1][i] : table[colour][i];
        p.setBrush(ToQColor(shade));
        WinPie(p, x - R + 3, y - R + 3, x + R - 3, y + R - 3, rim(i), rim(i - 1));
    }

    // Centre dot: a coloured cake keeps the pen of its last slice (the base outline when
    // it has none) around a black dot.
    const int r = R / 3;
    if (mixed)
        p.setPen(Pen(kMixedOutline));
    else
        p.setPen(Pen(count < 1 ? table[colour][14] : table[colour][count]));
    p.setBrush(ToQColor(mixed ? kBlack : table[colour][15]));
    Ellipse(p, x - r, y - r, x + r, y + r);
    if (labelled)
        DrawCakeLabel(p, g, x, y, count, colour);
}

void DrawEmptyCell(QPainter& p, const Geometry& g, int x, int y)
{
    const int R = g.CakeRadius;
    Crisp(p);
    p.setPen(Pen(kEmptyCellOutline));
    p.setBrush(Qt::black);
    Ellipse(p, x - R, y - R, x + R, y + R);
}

void DrawEmptySlot(QPainter& p, const Geometry& g, int column, int colour)
{
    if (colour < 1 || colour > kColours)
        throw std::invalid_argument("DrawEmptySlot: no side-panel row for colour " + std::to_string(colour));
    const Point c = g.SlotCentre(column, colour);
    const int R = g.CakeRadius;
    Crisp(p);
    p.setPen(Pen(ColourTable()[colour][14]));
    p.setBrush(ToQColor(ColourTable()[colour][13]));
    Ellipse(p, c.x - R, c.y - R, c.x + R, c.y + R);
}

void DrawPulseDot(QPainter& p, const Geometry& g, int x, int y, uint32_t colour)
{
    // Without an outline the fill of the rectangle (x - r, y - r) .. (x + r + 1, y + r + 1)
    // ends one pixel short on the right and bottom: 2r + 1 pixels centred on (x, y). Qt's
    // aliased fill alone clips such small discs unevenly; a pen of the same colour keeps
    // the dot round and exactly that wide.
    const int r = g.CakeRadius / 5;
    Crisp(p);
    p.setPen(Pen(colour));
    p.setBrush(ToQColor(colour));
    if (PaintRatio(p) == 1)
        p.drawEllipse(QRect(x - r, y - r, 2 * r, 2 * r));
    else
        Ellipse(p, x - r, y - r, x + r + 1, y + r + 1);
}

void DrawPauseCover(QPainter& p, const Geometry& g)
{
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row) {
            const Point c = g.CellCentre(col, row);
            DrawEmptyCell(p, g, c.x, c.y);
        }
}

namespace {
// Width of the black line: it fills the gap between two neighbouring cakes. The white line
// on it leaves a pixel of black on each side. Even widths keep both edges on whole pixels,
// so the black stays black beside the white.
int RingWidth(const Geometry& g) { return std::max(4, g.CellSize / 9 / 2 * 2); }
} // namespace

void DrawCursorRing(QPainter& p, const Geometry& g, int x, int y, const QColor& line)
{
    // Centred on the middle of the gap between two neighbouring cakes.
    const QPointF centre(x + 0.5, y + 0.5);
    const qreal radius = g.CellSize / 2.0;
    const int width = RingWidth(g);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, width));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(line, width - 2));
    p.drawEllipse(centre, radius, radius);
    p.setRenderHint(QPainter::Antialiasing, false);
}

QRect CursorRingRect(const Geometry& g, int x, int y)
{
    const int r = g.CellSize / 2 + RingWidth(g) / 2 + 2;
    return {x - r, y - r, 2 * r + 2, 2 * r + 2};
}

} // namespace torvella::paint
