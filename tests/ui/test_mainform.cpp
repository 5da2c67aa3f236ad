// The main window as the player meets it: what the board area and the tool bar show on
// the screen, a game played with the mouse, the close question and the settings written
// back at close.
#include "test_mainform_support.h"

#include "assets/Pictures.h"
#include "common/FreshConfig.h"
#include "core/Colours.h"
#include "settings/IniCtrl.h"
#include "ui/DlgResources.h"
#include "ui/InfoDlg.h"
#include "paint/ToolBarPainter.h"

#include <QDialog>
#include <QFile>
#include <QHelpEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace torvella {
namespace {

using testing::Bgr;
using testing::Cake;
using testing::Click;
using testing::Drag;
using testing::Grab;
using testing::Join;
using testing::Key;
using testing::LastSound;
using testing::Prepare;

const QString kCommon = QStringLiteral("common");

class MainWindow : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    std::unique_ptr<testing::ProgramWindows> windows;

    // A stored language keeps the first-show question away; -1 expects it and leaves it
    // unanswered (the language stays unchosen).
    void Start(int tongue = 0)
    {
        if (tongue == -1)
            script.Expect("TongueDlg", Key(Qt::Key_Escape));
        else
            settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), tongue);
        windows = std::make_unique<testing::ProgramWindows>();
    }
    ui::MainForm& M() { return windows->Main(); }
    Tableau& T() { return GameProbe::Board(M().GameState()); }

    void TearDown() override
    {
        windows.reset();
        EXPECT_TRUE(script.Unexpected().isEmpty()) << "dialogs nobody expected: " << Join(script.Unexpected());
        EXPECT_EQ(script.Pending(), 0) << "expected dialogs that never came";
        EXPECT_TRUE(recorder.errors.isEmpty()) << "errors reported: " << Join(recorder.errors);
    }

    // A point inside slice 1 of the cake centred at c (between 12 and 1 o'clock, clear
    // of the centre dot); an empty cell is black there.
    QPoint SliceOne(QPoint c) const
    {
        const int r = windows->Main().GameState().Layout().CakeRadius;
        return c + QPoint(r / 8, -r / 2);
    }
};

// ------------------------------------------------------------------ what the screen shows

TEST_F(MainWindow, BoardAreaShowsTheBoardPictureWithThePulseOnTop)
{
    Start();
    QTest::qWait(250);  // a few timer ticks: the pulse dots are up
    const QImage shown = Grab(M().Box());
    const QImage& board = M().BoardBitmap();
    ASSERT_EQ(shown.size(), board.size());
    ASSERT_EQ(board.size(), M().Box()->size());

    const Geometry& g = M().GameState().Layout();
    const int r = g.CakeRadius / 5 + 1;
    auto nearDot = [&](int x, int y) {
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const Point c = g.CellCentre(col, row);
                if (std::abs(x - c.x) <= r && std::abs(y - c.y) <= r)
                    return true;
            }
        return false;
    };
    int differences = 0;
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            if (!nearDot(x, y) && shown.pixel(x, y) != board.pixel(x, y))
                ++differences;
    EXPECT_EQ(differences, 0) << "pixels where the board area differs from BoardBitmap";

    // Right after a deal the four one-slice cakes may go onto their plates: they pulse in
    // the grey of the current step; every other dot is black.
    int pulsing = 0;
    const QRgb grey = Bgr(PulseColours()[M().GameState().Ticks().FlashStep]);
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row) {
            const Point c = g.CellCentre(col, row);
            const bool servable = T().Colour(col, row) > 0 && T().Slices(col, row) == 1;
            pulsing += servable;
            EXPECT_EQ(shown.pixel(c.x, c.y), servable ? grey : qRgb(0, 0, 0)) << col << "," << row;
        }
    EXPECT_EQ(pulsing, 4);
}

