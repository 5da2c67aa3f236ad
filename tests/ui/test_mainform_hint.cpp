// Hints in the main window: key H charges what a jump costs and shows the first drop of a
// solution, a ring on the cake to lift and an arrow into its target, blinking three times;
// with no solution left the message dialog says so and nothing is charged; no hint while a
// cake is lifted. The order of the hint's sound and counting steps is pinned in
// tests/core/HintTest.cpp (the audio device may close while quiet, so the channel says
// nothing reliable here).
#include "test_mainform_support.h"

#include "common/FreshConfig.h"
#include "settings/IniCtrl.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

#include <memory>

namespace torvella {
namespace {

using testing::Click;
using testing::Grab;
using testing::Prepare;

constexpr int R = 1;

class MainWindowHint : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    std::unique_ptr<testing::ProgramWindows> windows;

    void Start(int tongue)
    {
        settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), tongue);
        windows = std::make_unique<testing::ProgramWindows>();
    }
    ui::MainForm& M() { return windows->Main(); }

    // Red 12 beside the mixed cake, red 11 far away, red's plate at 10: with a jump the
    // only solution starts by dropping the mixed cake onto red 12; without, none is left.
    void LayKnown(int jumps) { Prepare(M(), {{0, 0, kMixedCake, 1}, {1, 0, R, 12}, {5, 5, R, 11}}, {0, 10, 12, 12, 12}, {}, jumps); }

    void PressH() { QTest::keyClick(&M(), Qt::Key_H); }
    void AwaitAnswer()
    {
        for (int i = 0; i < 500 && M().HintSearching(); ++i)
            QTest::qWait(10);
        ASSERT_FALSE(M().HintSearching());
        QTest::qWait(20);  // the answer is delivered on the window's thread
    }
    // The pixel (dx, dy) cell sizes away from a cell's centre, on the screen.
    QRgb At(int col, int row, double dx, double dy)
    {
        const Geometry& g = M().GameState().Layout();
        const Point c = g.CellCentre(col, row);
        return Grab(M().Box()).pixel(c.x + int(dx * g.CellSize), c.y + int(dy * g.CellSize)) & 0xFFFFFF;
    }
    // A point on the edge of a cell's cake.
    QRgb RingPixel(int col, int row)
    {
        const Geometry& g = M().GameState().Layout();
        return At(col, row, double(g.CakeRadius) / g.CellSize, 0);
    }

    void TearDown() override
    {
        windows.reset();
        EXPECT_TRUE(script.Unexpected().isEmpty());
        EXPECT_EQ(script.Pending(), 0);
        EXPECT_TRUE(recorder.errors.isEmpty()) << recorder.errors.join(QLatin1Char('|')).toStdString();
    }
};

TEST_F(MainWindowHint, ChargesAJumpAndBlinksTheDropThreeTimes)
{
    Start(0);
    LayKnown(1);
    const QRgb before = RingPixel(0, 0);
    PressH();
    AwaitAnswer();
    EXPECT_EQ(M().GameState().Position().Score, -370);
    EXPECT_EQ(M().GameState().Position().JumpsLeft, 1) << "a hint costs points, not a jump";

    // Count the blinks: the rings come on three times, then stay off.
    int blinks = M().HintRingsShown() ? 1 : 0;
    bool shown = M().HintRingsShown();
    // The cake to lift wears a ring, an arrow runs from the ring into the cake it drops
    // onto, and that one wears no ring: the two marks cannot be taken for each other.
    const QRgb white = 0xFFFFFF;
    bool marksSeen = false;
    for (int i = 0; i < 150; ++i) {
        if (shown)
            marksSeen = marksSeen || (At(0, 0, 0, 0.5) == white && At(1, 0, -0.25, 0) == white &&
                                      RingPixel(1, 0) != white);
        QTest::qWait(10);
        if (M().HintRingsShown() && !shown)
            ++blinks;
        shown = M().HintRingsShown();
    }
    EXPECT_EQ(blinks, 3);
    EXPECT_TRUE(marksSeen) << "a ring on the cake to lift, an arrow into the one it drops onto";
    EXPECT_FALSE(M().HintRingsShown());
    EXPECT_EQ(RingPixel(0, 0), before) << "the ring is gone after the blinking";
    EXPECT_EQ(M().GameState().Position().Colour(0, 0), kMixedCake) << "a hint moves nothing";
}

TEST_F(MainWindowHint, NoSolutionLeftIsSaidInEachLanguageAndCostsNothing)
{
    struct Case {
        int tongue;
        const char* text;
    };
    for (const Case& c : {Case{1, "Von hier aus ist diese Auslage nicht mehr lösbar."},
                          Case{0, "This tableau can no longer be solved from here."}}) {
        Start(c.tongue);
        LayKnown(0);
        script.Expect("YesNoDlg", Click("YesBtn"));
        PressH();
        AwaitAnswer();
        ASSERT_FALSE(script.Seen().empty());
        EXPECT_EQ(script.Seen().back().kind, ToInt(MessageKind::Text));
        EXPECT_EQ(script.Seen().back().text, QString::fromUtf8(c.text));
        EXPECT_FALSE(script.Seen().back().noButton);
        EXPECT_EQ(M().GameState().Position().Score, 0);
        EXPECT_FALSE(M().HintRingsShown());
        windows.reset();
    }
}

TEST_F(MainWindowHint, NoHintWhileACakeIsLifted)
{
    Start(0);
    LayKnown(1);
    const QPoint at = testing::CellPoint(M(), 0, 0);
    QTest::mousePress(M().Box(), Qt::LeftButton, {}, at);
    PressH();
    EXPECT_FALSE(M().HintSearching());
    QTest::mouseRelease(M().Box(), Qt::LeftButton, {}, at);
    QTest::qWait(50);
    EXPECT_EQ(M().GameState().Position().Score, 0);
}

} // namespace
} // namespace torvella
