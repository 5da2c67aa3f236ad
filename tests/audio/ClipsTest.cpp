// The embedded clips: exact formats and data sizes, well-formed RIFF layout, no clipping,
// and the header check that keeps a broken clip silent.
#include "AudioTestSupport.h"
#include "assets/Sounds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

uint32_t U32(const QByteArray& b, qsizetype at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const QByteArray& b, qsizetype at)
{
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

struct ClipCase {
    int number;
    int rate;
    int bits;
    uint32_t dataBytes;
};

TEST(Clips, EachHasItsFormatAndDataSizeAndDoesNotClip)
{
    const ClipCase cases[] = {{1, 11025, 8, 41470}, {2, 22050, 8, 11302}, {3, 11025, 8, 8292}, {4, 22050, 8, 32529},
                              {5, 44100, 16, 25600}, {6, 11025, 8, 1961}, {7, 11025, 8, 43482}};
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.number);
        const QByteArray w = torvella::assets::Wave(c.number);
        ASSERT_GE(w.size(), 44);
        EXPECT_EQ(w.left(4), "RIFF");
        EXPECT_EQ(U32(w, 4), uint32_t(w.size() - 8)) << "RIFF size must cover the whole image";
        EXPECT_EQ(w.mid(8, 4), "WAVE");
        // Walk the chunks rather than trusting fixed offsets.
        qsizetype at = 12;
        bool fmtSeen = false;
        uint32_t dataSize = 0;
        qsizetype dataAt = -1;
        while (at + 8 <= w.size()) {
            const QByteArray id = w.mid(at, 4);
            const uint32_t size = U32(w, at + 4);
            ASSERT_LE(at + 8 + qsizetype(size), w.size()) << id.constData();
            if (id == "fmt ") {
                fmtSeen = true;
                ASSERT_GE(size, 16u);
                EXPECT_EQ(U16(w, at + 8), 1) << "PCM";
                EXPECT_EQ(U16(w, at + 10), 1) << "mono";
                EXPECT_EQ(U32(w, at + 12), uint32_t(c.rate));
                EXPECT_EQ(U32(w, at + 16), uint32_t(c.rate * c.bits / 8)) << "byte rate";
                EXPECT_EQ(U16(w, at + 20), c.bits / 8) << "block align";
                EXPECT_EQ(U16(w, at + 22), c.bits);
            } else if (id == "data") {
                dataSize = size;
                dataAt = at + 8;
            }
            at += 8 + size + (size & 1); // chunks are padded to even length
        }
        EXPECT_EQ(at, w.size()) << "no stray bytes after the last chunk";
        EXPECT_TRUE(fmtSeen);
        ASSERT_GE(dataAt, 0);
        EXPECT_EQ(dataSize, c.dataBytes);

        int peak = 0; // distance from silence, in the clip's own units
        int full = c.bits == 8 ? 128 : 32768;
        for (uint32_t i = 0; i < dataSize; i += c.bits / 8) {
            const int v = c.bits == 8 ? int(uint8_t(w[dataAt + i])) - 128 : int(int16_t(U16(w, dataAt + i)));
            peak = std::max(peak, std::abs(v));
        }
        EXPECT_LT(peak, full * 95 / 100) << "too close to full scale";
        EXPECT_GT(peak, full / 4) << "too quiet to hear";
    }
}

TEST(Clips, NumbersOutsideOneToSevenHaveNoClip)
{
    EXPECT_TRUE(torvella::assets::Wave(0).isEmpty());
    EXPECT_TRUE(torvella::assets::Wave(8).isEmpty());
    EXPECT_TRUE(torvella::assets::Wave(-1).isEmpty());
}

TEST(Clips, OnlyImagesWithRiffWaveFmtHeadersCountAsWaves)
{
    const QByteArray good = torvella::assets::Wave(6);
    ASSERT_FALSE(good.isEmpty());
    QByteArray riffx = good;
    riffx[3] = 'X';
    QByteArray noFmt = good;
    noFmt.replace(12, 4, "LIST");
    QByteArray aiff = good;
    aiff.replace(8, 4, "AIFF");
    const struct {
        const char* what;
        QByteArray bytes;
        bool ok;
    } cases[] = {{"real clip", good, true},       {"empty", QByteArray(), false},
                 {"header only cut", good.left(12), false}, {"RIFX", riffx, false},
                 {"no fmt first", noFmt, false},   {"not WAVE", aiff, false}};
    for (const auto& c : cases)
        EXPECT_EQ(torvella::assets::LooksLikeWave(c.bytes), c.ok) << c.what;
}

} // namespace