// The board area is painted in parts as the game goes: a cell after a move, the square of
// a lifted cake, the ring of the keyboard cursor, a pulse dot whose colour changed. What
// the screen holds after all of them is the board painted whole.
TEST_F(MainWindow, TheScreenPaintedInPartsIsTheBoardPaintedWhole)
{
    Start();
    M().show();
    QTest::qWait(250);
    QWidget* box = M().Box();
    const auto settle = [this] {
        QCoreApplication::processEvents();
        // What is still waiting to be painted (a tick may have just come) is painted now.
        QEvent paintPending(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&M(), &paintPending);
    };
    const auto compare = [&](const char* after) {
        settle();
        // The offscreen platform's screen is the windows' painted pictures.
        const QImage screen = M().screen()
                                  ->grabWindow(M().winId(), box->x(), box->y(), box->width(), box->height())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        const QImage whole = Grab(box);
        ASSERT_EQ(screen.size(), whole.size()) << after;
        int differences = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                differences += screen.pixel(x, y) != whole.pixel(x, y);
        EXPECT_EQ(differences, 0) << "pixels on the screen unlike the whole board, after " << after;
    };
    compare("the first frame and a few ticks");

    // A drop onto a neighbour (served or refused, both redraw the cells), carried over the
    // cells between, then a lift held in the air while the pulse goes on.
    Drag(M(), 0, 0, 1, 0);
    Drag(M(), 3, 3, 3, 5);
    QTest::mousePress(box, Qt::LeftButton, {}, testing::CellPoint(M(), 5, 5));
    QTest::mouseMove(box, testing::CellPoint(M(), 5, 5) + QPoint(20, 11));
    QTest::qWait(250);
    compare("moves and a cake held over the board");
    QTest::mouseRelease(box, Qt::LeftButton, {}, testing::CellPoint(M(), 5, 5) + QPoint(20, 11));
    QTest::keyClick(&M(), Qt::Key_Right);
    QTest::keyClick(&M(), Qt::Key_Down);
    QTest::qWait(250);
    compare("the cursor moved over the board");
}

// What the tool bar must show in the score field and the jump strip, composed from the
// program's own pictures by the rule "mask with AND, then picture with OR".
QRgb ToolBarBackground(const QImage& sheet, int backMode, int x, int y)
{
    const int tw = sheet.width() / 2, th = sheet.height() / 7;
    return sheet.pixel(tw + x % tw, backMode * th + y);
}

QRgb AndOr(QRgb bg, QRgb mask, QRgb pic) { return 0xFF000000u | ((bg & mask) | pic); }

QImage ExpectedToolBar(int width, int backMode, const std::string& digits, int jumps)
{
    const QImage sheet = assets::Bmps(assets::BmpsSheet).convertToFormat(QImage::Format_RGB32);
    const QImage strip = assets::Bmps(assets::BmpsDigits).convertToFormat(QImage::Format_RGB32);
    const QImage icon = assets::Bmps(assets::BmpsJumpIcon).convertToFormat(QImage::Format_RGB32);
    const QImage mask = assets::Bmps(assets::BmpsJumpMask).convertToFormat(QImage::Format_RGB32);
    QImage out(width, paint::kToolBarHeight, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < width; ++x)
            out.setPixel(x, y, ToolBarBackground(sheet, backMode, x, y));
    for (size_t p = 0; p < digits.size(); ++p) {
        const int g = digits[p] == '-' ? 0 : digits[p] - '0' + 1;
        for (int dy = 0; dy < 27; ++dy)
            for (int dx = 0; dx < 19; ++dx) {
                const int x = 282 + 20 * int(p) + dx, y = 22 + dy;
                out.setPixel(x, y, AndOr(out.pixel(x, y), strip.pixel(g * 20 + dx, 27 + dy), strip.pixel(g * 20 + dx, dy)));
            }
    }
    for (int k = 0; k < jumps; ++k)
        for (int dy = 0; dy < 45; ++dy)
            for (int dx = 0; dx < 45; ++dx) {
                const int x = 382 + 48 * k + dx, y = 6 + dy;
                out.setPixel(x, y, AndOr(out.pixel(x, y), mask.pixel(dx, dy), icon.pixel(dx, dy)));
            }
    return out;
}

