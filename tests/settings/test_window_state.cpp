#include "settings/WindowState.h"

#include <gtest/gtest.h>

#include <climits>

using namespace torvella::settings;

namespace {

WindowPlacement rect(int l, int t, int r, int b, int show = ShowNormal, int flags = 0)
{
    WindowPlacement p;
    p.flags = flags;
    p.showCmd = show;
    p.left = l;
    p.top = t;
    p.right = r;
    p.bottom = b;
    return p;
}

const ScreenArea desktop{0, 0, 1920, 1080};

} // namespace

namespace torvella::settings {
void PrintTo(const WindowPlacement& p, std::ostream* os)
{
    *os << FormatPlacement(p).toStdString();
}
} // namespace torvella::settings

TEST(WindowState, PlacementTextRoundTrip)
{
    EXPECT_EQ(FormatPlacement(rect(100, 50, 900, 650)), "200,0,1,100,50,900,650");
    for (const WindowPlacement& p : {rect(100, 50, 900, 650), rect(-1280, -20, -500, 560, ShowMaximized),
                                     rect(0, 0, 0, 0, ShowMinimized, RestoreToMaximized),
                                     rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX)})
        EXPECT_EQ(ParsePlacement(FormatPlacement(p)), p);
    EXPECT_EQ(ParsePlacement("200,x,,1,2,3,4"), rect(1, 2, 3, 4)); // items 2 and 3 are not used
}

TEST(WindowState, InvalidTextMeansNothingStored)
{
    for (const char* text : {"", "200", "199,0,1,100,50,900,650", "200,0,1,100,50,900", "200,0,1,100,50,900,650,1",
                             " 200,0,1,100,50,900,650", "0200,0,1,100,50,900,650", "+200,0,1,100,50,900,650",
                             "200;0;1;100;50;900;650", "200,0,1,a,50,900,650", "200,0,1,100,50,900,650 ",
                             "200,0,1,1.5,50,900,650", "200,0,1,100,,900,650", "200,0,1,100,50,9999999999,650"})
        EXPECT_FALSE(ParsePlacement(text).has_value()) << '"' << text << '"';
}

TEST(WindowState, ClampingKeepsTheRectangleOnTheDesktop)
{
    const struct {
        const char* what;
        WindowPlacement in, out;
        ScreenArea desk;
    } cases[] = {
        {"inside", rect(100, 50, 900, 650), rect(100, 50, 900, 650), desktop},
        {"right beyond", rect(1500, 100, 2300, 700), rect(1120, 100, 1920, 700), desktop},
        {"bottom beyond", rect(100, 800, 900, 1400), rect(100, 480, 900, 1080), desktop},
        {"left beyond", rect(-200, 100, 600, 700), rect(0, 100, 800, 700), desktop},
        {"top beyond", rect(100, -50, 900, 550), rect(100, 0, 900, 600), desktop},
        {"corner beyond", rect(1800, 1000, 2600, 1600), rect(1120, 480, 1920, 1080), desktop},
        {"touching edges", rect(1120, 480, 1920, 1080), rect(1120, 480, 1920, 1080), desktop},
        {"wider than desktop", rect(-100, 0, 3000, 500), rect(0, 0, 1920, 500), desktop},
        {"negative size", rect(900, 650, 100, 50), rect(100, 50, 900, 650), desktop},
        {"absurd", rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), rect(0, 0, 1920, 1080), desktop},
        {"monitor on the left", rect(-1500, 0, -700, 600), rect(-1280, 0, -480, 600), {-1280, 0, 3200, 1080}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampToDesktop(c.in, c.desk), c.out) << c.what;
}

