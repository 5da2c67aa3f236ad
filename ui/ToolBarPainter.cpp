#include "ui/ToolBarPainter.h"

#include "assets/Pictures.h"
#include "ui/BoardPainter.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace torvella::ui {

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

// Mask with AND (white keeps the background, black clears it), then the picture with OR.
void MaskThenPaint(QPainter& p, QPoint at, const QImage& mask, QRect maskRect, const QImage& picture, QRect pictureRect)
{
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(at, mask, maskRect);
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(at, picture, pictureRect);
    p.setCompositionMode(mode);
}

} // namespace

QRect JumpField(const QImage& jumpIcon)
{
    const int s = jumpIcon.width();
    return QRect(382, (kToolBarHeight - s) / 2, kMaxJumpIcons * s + 6, s);
}

ToolBarImages LoadToolBarImages()
{
    auto load = [](int index, const char* what) {
        QImage image = assets::Bmps(index);
        if (image.isNull())
            throw std::runtime_error(std::string("the ") + what + " picture is missing");
        return image.convertToFormat(QImage::Format_RGB32);
    };
    return {load(assets::BmpsSheet, "background sheet"), load(assets::BmpsDigits, "digit strip"),
            load(assets::BmpsJumpIcon, "jump icon"), load(assets::BmpsJumpMask, "jump mask")};
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
    const std::string text = std::to_string(v);
    for (size_t pos = 0; pos < text.size(); ++pos) {
        const int glyph = text[pos] == '-' ? 0 : text[pos] - '0' + 1;
        const QRect cell(glyph * kGlyphPitch, 0, kGlyphWidth, kGlyphHeight);
        MaskThenPaint(p, QPoint(kScoreField.left() + kGlyphPitch * static_cast<int>(pos), kScoreField.top()), digits,
                      cell.translated(0, kGlyphHeight), digits, cell);
    }
}

void DrawJumps(QPainter& p, const ToolBarImages& img, int backMode, int32_t jumps)
{
    const QRect field = JumpField(img.jumpIcon);
    FillFromSheet(p, field, img.sheet, 1, backMode);

    QImage iconStorage, maskStorage;
    const QImage& icon = AsRgb32(img.jumpIcon, iconStorage);
    const QImage& mask = AsRgb32(img.jumpMask, maskStorage);
    const int s = icon.width();
    // The strip has three places; more icons would stand where nothing erases them.
    const int count = std::clamp(jumps, 0, kMaxJumpIcons);
    for (int k = 0; k < count; ++k)
        MaskThenPaint(p, QPoint(field.left() + k * (s + 3), field.top()), mask, QRect(0, 0, s, s), icon,
                      QRect(0, 0, s, s));
}

} // namespace torvella::ui
