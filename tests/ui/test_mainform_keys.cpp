// The main window by keyboard: the cursor ring on the screen, a game played with the
// arrows, Space, Enter and Escape, and the tool-bar shortcuts, each acting as its button
// and only while that button is enabled.
#include "test_mainform_support.h"

#include "common/FreshConfig.h"
#include "core/Colours.h"
#include "help/HelpDispatch.h"
#include "settings/IniCtrl.h"
#include "paint/BoardMarks.h"
#include "paint/BoardPainter.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>
#include <string>

namespace torvella {
namespace {

using testing::Bgr;
using testing::Cake;
using testing::Grab;
using testing::Join;
using testing::Key;
using testing::LastSound;
using testing::Prepare;

constexpr int R = 1, G = 2, Y = 4;

class Keyboard : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    std::unique_ptr<testing::ProgramWindows> windows;

    void SetUp() override
    {
        settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), 0);
        windows = std::make_unique<testing::ProgramWindows>();
        Activate();
        ASSERT_TRUE(M().Waves()->Load()) << "the headless audio driver must open";
    }
    void TearDown() override
    {
        windows.reset();
        EXPECT_TRUE(script.Unexpected().isEmpty()) << "dialogs nobody expected: " << Join(script.Unexpected());
        EXPECT_EQ(script.Pending(), 0) << "expected dialogs that never came";
        EXPECT_TRUE(recorder.errors.isEmpty()) << "errors reported: " << Join(recorder.errors);
    }

    ui::MainForm& M() { return windows->Main(); }
    // Shortcuts answer only in the active window, as on a desktop.
    void Activate()
    {
        M().activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &M(); }));
    }
    const Tableau& T() { return M().GameState().Position(); }
    const Lift& Lifted() { return M().GameState().Lifted(); }
    GamePhase Phase() { return M().GameState().Phase(); }
    const Geometry& Geo() { return M().GameState().Layout(); }
    void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&M(), key, mods); }

    QPoint Centre(int col, int row)
    {
        const Point c = Geo().CellCentre(col, row);
        return {c.x, c.y};
    }
    // How far a cake held by the keys stands up and to the left of its cell.
    QPoint Up() { return QPoint(paint::CarryLift(Geo()), paint::CarryLift(Geo())); }
    // A point inside slice 1 of the cake centred on a cell; an empty cell is black there.
    QPoint SliceOne(int col, int row) { return Centre(col, row) + QPoint(Geo().CakeRadius / 8, -Geo().CakeRadius / 2); }
    // The pixels right of a cell's cake, in the gap before the neighbour's cake: the ring
    // crosses them as a white line with black on both sides.
    std::vector<QRgb> Gap(const QImage& image, int col, int row)
    {
        std::vector<QRgb> run;
        const QPoint c = Centre(col, row);
        for (int x = c.x() + Geo().CakeRadius; x <= c.x() + Geo().CellSize - Geo().CakeRadius; ++x)
            run.push_back(image.pixel(x, c.y()) & 0xFFFFFF);
        return run;
    }
    // The ring's line is white, or gold while it holds a cake.
    ::testing::AssertionResult RingAround(const QImage& image, int col, int row, QRgb line = 0xFFFFFF)
    {
        const std::vector<QRgb> run = Gap(image, col, row);
        const auto isWhite = [line](QRgb c) {
            return std::abs(qRed(c) - qRed(line)) <= 0x10 && std::abs(qGreen(c) - qGreen(line)) <= 0x10 &&
                   std::abs(qBlue(c) - qBlue(line)) <= 0x10;
        };
        const auto isBlack = [](QRgb c) { return qRed(c) <= 0x30 && qGreen(c) <= 0x30 && qBlue(c) <= 0x30; };
        const auto white = std::find_if(run.begin(), run.end(), isWhite);
        if (white == run.end())
            return ::testing::AssertionFailure() << "no line of the ring's colour right of cell " << col << "," << row;
        if (std::find_if(run.begin(), white, isBlack) == white || std::find_if(white, run.end(), isBlack) == run.end())
            return ::testing::AssertionFailure() << "the line is not edged in black";
        return ::testing::AssertionSuccess();
    }

    int CakesOnTheBoard()
    {
        int n = 0;
        for (int i = 0; i < kCells; ++i)
            n += T().CellSlices[i] > 0;
        return n;
    }
};