TEST(WindowState, CentringTruncatesTowardZeroAndMinimumKeepsTheCorner)
{
    EXPECT_EQ(CentreOnScreen(rect(0, 0, 718, 500), desktop), rect(601, 290, 1319, 790));
    EXPECT_EQ(CentreOnScreen(rect(0, 0, 718, 500), {0, 0, 1921, 1081}), rect(601, 290, 1319, 790));
    EXPECT_EQ(CentreOnScreen(rect(10, 10, 761, 500), {0, 0, 700, 479}), rect(-25, -5, 726, 485));
    EXPECT_EQ(CentreOnScreen(rect(0, 0, 800, 600), {1920, 0, 1280, 1024}), rect(2160, 212, 2960, 812));

    EXPECT_EQ(EnforceMinimumSize(rect(30, 40, 630, 440)), rect(30, 40, 780, 520));
    EXPECT_EQ(EnforceMinimumSize(rect(30, 40, 830, 440)), rect(30, 40, 830, 520));
    EXPECT_EQ(EnforceMinimumSize(rect(30, 40, 830, 640)), rect(30, 40, 830, 640));
}

TEST(WindowState, RestoreFromStoredText)
{
    const WindowPlacement firstRun = rect(0, 0, 718, 500);
    const ScreenArea screen{0, 0, 1920, 1080};
    // nothing valid stored: centred for the designed size, then widened to the right
    for (const char* text : {"", "199,0,1,100,50,900,650", "200,0,1,x,50,900,650"})
        EXPECT_EQ(RestorePlacement(text, firstRun, desktop, screen), rect(601, 290, 1351, 790)) << text;

    EXPECT_EQ(RestorePlacement("200,0,1,100,50,900,650", firstRun, desktop, screen), rect(100, 50, 900, 650));
    EXPECT_EQ(RestorePlacement("200,0,1,100,50,700,450", firstRun, desktop, screen), rect(100, 50, 850, 530));
    EXPECT_EQ(RestorePlacement("200,0,1,1500,100,2300,700", firstRun, desktop, screen),
              rect(1120, 100, 1920, 700));
    // flags and show command are the window's own; no minimum outside the normal state
    const WindowPlacement maximised = rect(0, 0, 1920, 1080, ShowMaximized, 0);
    EXPECT_EQ(RestorePlacement("200,2,2,100,50,700,450", maximised, desktop, screen),
              rect(100, 50, 700, 450, ShowMaximized, 0));
}

TEST(WindowState, WindowStatesMapToShowCommands)
{
    const struct {
        Qt::WindowStates states;
        int show, flags;
    } cases[] = {
        {Qt::WindowNoState, ShowNormal, 0},
        {Qt::WindowActive, ShowNormal, 0},
        {Qt::WindowMinimized, ShowMinimized, 0},
        {Qt::WindowMaximized, ShowMaximized, 0},
        {Qt::WindowFullScreen, ShowMaximized, 0},
        {Qt::WindowMinimized | Qt::WindowMaximized, ShowMinimized, RestoreToMaximized},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowCommandFor(c.states), c.show) << int(c.states);
        EXPECT_EQ(PlacementFlagsFor(c.states), c.flags) << int(c.states);
    }
}

// Wayland: the window cannot learn where it is, so what is stored keeps the position it had
// and takes the current size; with nothing valid stored the current size goes centred.
TEST(WindowState, KeepStoredPositionTakesOnlyTheSize)
{
    const ScreenArea primary{0, 0, 1920, 1080};
    WindowPlacement current;  // as a Wayland window reports itself: at 0, 0
    current.showCmd = ShowNormal;
    current.right = 800;
    current.bottom = 520;
    const struct {
        const char* stored;
        WindowPlacement expected;
    } cases[] = {
        {"200,0,1,123,77,873,557", {0, ShowNormal, 123, 77, 923, 597}},
        {"200,2,3,-40,-10,700,500", {0, ShowNormal, -40, -10, 760, 510}},  // off the screen: kept as it was
        {"", {0, ShowNormal, 560, 280, 1360, 800}},
        {"garbage", {0, ShowNormal, 560, 280, 1360, 800}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(FormatPlacement(KeepStoredPosition(current, QString::fromLatin1(c.stored), primary)),
                  FormatPlacement(c.expected));
    }
}
