#include "paint/ToolBarPainter.h"

#include "assets/Pictures.h"
#include "paint/BoardPainter.h"

#include <QTransform>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace torvella::paint {

namespace {

constexpr int kGlyphPitch = 20;   // cells of the digit strip: minus, then 0 .. 9
constexpr int kGlyphWidth = 19;   // the last column of a cell is the gap
constexpr int kGlyphHeight = 27;  // glyphs in rows 0..26, their masks in 27..53
constexpr int kMaxJumpIcons = 3;
constexpr int32_t kLowestScore = -9999;
constexpr int32_t kHighestScore = 99999;

// AND and OR work on the 32-bit pixels; anything else is converted (only test images and
// 1-bit masks that were not prepared take this slower path).
const QImage& AsRgb32(const QImage& image, QImage& storage)
{
    if (image.format() == QImage::Format_RGB32)
        return image;
    storage = image.convertToFormat(QImage::Format_RGB32);
    return storage;
}

// Mask with AND (white keeps the background, black clears it), then the picture with OR,
// at the device pixels of the logical rectangle `target`; the mask and the picture are read
// from their top-left corners given in their own pixels.
void MaskThenPaint(QPainter& p, const QRect& target, const QImage& mask, QPoint maskAt, const QImage& picture,
                   QPoint pictureAt)
{
    const qreal r = PaintRatio(p);
    const QRect d = DeviceRect(target, r);
    const QPainter::CompositionMode mode = p.compositionMode();
    p.save();
    if (r != 1)
        p.setWorldTransform(QTransform::fromScale(1 / r, 1 / r), true);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(d, mask, QRect(maskAt, d.size()));
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(d, picture, QRect(pictureAt, d.size()));
    p.restore();
    p.setCompositionMode(mode);
}

// Ratios between the stored ones: the 2x picture scaled smoothly to `size` device pixels.
// The result counts plain pixels (ratio 1) until the caller says otherwise.
QImage ScaledRgb(const QImage& image, QSize size)
{
    QImage scaled = image.convertToFormat(QImage::Format_RGB32)
                        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_RGB32);
    scaled.setDevicePixelRatio(1);
    return scaled;
}

// A scaled mask is made black and white again, and the picture black wherever the mask
// keeps the background, so that OR adds nothing there: mask and picture agree.
void AgreeWithMask(QImage& mask, QImage& picture)
{
    for (int y = 0; y < mask.height(); ++y) {
        auto* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        auto* c = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            const bool keep = qGray(m[x]) >= 128;
            m[x] = keep ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            if (keep)
                c[x] = qRgb(0, 0, 0);
        }
    }
}

} // namespace

QRect JumpField(const QImage& jumpIcon)
{
    const int s = qRound(jumpIcon.width() / jumpIcon.devicePixelRatio());
    return QRect(382, (kToolBarHeight - s) / 2, kMaxJumpIcons * s + 6, s);
}