TEST_F(Keyboard, RingStandsOnTheScreenOnlyFollowsTheArrowsAndGoesWithTheMouse)
{
    Prepare(M(), {{3, 3, G, 9}, {4, 3, R, 1}});
    const QImage board = M().BoardBitmap();
    EXPECT_FALSE(M().Cursor().Visible());
    EXPECT_EQ(Gap(Grab(M().Box()), 3, 3), Gap(board, 3, 3)) << "no ring before a key";

    // The first arrow shows the ring on the centre cell.
    Press(Qt::Key_Left);
    ASSERT_TRUE(M().Cursor().Visible());
    EXPECT_EQ(M().Cursor().Col(), 3);
    EXPECT_EQ(M().Cursor().Row(), 3);
    QImage shown = Grab(M().Box());
    EXPECT_TRUE(RingAround(shown, 3, 3));
    EXPECT_EQ(shown.pixel(SliceOne(3, 3)), Bgr(ColourTable()[G][1])) << "the cake inside the ring shows";
    EXPECT_EQ(M().BoardBitmap(), board) << "the ring never enters the board picture";

    // The ring moves; where it stood, the board picture shows again.
    Press(Qt::Key_Right);
    shown = Grab(M().Box());
    EXPECT_TRUE(RingAround(shown, 4, 3));
    EXPECT_EQ(Gap(shown, 2, 3), Gap(board, 2, 3)) << "the ring's left side around cell 3,3 is gone";

    // On every background the ring is the same white line edged in black.
    for (int back = 0; back < 7; ++back) {
        M().Settings().BackMode = back;
        M().BackgroundChanged();
        shown = Grab(M().Box());
        EXPECT_TRUE(RingAround(shown, 4, 3)) << "background " << back;
    }

    // A press of the mouse on the board takes the ring away.
    const QImage boardNow = M().BoardBitmap();
    QTest::mouseClick(M().Box(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(M().Cursor().Visible());
    EXPECT_EQ(Gap(Grab(M().Box()), 4, 3), Gap(boardNow, 4, 3));
}

TEST_F(Keyboard, ACakeLiftedByTheKeysIsSeenInHandAtOnceTheMousesLiftLooksAsBefore)
{
    Prepare(M(), {{3, 3, G, 9}, {4, 3, R, 1}});
    const Point c = Geo().CellCentre(3, 3);
    const QRect cell = paint::CursorRingRect(Geo(), c.x, c.y);
    Press(Qt::Key_Left);
    const QImage before = Grab(M().Box());

    Press(Qt::Key_Space);
    ASSERT_TRUE(Lifted().Dragging);
    const QImage held = Grab(M().Box());
    int changed = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            changed += held.pixel(x, y) != before.pixel(x, y);
    const int cakeArea = 3 * Geo().CakeRadius * Geo().CakeRadius;
    EXPECT_GT(changed, cakeArea / 4) << "the cake in hand looks as it did on the board";
    // The ring turns gold while it holds a cake; the cake stands up and to the left.
    EXPECT_TRUE(RingAround(held, 3, 3, paint::kCarriedRing));
    EXPECT_FALSE(RingAround(held, 3, 3)) << "still the white ring of an empty hand";
    EXPECT_EQ(held.pixel(SliceOne(3, 3) - Up()), Bgr(ColourTable()[G][1]));

    // Escape puts it back: the picture is the one before the lift.
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Lifted().Dragging);
    EXPECT_EQ(Grab(M().Box()).copy(cell), before.copy(cell));

    // The mouse's cake, lifted at the very centre of its cell, shows just where it stood.
    const QImage board = M().BoardBitmap();
    QTest::mousePress(M().Box(), Qt::LeftButton, {}, Centre(3, 3));
    ASSERT_TRUE(Lifted().Dragging);
    const QRect cake(c.x - Geo().CakeRadius - 2, c.y - Geo().CakeRadius - 2, 2 * Geo().CakeRadius + 5,
                     2 * Geo().CakeRadius + 5);
    EXPECT_EQ(Grab(M().Box()).copy(cake), board.copy(cake));
    QTest::mouseRelease(M().Box(), Qt::LeftButton, {}, Centre(3, 3));
    EXPECT_EQ(T().Colour(3, 3), G);
}

TEST_F(Keyboard, GameByKeysServesHoldsRefusesUndoesAndReturnsWithEscape)
{
    Prepare(M(), {{3, 3, G, 9}, {4, 3, R, 1}, {5, 3, R, 3}, {6, 3, R, 7}, {0, 6, Y, 1}, {1, 6, Y, 2}});
    auto enabled = [&](Button b) { return M().Btn(b)->isEnabled(); };

    // Lift: the cell is empty in the board picture, the cake stands over the cursor's cell.
    Press(Qt::Key_Right);
    Press(Qt::Key_Space);
    ASSERT_TRUE(Lifted().Dragging);
    EXPECT_EQ(M().CarriedCakeAt(), Centre(3, 3));
    EXPECT_EQ(M().BoardBitmap().pixel(SliceOne(3, 3)), qRgb(0, 0, 0));
    EXPECT_EQ(Grab(M().Box()).pixel(SliceOne(3, 3) - Up()), Bgr(ColourTable()[G][1]));
    // The arrow carries it over the next cell.
    Press(Qt::Key_Right);
    QImage shown = Grab(M().Box());
    EXPECT_EQ(shown.pixel(SliceOne(4, 3) - Up()), Bgr(ColourTable()[G][1]));
    EXPECT_EQ(shown.pixel(SliceOne(3, 3)), qRgb(0, 0, 0));
    EXPECT_TRUE(RingAround(shown, 4, 3, paint::kCarriedRing));

    // Serve: red 1 onto its plate.
    Press(Qt::Key_Space);
    EXPECT_FALSE(Lifted().Dragging);
    EXPECT_EQ(T().PlateSlices[R], 1);
    EXPECT_EQ(T().Colour(4, 3), G);
    EXPECT_EQ(T().Score, 45);
    EXPECT_EQ(Phase(), GamePhase::Playing);
    EXPECT_EQ(LastSound(M()), 3);

    // Hold, with Enter: red 3 into its hold place.
    Press(Qt::Key_Space);
    Press(Qt::Key_Right);
    Press(Qt::Key_Return);
    EXPECT_EQ(T().HoldSlices[R], 3);
    EXPECT_EQ(T().Colour(5, 3), G);
    EXPECT_EQ(LastSound(M()), 2);

    // Refused: red 7 can go nowhere; green 9 comes back, the cursor stays.
    Press(Qt::Key_Space);
    Press(Qt::Key_Right);
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(Lifted().Dragging);
    EXPECT_EQ(T().Colour(5, 3), G);
    EXPECT_EQ(T().Slices(6, 3), 7);
    EXPECT_EQ(T().Score, 45);
    EXPECT_EQ(LastSound(M()), 6);
    EXPECT_EQ(M().Cursor().Col(), 6);
    EXPECT_EQ(Grab(M().Box()).pixel(SliceOne(5, 3)), Bgr(ColourTable()[G][1]));

    // Undo takes back the hold; a second Ctrl+Z finds the button disabled.
    QSignalSpy undoClicks(M().Btn(Button::OOps), &QAbstractButton::clicked);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undoClicks.count(), 1);
    EXPECT_EQ(T().HoldSlices[R], 0);
    EXPECT_EQ(T().Slices(5, 3), 3);
    EXPECT_EQ(T().Colour(4, 3), G);
    EXPECT_EQ(T().Score, 45);
    EXPECT_FALSE(enabled(Button::OOps));
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undoClicks.count(), 1);

    // Escape: red 7 lifted and carried left comes back as a release on its own cell does.
    Press(Qt::Key_Space);
    Press(Qt::Key_Left);
    EXPECT_EQ(M().CarriedCakeAt(), Centre(5, 3));
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Lifted().Dragging);
    EXPECT_EQ(T().Slices(6, 3), 7);
    EXPECT_EQ(T().Slices(5, 3), 3);
    EXPECT_EQ(LastSound(M()), 6);
    EXPECT_EQ(M().Cursor().Col(), 6);
    EXPECT_FALSE(enabled(Button::OOps)) << "a returned cake is no move";

    // A shortcut while a cake is up: the cake goes back first, then the button acts, so
    // undo never puts a cake down twice. Red 3 onto red 7 sends 7 to the hold place...
    Press(Qt::Key_Left);
    Press(Qt::Key_Space);
    Press(Qt::Key_Right);
    Press(Qt::Key_Space);
    ASSERT_EQ(T().HoldSlices[R], 7);
    // ... then green 9 is lifted and Ctrl+Z comes.
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    Press(Qt::Key_Space);
    ASSERT_TRUE(Lifted().Dragging);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Lifted().Dragging);
    EXPECT_FALSE(M().Cursor().Carrying());
    EXPECT_EQ(T().HoldSlices[R], 0);
    EXPECT_EQ(T().Slices(4, 3), 9);
    EXPECT_EQ(T().Slices(5, 3), 3);
    EXPECT_EQ(T().Slices(6, 3), 7);
    EXPECT_EQ(CakesOnTheBoard(), 5);
    Press(Qt::Key_Space);
    Press(Qt::Key_Space);
    EXPECT_EQ(CakesOnTheBoard(), 5) << "a cake lifted and dropped on its own cell, nothing more";
}