// Compares the score field and the jump strip of the grabbed tool bar, leaving out what
// the score caption and the buttons cover.
void ExpectToolBarFields(ui::MainForm& m, const std::string& digits, int jumps)
{
    const QImage shown = Grab(m.ToolBox());
    const QImage expected = ExpectedToolBar(shown.width(), m.Settings().BackMode, digits, jumps);
    QList<QRect> covered;
    for (QWidget* child : m.ToolBox()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            covered << child->geometry();
    const QRect jumpStrip(382, 6, 141, 45);
    int compared = 0;
    for (const QRect& field : {paint::kScoreField, jumpStrip})
        for (int y = field.top(); y <= field.bottom(); ++y)
            for (int x = field.left(); x <= field.right(); ++x) {
                if (std::any_of(covered.begin(), covered.end(), [&](const QRect& r) { return r.contains(x, y); }))
                    continue;
                ++compared;
                if (shown.pixel(x, y) != expected.pixel(x, y)) {
                    ADD_FAILURE() << "score " << digits << ", " << jumps << " jumps: tool bar differs at " << x << ","
                                  << y;
                    return;
                }
            }
    EXPECT_GT(compared, 100 * 20);
}

TEST_F(MainWindow, ToolBarShowsScoreDigitsAndJumpIconsAtTheirPlaces)
{
    Start();
    EXPECT_EQ(M().ScoreLabel()->text(), "Score:");
    EXPECT_EQ(M().ScoreLabel()->x(), 287);
    ExpectToolBarFields(M(), "0", 3);

    struct Case {
        int32_t score;
        int jumps;
        std::string shown;
    };
    for (const Case& c : {Case{-37, 2, "-37"}, Case{12345, 1, "12345"}, Case{100000, 0, "99999"},
                          Case{-23456, 3, "-9999"}, Case{7, 0, "7"}}) {
        // The core tells the window after every change; each field is redrawn on its own.
        T().Score = c.score;
        T().JumpsLeft = c.jumps;
        M().ScoreChanged(c.score);
        M().JumpsChanged(c.jumps);
        ExpectToolBarFields(M(), c.shown, c.jumps);
    }
    // A new background design reaches the tool bar with the window's repaint.
    M().Settings().BackMode = 4;
    M().BackgroundChanged();
    ExpectToolBarFields(M(), "7", 0);
}

// ------------------------------------------------------------------ a game by mouse

TEST_F(MainWindow, GameByMouseServesHoldsRefusesJumpsUndoesPausesAndEndsInADeadEnd)
{
    Start();
    ASSERT_TRUE(M().Waves()->Load()) << "the headless audio driver must open";
    // One jump left, so that the game can run into a dead end after it.
    Prepare(M(),
            {{0, 0, 2, 5}, {1, 0, 1, 1}, {2, 0, 1, 3}, {3, 0, 1, 7}, {0, 6, 4, 4}, {6, 6, kMixedCake, 1}},
            {}, {}, 1);
    const Geometry& g = M().GameState().Layout();
    auto enabled = [&](Button b) { return M().Btn(b)->isEnabled(); };
    EXPECT_FALSE(enabled(Button::OOps));

    // Serve: red 1 goes onto its plate.
    Drag(M(), 0, 0, 1, 0);
    EXPECT_EQ(M().GameState().Phase(), GamePhase::Playing);
    EXPECT_EQ(T().PlateSlices[1], 1);
    EXPECT_EQ(T().Colour(1, 0), 2);
    EXPECT_EQ(T().Slices(0, 0), 0);
    EXPECT_EQ(T().Score, 45);
    EXPECT_EQ(LastSound(M()), 3);
    EXPECT_TRUE(enabled(Button::OOps) && enabled(Button::Pause) && enabled(Button::Again));
    {
        const QImage shown = Grab(M().Box());
        const Point plate = g.PlateCentre(1);
        EXPECT_EQ(shown.pixel(SliceOne({plate.x, plate.y})), Bgr(ColourTable()[1][1])) << "red 1 on its plate";
        const Point src = g.CellCentre(0, 0);
        EXPECT_EQ(shown.pixel(SliceOne({src.x, src.y})), qRgb(0, 0, 0)) << "the source cell is empty";
        ExpectToolBarFields(M(), "45", 1);
    }

    // Hold: red 3 is not next for the plate and goes into the free hold place.
    Drag(M(), 1, 0, 2, 0);
    EXPECT_EQ(T().HoldSlices[1], 3);
    EXPECT_EQ(T().Score, 45);
    EXPECT_EQ(LastSound(M()), 2);

    // Refused: red 7 is neither next nor can it be held; the cake comes back.
    Drag(M(), 2, 0, 3, 0);
    EXPECT_EQ(T().Colour(2, 0), 2);
    EXPECT_EQ(T().Slices(2, 0), 5);
    EXPECT_EQ(T().Slices(3, 0), 7);
    EXPECT_EQ(T().Score, 45);
    EXPECT_EQ(LastSound(M()), 6);
    EXPECT_FALSE(M().GameState().Lifted().Dragging);

    // Jump: the mixed cake drops far away onto yellow 4, which goes into its hold place.
    Drag(M(), 6, 6, 0, 6);
    EXPECT_EQ(T().JumpsLeft, 0);
    EXPECT_EQ(T().HoldSlices[4], 4);
    EXPECT_EQ(T().Colour(0, 6), kMixedCake);
    EXPECT_EQ(T().Score, 45 - 370);
    EXPECT_EQ(LastSound(M()), 4);
    ExpectToolBarFields(M(), "-325", 0);

    // Undo takes back the jump only, once.
    QTest::mouseClick(M().Btn(Button::OOps), Qt::LeftButton);
    EXPECT_EQ(T().JumpsLeft, 1);
    EXPECT_EQ(T().Score, 45);
    EXPECT_EQ(T().Colour(6, 6), kMixedCake);
    EXPECT_EQ(T().Colour(0, 6), 4);
    EXPECT_EQ(T().HoldSlices[4], 0);
    EXPECT_EQ(T().HoldSlices[1], 3);
    EXPECT_EQ(M().GameState().Phase(), GamePhase::Playing);
    EXPECT_FALSE(enabled(Button::OOps));
    ExpectToolBarFields(M(), "45", 1);

    // Pause: while its message shows, all 49 cells look empty and the side panel stays.
    QImage duringPause;
    GamePhase phaseDuringPause = GamePhase::Dealt;
    script.Expect("YesNoDlg", [&](QWidget* dlg) {
        duringPause = Grab(M().Box());
        phaseDuringPause = M().GameState().Phase();
        QTest::keyClick(dlg, Qt::Key_Escape);  // any answer ends the pause
    });
    QTest::mouseClick(M().Btn(Button::Pause), Qt::LeftButton);
    ASSERT_EQ(script.Seen().size(), 1u);
    EXPECT_EQ(script.Seen()[0].kind, ToInt(MessageKind::Paused));
    EXPECT_EQ(script.Seen()[0].text, "Game paused.\nContinue?");
    EXPECT_FALSE(script.Seen()[0].noButton);
    EXPECT_EQ(phaseDuringPause, GamePhase::Paused);
    EXPECT_EQ(M().GameState().Phase(), GamePhase::Playing);
    ASSERT_FALSE(duringPause.isNull());
    for (int col = 0; col < kCols; ++col)
        for (int row = 0; row < kRows; ++row) {
            const Point c = g.CellCentre(col, row);
            EXPECT_EQ(duringPause.pixel(SliceOne({c.x, c.y})), qRgb(0, 0, 0)) << "cell " << col << "," << row;
        }
    const Point plate = g.PlateCentre(1);
    EXPECT_EQ(duringPause.pixel(SliceOne({plate.x, plate.y})), Bgr(ColourTable()[1][1]));
    const Point green = g.CellCentre(2, 0);
    EXPECT_EQ(Grab(M().Box()).pixel(SliceOne({green.x, green.y})), Bgr(ColourTable()[2][1]))
        << "the cakes come back after the pause";

    // The jump again, then green 5 into its hold place: nothing can move any more.
    Drag(M(), 6, 6, 0, 6);
    EXPECT_EQ(T().JumpsLeft, 0);
    script.Expect("YesNoDlg", Click("YesBtn"));
    Drag(M(), 3, 0, 2, 0);
    EXPECT_EQ(T().HoldSlices[2], 5);
    EXPECT_EQ(M().GameState().Phase(), GamePhase::Ended);
    EXPECT_EQ(LastSound(M()), 7);
    ASSERT_EQ(script.Seen().size(), 2u);  // a negative score earns no place in the list
    EXPECT_EQ(script.Seen()[1].kind, ToInt(MessageKind::Text));
    EXPECT_EQ(script.Seen()[1].text, "Sorry, but that wasn't as it should be.");
    EXPECT_FALSE(script.Seen()[1].noButton);
    EXPECT_EQ(T().Score, 45 - 370);
    EXPECT_FALSE(enabled(Button::Pause));
    EXPECT_FALSE(enabled(Button::OOps));
    EXPECT_TRUE(enabled(Button::Again));
}

TEST_F(MainWindow, DeadEndMessageInEachLanguage)
{
    struct Case {
        int tongue;
        const char* text;
    };
    for (const Case& c : {Case{1, "Das ist sich leider nicht ganz ausgegangen."},
                          Case{0, "Sorry, but that wasn't as it should be."}}) {
        Start(c.tongue);
        // Red 3 goes into its hold place; green 5 is left alone. A score of 0 earns no
        // place in the empty list, so only the message shows.
        Prepare(M(), {{0, 0, 2, 5}, {1, 0, 1, 3}});
        const size_t before = script.Seen().size();
        script.Expect("YesNoDlg", Key(Qt::Key_Return));
        Drag(M(), 0, 0, 1, 0);
        EXPECT_EQ(M().GameState().Phase(), GamePhase::Ended);
        ASSERT_EQ(script.Seen().size(), before + 1);
        EXPECT_EQ(script.Seen().back().kind, ToInt(MessageKind::Text));
        EXPECT_EQ(script.Seen().back().text, QString::fromUtf8(c.text));
        EXPECT_FALSE(script.Seen().back().noButton);
        windows.reset();
    }
}

// ------------------------------------------------------------------ closing

TEST_F(MainWindow, CloseAsksKind4WhilePlayingAndKind3OtherwiseAndOnlyYesCloses)
{
    struct Case {
        GamePhase phase;
        int kind;
        GamePhase after;
    };
    for (const Case& c : {Case{GamePhase::Dealt, ToInt(MessageKind::Quit), GamePhase::Dealt},
                          Case{GamePhase::Playing, ToInt(MessageKind::GiveUp), GamePhase::Ended},
                          Case{GamePhase::Solved, ToInt(MessageKind::Quit), GamePhase::Solved},
                          Case{GamePhase::Ended, ToInt(MessageKind::Quit), GamePhase::Ended},
                          Case{GamePhase::Paused, ToInt(MessageKind::Quit), GamePhase::Paused}}) {
        SCOPED_TRACE(PhaseName(c.phase));
        Start();
        GameProbe::SetPhase(M().GameState(), c.phase);
        const size_t before = script.Seen().size();

        script.Expect("YesNoDlg", Click("NoBtn"));
        EXPECT_FALSE(M().close());
        EXPECT_TRUE(M().isVisible());
        EXPECT_EQ(M().GameState().Phase(), c.phase) << "No keeps the game as it was";

        // The exit button leads to the same question.
        script.Expect("YesNoDlg", Click("YesBtn"));
        QTest::mouseClick(M().ExitBtn(), Qt::LeftButton);
        EXPECT_FALSE(M().isVisible());
        EXPECT_EQ(M().GameState().Phase(), c.after);

        ASSERT_EQ(script.Seen().size(), before + 2);
        for (size_t i = before; i < before + 2; ++i) {
            EXPECT_EQ(script.Seen()[i].kind, c.kind);
            EXPECT_TRUE(script.Seen()[i].noButton);
        }
        EXPECT_EQ(script.Seen()[before].text,
                  c.kind == ToInt(MessageKind::GiveUp) ? "Do you really want to give up the game?" : "Do you really want to go?");
        windows.reset();
    }
}

TEST_F(MainWindow, SettingsAreWrittenBackOnlyWhenTheCloseGoesAhead)
{
    struct Case {
        int tongue;
        bool sound, music;
        int backMode;
        const char *soundText, *musicText, *tongueText, *backText;
    };
    for (const Case& c : {Case{1, false, true, 5, "0", "1", "1", "5"}, Case{0, true, false, 0, "1", "0", "0", "0"},
                          Case{-1, true, true, 6, "1", "1", "-1", "6"}}) {
        SCOPED_TRACE(c.tongue);
        QFile::remove(QString::fromStdString(cfg.storeFile().string()));
        Start(c.tongue);
        settings::GameSettings& s = M().Settings();
        s.SoundOn = c.sound;
        s.MusicOn = c.music;
        s.BackMode = c.backMode;
        settings::IniCtrl ini;
        const QString none = QStringLiteral("(none)");

        script.Expect("YesNoDlg", Key(Qt::Key_N));
        M().close();
        EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("sound"), none), none) << "nothing written on No";

        script.Expect("YesNoDlg", Key(Qt::Key_Y));
        M().close();
        ASSERT_FALSE(M().isVisible());
        EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("sound"), none), c.soundText);
        EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("music"), none), c.musicText);
        EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("tongue"), none), c.tongueText);
        EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("backmode"), none), c.backText);
        // Plain text values in the [common] group of the INI file.
        QFile file(QString::fromStdString(cfg.storeFile().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains("[common]"));
        EXPECT_TRUE(text.contains(QByteArray("tongue=") + c.tongueText + '\n')) << text.toStdString();
        EXPECT_TRUE(text.contains(QByteArray("sound=") + c.soundText + '\n')) << text.toStdString();
        windows.reset();
    }
}

} // namespace
} // namespace torvella

