// The explode animation: the step arithmetic (truncation toward zero, the last step is the
// window's outer rectangle) and that a platform without a real screen gets no overlay.
#include "ui/ExplodeEffect.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace torvella::ui {
namespace {

struct Step {
    QPoint start;
    ExplodeEdges target;
    int i;
    ExplodeEdges want;
};

TEST(ExplodeSteps, GrowFromThePointerToTheWindow)
{
    const ExplodeEdges window{100, 50, 900, 650};
    const Step table[] = {
        // dx = -10, dy = -6.25, dw = 20, dh = 15
        {{500, 300}, window, 1, {490, 293, 510, 308}},
        {{500, 300}, window, 2, {480, 287, 520, 317}},
        {{500, 300}, window, 40, window},
        // target left of and above the start, negative coordinates: -1.5 and -0.75 truncate to -1 and 0
        {{0, 0}, {-60, -30, -20, 10}, 1, {-1, 0, 0, 1}},
        {{0, 0}, {-60, -30, -20, 10}, 3, {-4, -2, -1, 1}},
        {{0, 0}, {-60, -30, -20, 10}, 40, {-60, -30, -20, 10}},
        // odd sizes: fractional steps in both directions
        {{7, 3}, {-5, -9, 2, 4}, 20, {1, -3, 4, 3}},
    };
    for (const auto& s : table) {
        const ExplodeEdges got = ExplodeRect(s.start, s.target, s.i);
        EXPECT_EQ(got, s.want) << "step " << s.i << " from " << s.start.x() << ',' << s.start.y() << ": got "
                               << got.left << ',' << got.top << ',' << got.right << ',' << got.bottom;
    }
}

TEST(ExplodeOverlay, NothingIsCreatedOnTheOffscreenPlatform)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_FALSE(ExplodeSupported());
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    window.show();
    const auto before = QApplication::topLevelWidgets().size();
    int done = 0;
    EXPECT_EQ(StartExplode(&window, [&done] { ++done; }), nullptr);
    EXPECT_EQ(done, 1) << "what waits for the animation goes on at once";
    QApplication::processEvents();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

} // namespace
} // namespace torvella::ui