TEST_F(Keyboard, EachShortcutActsAsItsButtonOnlyWhileTheButtonIsEnabled)
{
    // One move made: every button is enabled and a question comes for a running game.
    Prepare(M(), {{3, 3, G, 9}, {4, 3, R, 1}, {0, 6, Y, 1}, {1, 6, Y, 2}});
    testing::Drag(M(), 3, 3, 4, 3);
    ASSERT_EQ(Phase(), GamePhase::Playing);

    std::vector<int32_t> helpContexts;
    const help::HelpHandler hook = help::SetApplicationHelpHandler([&](uint16_t command, int32_t data, bool& callHelp) {
        callHelp = false;
        if (command == help::HELP_CONTEXT)
            helpContexts.push_back(data);
        return true;
    });

    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::function<QAbstractButton*()> button;
        const char* dialog;  // the dialog its click opens, answered so that the game goes on
        int kind;            // the message kind, for the message dialog
    };
    auto game = [this](Button b) { return [this, b]() -> QAbstractButton* { return M().Btn(b); }; };
    const Case cases[] = {
        {"F2", Qt::Key_F2, Qt::NoModifier, game(Button::Start), "YesNoDlg", ToInt(MessageKind::GiveUp)},
        {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, game(Button::Start), "YesNoDlg", ToInt(MessageKind::GiveUp)},
        {"Ctrl+R", Qt::Key_R, Qt::ControlModifier, game(Button::Again), "YesNoDlg", ToInt(MessageKind::GiveUp)},
        {"P", Qt::Key_P, Qt::NoModifier, game(Button::Pause), "YesNoDlg", ToInt(MessageKind::Paused)},
        {"Pause", Qt::Key_Pause, Qt::NoModifier, game(Button::Pause), "YesNoDlg", ToInt(MessageKind::Paused)},
        {"Ctrl+H", Qt::Key_H, Qt::ControlModifier, game(Button::HighScore), "HighscoreDlg", 0},
        {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, [this] { return M().OptionBtn(); }, "OptionDlg", 0},
        {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier, [this] { return M().ExitBtn(); }, "YesNoDlg", ToInt(MessageKind::GiveUp)},
        {"F1", Qt::Key_F1, Qt::NoModifier, [this] { return M().RulesBtn(); }, nullptr, 0},
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, game(Button::OOps), nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A closed dialog gives the activation back to the main window on a desktop; the
        // headless platform leaves that to the test.
        Activate();
        QAbstractButton* button = c.button();
        ASSERT_TRUE(button->isEnabled());
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        const size_t seen = script.Seen().size();
        const size_t helps = helpContexts.size();

        button->setEnabled(false);
        Press(c.key, c.mods);
        EXPECT_EQ(clicks.count(), 0);
        EXPECT_EQ(script.Seen().size(), seen);
        button->setEnabled(true);

        if (c.dialog)
            script.Expect(c.dialog, c.kind ? Key(Qt::Key_N) : Key(Qt::Key_Escape));
        Press(c.key, c.mods);
        EXPECT_EQ(clicks.count(), 1);
        if (c.dialog) {
            ASSERT_EQ(script.Seen().size(), seen + 1);
            EXPECT_EQ(script.Seen().back().name, c.dialog);
            EXPECT_EQ(script.Seen().back().kind, c.kind);
        }
        EXPECT_TRUE(M().isVisible());
        EXPECT_EQ(Phase(), GamePhase::Playing) << "every question was answered so that the game goes on";
        if (c.key == Qt::Key_F1) {
            EXPECT_EQ(helpContexts.size(), helps + 1);
        }
    }
    // The rules in English; undo took back the move.
    EXPECT_EQ(helpContexts, std::vector<int32_t>{2});
    EXPECT_EQ(T().PlateSlices[R], 0);
    EXPECT_EQ(T().Colour(3, 3), G);
    EXPECT_FALSE(M().Btn(Button::OOps)->isEnabled());
    help::SetApplicationHelpHandler(hook);
}

} // namespace
} // namespace torvella
