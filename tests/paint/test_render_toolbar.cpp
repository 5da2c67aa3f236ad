// The tool bar strip: tiling, the score digits with their masks, the jump icons. The
// stand-in pictures make every expected pixel computable, so whole strips are compared.
#include "test_render_images.h"

#include "paint/ToolBarPainter.h"

#include <gtest/gtest.h>

#include <string>

namespace torvella {
namespace {

using testing::SheetTiling;

constexpr int kWidth = 702;

// What the strip must show: the dark tiling of `row`, the glyphs of `text` from x 282 and
// `jumps` icons from x 382. `scoreRow` is the design the score field was last drawn with.
QImage Expected(int row, const std::string& text, int jumps, int scoreRow = -1)
{
    if (scoreRow < 0)
        scoreRow = row;
    QImage image(kWidth, paint::kToolBarHeight, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, SheetTiling(1, paint::kScoreField.contains(x, y) ? scoreRow : row, x, y));
    for (size_t p = 0; p < text.size(); ++p) {
        const int g = text[p] == '-' ? 0 : text[p] - '0' + 1;
        for (int y = testing::kGlyphTop; y <= testing::kGlyphBottom; ++y)
            for (int x = testing::kGlyphLeft; x <= testing::kGlyphRight; ++x)
                image.setPixel(282 + 20 * static_cast<int>(p) + x, 22 + y, testing::GlyphColour(g));
    }
    for (int k = 0; k < jumps; ++k)
        for (int y = testing::kIconInset; y < 45 - testing::kIconInset; ++y)
            for (int x = testing::kIconInset; x < 45 - testing::kIconInset; ++x)
                image.setPixel(382 + 48 * k + x, 6 + y, testing::IconColour());
    return image;
}

// First differing pixel, for a readable failure.
std::string Difference(const QImage& a, const QImage& b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "first difference at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       QColor(a.pixel(x, y)).name().toStdString() + " instead of " +
                       QColor(b.pixel(x, y)).name().toStdString();
    return "";
}

class ToolBarStrip : public ::testing::Test {
protected:
    paint::ToolBarImages img{testing::StandInSheet(), testing::StandInDigits(), testing::StandInJumpIcon(),
                          testing::StandInJumpMask()};
    // Starts as white noise so that anything not drawn shows.
    QImage strip{kWidth, paint::kToolBarHeight, QImage::Format_RGB32};

    void SetUp() override { strip.fill(Qt::white); }
    void Paint(int backMode, int32_t score, int32_t jumps)
    {
        QPainter p(&strip);
        paint::ToolBoxPaint(p, kWidth, img, backMode, score, jumps);
    }
    void Score(int backMode, int32_t score)
    {
        QPainter p(&strip);
        paint::DrawScore(p, img, backMode, score);
    }
    void Jumps(int backMode, int32_t jumps)
    {
        QPainter p(&strip);
        paint::DrawJumps(p, img, backMode, jumps);
    }
};

TEST_F(ToolBarStrip, ScoreShowsItsGlyphsLeftAlignedWithClamping)
{
    const struct {
        int32_t score;
        const char* shown;
    } cases[] = {
        {0, "0"},          {-37, "-37"},        {12345, "12345"},      {99999, "99999"},
        {100000, "99999"}, {INT32_MAX, "99999"}, {-9999, "-9999"},    {-23456, "-9999"},
        {INT32_MIN, "-9999"}, {7, "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.score);
        Paint(0, c.score, 0);
        const QImage want = Expected(0, c.shown, 0);
        EXPECT_EQ(strip, want) << Difference(strip, want);
    }
}

TEST_F(ToolBarStrip, ShorterScoreLeavesNoTraceOfTheLongerOne)
{
    Paint(3, 10, 2);
    Score(3, 9);
    QImage want = Expected(3, "9", 2);
    EXPECT_EQ(strip, want) << Difference(strip, want);

    Score(3, -9999);
    Score(3, 5);
    want = Expected(3, "5", 2);
    EXPECT_EQ(strip, want) << Difference(strip, want);
}

TEST_F(ToolBarStrip, JumpIconsFromX382WithPitch48)
{
    for (int32_t jumps : {3, 2, 1, 0, -1}) {
        SCOPED_TRACE(jumps);
        Paint(1, 0, 3);
        Jumps(1, jumps);
        const QImage want = Expected(1, "0", jumps < 0 ? 0 : jumps);
        EXPECT_EQ(strip, want) << Difference(strip, want);
    }
    // the strip has three places; a fourth icon would have no background to erase it
    Paint(1, 0, 5);
    const QImage want = Expected(1, "0", 3);
    EXPECT_EQ(strip, want) << Difference(strip, want);
    EXPECT_EQ(paint::JumpField(img.jumpIcon), QRect(382, 6, 141, 45));
}

TEST_F(ToolBarStrip, BackgroundChangeReachesRepaintAndLaterScores)
{
    Paint(2, 1234, 3);
    Score(5, 77);
    QImage want = Expected(2, "77", 3, 5);
    EXPECT_EQ(strip, want) << Difference(strip, want);

    Paint(5, 77, 3);
    want = Expected(5, "77", 3);
    EXPECT_EQ(strip, want) << Difference(strip, want);

    Paint(13, 0, 0);  // an out-of-range design from an edited store wraps like the board's
    want = Expected(6, "0", 0);
    EXPECT_EQ(strip, want) << Difference(strip, want);
}

} // namespace
} // namespace torvella