namespace torvella {
namespace {

// Start-up decodes only what the first frame shows; each dialog's pictures come when it
// is first shown, or first drawn while hidden.
TEST_F(MainWindow, DialogPicturesAreDecodedWhenADialogIsFirstShownOrDrawn)
{
    Start();
    const ui::DlgResources& res = windows->w.Resources();
    EXPECT_EQ(res.Decoded(), 8) << "the faces of the four right-hand buttons only";

    const QImage info = Grab(&windows->w.Info());
    EXPECT_EQ(res.Decoded(), 8 + 5) << "back, panel, cake picture, close button normal and hovered";
    EXPECT_NE(info.pixel(20, 20), info.pixel(info.width() / 2, info.height() / 2)) << "a picture, not a plain fill";
    EXPECT_EQ(info, Grab(&windows->w.Info()));

    windows->w.YesNo().show();
    EXPECT_EQ(res.Decoded(), 8 + 5 + 6) << "back, panel, yes and no buttons normal and hovered";
    windows->w.YesNo().hide();
}

// A start shows no dialog and builds none; the first one asked for brings those before it
// in the fixed order, every one a child of the main window; the first-start question is one
// of them.
TEST_F(MainWindow, DialogsAreMadeWhenFirstAskedForInTheirOrderAsChildrenOfTheMainWindow)
{
    for (const int tongue : {-1, 0}) {
        SCOPED_TRACE(tongue);
        Start(tongue);
        ui::Windows& w = windows->w;
        // the question comes once the opening animation has ended
        EXPECT_TRUE(QTest::qWaitFor([&] { return script.Pending() == 0; }, 5000));
        EXPECT_EQ(w.DialogsCreated(), tongue == -1 ? 2 : 0);
        EXPECT_EQ(M().findChildren<QDialog*>(Qt::FindDirectChildrenOnly).size(), w.DialogsCreated());

        ui::InfoDlg* info = &w.Info();
        EXPECT_EQ(w.DialogsCreated(), 3);
        EXPECT_EQ(&w.Info(), info) << "made once";
        w.Highscore();
        QStringList order;
        for (QDialog* d : M().findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
            order << d->objectName();
        EXPECT_EQ(order.join(u' ').toStdString(), "YesNoDlg TongueDlg InfoDlg OptionDlg HighscoreDlg");
        windows.reset();
    }
}

} // namespace
} // namespace torvella

namespace torvella {
namespace {

TEST_F(MainWindow, OnlyAnEnabledButtonShowsItsHint)
{
    Start();
    // Disabled first: a hint once shown takes a moment to go.
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled);
        ui::ImageButton* b = M().Btn(Button::OOps);
        b->setEnabled(enabled);
        QHelpEvent help(QEvent::ToolTip, QPoint(25, 25), b->mapToGlobal(QPoint(25, 25)));
        QApplication::sendEvent(b, &help);
        EXPECT_EQ(QToolTip::isVisible(), enabled);
        if (enabled) {
            EXPECT_EQ(QToolTip::text(), b->toolTip());
        }
    }
    QToolTip::hideText();
}

} // namespace
} // namespace torvella