ToolBarImages LoadToolBarImages(qreal ratio)
{
    // Stored pictures exist at 1x and 2x; a ratio in between (or beyond) scales the 2x ones.
    const qreal stored = ratio == 1 ? 1 : 2;
    auto load = [stored](int index, const char* what) {
        QImage image = assets::Picture(assets::PictureList::Bmps, index, stored);
        if (image.isNull())
            throw std::runtime_error(std::string("the ") + what + " picture is missing");
        image = image.convertToFormat(QImage::Format_RGB32);
        if (image.devicePixelRatio() != stored)  // no 2x picture: the 1x one enlarged
            image = image.scaled(image.size() * stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(stored);
        return image;
    };
    ToolBarImages img{load(assets::BmpsSheet, "background sheet"), load(assets::BmpsDigits, "digit strip"),
                      load(assets::BmpsJumpIcon, "jump icon"), load(assets::BmpsJumpMask, "jump mask")};
    if (ratio == stored)
        return img;

    // The sheet keeps whole tiles: 2 x 7 tiles of 100·ratio device pixels, each scaled on
    // its own (scaling the sheet at once would bleed every tile into its neighbours).
    const QSize tile = DeviceSize(QSize(100, 100), ratio);
    const int tw = img.sheet.width() / 2, th = img.sheet.height() / 7;
    QImage sheet(2 * tile.width(), 7 * tile.height(), QImage::Format_RGB32);
    {
        QPainter p(&sheet);
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 2; ++column)
                p.drawImage(column * tile.width(), row * tile.height(),
                            ScaledRgb(img.sheet.copy(column * tw, row * th, tw, th), tile));
    }
    img.sheet = sheet;
    // Glyphs and masks are scaled apart, so that neither bleeds into the other.
    const int half = img.digits.height() / 2;
    const QSize strip = DeviceSize(QSize(11 * kGlyphPitch, kGlyphHeight), ratio);
    QImage glyphs = ScaledRgb(img.digits.copy(0, 0, img.digits.width(), half), strip);
    QImage masks = ScaledRgb(img.digits.copy(0, half, img.digits.width(), half), strip);
    AgreeWithMask(masks, glyphs);
    img.digits = QImage(strip.width(), 2 * strip.height(), QImage::Format_RGB32);
    {
        QPainter p(&img.digits);
        p.drawImage(0, 0, glyphs);
        p.drawImage(0, strip.height(), masks);
    }
    const QSize icon = DeviceSize(QSize(45, 45), ratio);
    img.jumpIcon = ScaledRgb(img.jumpIcon, icon);
    img.jumpMask = ScaledRgb(img.jumpMask, icon);
    AgreeWithMask(img.jumpMask, img.jumpIcon);
    for (QImage* i : {&img.sheet, &img.digits, &img.jumpIcon, &img.jumpMask})
        i->setDevicePixelRatio(ratio);
    return img;
}

void ToolBoxPaint(QPainter& p, int width, const ToolBarImages& img, int backMode, int32_t score, int32_t jumps)
{
    FillFromSheet(p, QRect(0, 0, width, kToolBarHeight), img.sheet, 1, backMode);
    DrawScore(p, img, backMode, score);
    DrawJumps(p, img, backMode, jumps);
}

void DrawScore(QPainter& p, const ToolBarImages& img, int backMode, int32_t score)
{
    const int32_t v = std::clamp(score, kLowestScore, kHighestScore);
    // The field's own piece of the tool bar tiling first, so a shorter number leaves
    // no trace of a longer one.
    FillFromSheet(p, kScoreField, img.sheet, 1, backMode);

    QImage storage;
    const QImage& digits = AsRgb32(img.digits, storage);
    const qreal r = PaintRatio(p);
    const int maskTop = digits.height() / 2;
    const std::string text = std::to_string(v);
    for (size_t pos = 0; pos < text.size(); ++pos) {
        const int glyph = text[pos] == '-' ? 0 : text[pos] - '0' + 1;
        const int cellX = DeviceRect(QRect(glyph * kGlyphPitch, 0, kGlyphWidth, kGlyphHeight), r).left();
        const QRect target(kScoreField.left() + kGlyphPitch * static_cast<int>(pos), kScoreField.top(), kGlyphWidth,
                           kGlyphHeight);
        MaskThenPaint(p, target, digits, QPoint(cellX, maskTop), digits, QPoint(cellX, 0));
    }
}

void DrawJumps(QPainter& p, const ToolBarImages& img, int backMode, int32_t jumps)
{
    const QRect field = JumpField(img.jumpIcon);
    FillFromSheet(p, field, img.sheet, 1, backMode);

    QImage iconStorage, maskStorage;
    const QImage& icon = AsRgb32(img.jumpIcon, iconStorage);
    const QImage& mask = AsRgb32(img.jumpMask, maskStorage);
    const int s = field.height();
    // The strip has three places; more icons would stand where nothing erases them.
    const int count = std::clamp(jumps, 0, kMaxJumpIcons);
    for (int k = 0; k < count; ++k)
        MaskThenPaint(p, QRect(field.left() + k * (s + 3), field.top(), s, s), mask, QPoint(0, 0), icon, QPoint(0, 0));
}

} // namespace torvella::paint
