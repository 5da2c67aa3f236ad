#pragma once
// Stand-in pictures for the painting tests. Every pixel tells where it came from, so a
// test can say exactly which sheet pixel, glyph or icon must show at a point.
#include <QColor>
#include <QImage>
#include <QPainter>

#include <cstdint>

namespace torvella::testing {

// Background sheet 200 x 700: pixel (sx, sy) is RGB(sx, sy mod 100, 10 + 20 * row).
// Red >= 100 marks the dark column; blue is never 0, so no sheet pixel is black.
inline QImage StandInSheet()
{
    QImage sheet(200, 700, QImage::Format_RGB32);
    for (int y = 0; y < 700; ++y)
        for (int x = 0; x < 200; ++x)
            sheet.setPixel(x, y, qRgb(x, y % 100, 10 + 20 * (y / 100)));
    return sheet;
}

// What the tiling of column (0 bright, 1 dark) of a design shows at (x, y).
inline QRgb SheetTiling(int column, int row, int x, int y)
{
    return qRgb(column * 100 + x % 100, y % 100, 10 + 20 * row);
}

// Glyph g (0 minus, 1..10 digits) is a solid block in columns 2..16, rows 3..23 of its cell.
constexpr int kGlyphLeft = 2, kGlyphRight = 16, kGlyphTop = 3, kGlyphBottom = 23;
inline QRgb GlyphColour(int g) { return qRgb(20 + 20 * g, 250, 128); }

// Digit strip 220 x 54, glyphs above, masks (black glyph on white) below. The 20th column
// of every cell is the gap: it carries a bright mark in both halves that must never show.
inline QImage StandInDigits()
{
    QImage strip(220, 54, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter p(&strip);
    p.fillRect(0, 27, 220, 27, Qt::white);
    for (int g = 0; g < 11; ++g) {
        const int x0 = g * 20;
        const QRect block(x0 + kGlyphLeft, kGlyphTop, kGlyphRight - kGlyphLeft + 1, kGlyphBottom - kGlyphTop + 1);
        p.fillRect(block, QColor(GlyphColour(g)));
        p.fillRect(block.translated(0, 27), Qt::black);
        p.fillRect(x0 + 19, 0, 1, 27, Qt::magenta);
        p.fillRect(x0 + 19, 27, 1, 27, Qt::black);
    }
    return strip;
}

// Jump icon 45 x 45: a block in 5..39 on black; its mask a 1-bit picture of the block.
constexpr int kIconInset = 5;
inline QRgb IconColour() { return qRgb(200, 60, 250); }
inline QImage StandInJumpIcon()
{
    QImage icon(45, 45, QImage::Format_RGB32);
    icon.fill(Qt::black);
    QPainter(&icon).fillRect(kIconInset, kIconInset, 45 - 2 * kIconInset, 45 - 2 * kIconInset, QColor(IconColour()));
    return icon;
}
inline QImage StandInJumpMask()
{
    QImage mask(45, 45, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter(&mask).fillRect(kIconInset, kIconInset, 45 - 2 * kIconInset, 45 - 2 * kIconInset, Qt::black);
    return mask.convertToFormat(QImage::Format_Mono);
}

// 0x00BBGGRR as the pixel a QImage holds.
inline QRgb Bgr(uint32_t bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

} // namespace torvella::testing