namespace torvella {
namespace {

// A music file that cannot be played is reported by the music keeper, which runs inside
// the clock tick. The report must not hold the tick: clock and pulse go on while it shows.
// At start-up it waits for the language question and comes in the language chosen there;
// and a run reports the audio side once, however often music fails.
TEST_F(MainWindow, AFailingMusicFileIsReportedOnceInThePlayersLanguageWhileTheClockGoesOn)
{
    QTemporaryDir music;
    ASSERT_TRUE(music.isValid());
    QFile bad(music.filePath(QStringLiteral("broken.mid")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("MThd, but nothing a synthesiser could play");
    bad.close();

    const auto mainForm = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<ui::MainForm*>(w))
                return m;
        return static_cast<ui::MainForm*>(nullptr);
    };
    const auto playWithMusic = [&](ui::MainForm& m) {
        m.Settings().MusicOn = true;
        m.UseMusicFolder(music.path());
        GameProbe::SetPhase(m.GameState(), GamePhase::Playing);
        GameProbe::Board(m.GameState()).Score = 500;
    };
    struct Ticking {
        int32_t scoreBefore = 0, scoreAfter = 0, flashBefore = 0, flashAfter = 0;
    };

    struct Case {
        int tongue;            // stored; -1: asked at the first show, English chosen
        const char* text;
    };
    for (const Case& c : {Case{1, "Die Musik kann nicht gespielt werden und ist jetzt ausgeschaltet."},
                          Case{-1, "The music cannot be played and is now switched off."}}) {
        SCOPED_TRACE(c.tongue);
        QFile::remove(QString::fromStdString(cfg.storeFile().string()));
        const size_t before = script.Seen().size();
        Ticking t;
        if (c.tongue == -1) {
            // The keeper fails while the question shows (its 1.6 s pass meanwhile).
            script.Expect("TongueDlg", [&](QWidget* dlg) {
                playWithMusic(*mainForm());
                QTest::qWait(1800);
                Click("EnglishBtn")(dlg);
            });
        } else {
            settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), c.tongue);
        }
        script.Expect("YesNoDlg", [&](QWidget* dlg) {
            Game& g = mainForm()->GameState();
            t.scoreBefore = GameProbe::Board(g).Score;
            t.flashBefore = GameProbe::Ticks(g).FlashStep;
            QTest::qWait(1200);
            t.scoreAfter = GameProbe::Board(g).Score;
            t.flashAfter = GameProbe::Ticks(g).FlashStep;
            Key(Qt::Key_Return)(dlg);
        });
        windows = std::make_unique<testing::ProgramWindows>();
        if (c.tongue != -1)
            playWithMusic(M());
        QTRY_COMPARE_WITH_TIMEOUT(script.Pending(), 0, 5000);

        const testing::SeenDialog& report = script.Seen().back();
        EXPECT_EQ(report.kind, ToInt(MessageKind::Text));
        EXPECT_EQ(report.text, QString::fromUtf8(c.text));
        EXPECT_LT(t.scoreAfter, t.scoreBefore) << "the clock stood still while the report showed";
        EXPECT_NE(t.flashAfter, t.flashBefore) << "the pulse stood still while the report showed";
        EXPECT_FALSE(M().Settings().MusicOn);

        // Switched on again, the same file fails again: no second report this run.
        M().ToggleMusic();
        QTest::qWait(300);
        EXPECT_FALSE(M().Settings().MusicOn);
        EXPECT_EQ(script.Seen().size(), before + (c.tongue == -1 ? 2 : 1));
        windows.reset();
    }
}

} // namespace
} // namespace torvella
