// The board as a screen reader reads it while a game is played with the mouse: the cells,
// hold places and plates named by what they hold, and the status line telling each move's
// outcome: a served cake, a held one, a refusal, a jump, the dead end; a hint in words; the
// cells covered while paused, and every name in the language just chosen. (That a reader
// hears these names change is shown on the accessibility bus, tests/a11y.)
#include "test_mainform_support.h"

#include "common/FreshConfig.h"
#include "settings/IniCtrl.h"
#include "ui/BoardAccessible.h"

#include <QAccessible>
#include <gtest/gtest.h>


namespace torvella {
namespace {

using testing::Click;
using testing::Drag;
using testing::Join;
using testing::Prepare;

// The program's windows in English, with the reader's view of the board.
class AccessBoard : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    struct English {
        English() { settings::IniCtrl().WriteInteger(QStringLiteral("common"), QStringLiteral("tongue"), 0); }
    } english;  // stored before the windows start, so no language question comes
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    testing::ProgramWindows windows;

    ~AccessBoard() override
    {
        EXPECT_TRUE(script.Unexpected().isEmpty()) << "dialogs nobody expected: " << Join(script.Unexpected());
        EXPECT_TRUE(recorder.errors.isEmpty()) << "errors reported: " << Join(recorder.errors);
    }
    ui::MainForm& M() { return windows.Main(); }
    QAccessibleInterface* Board() { return QAccessible::queryAccessibleInterface(M().Box()); }
    QString Child(int index) { return Board()->child(index)->text(QAccessible::Name); }
    QString Cell(int col, int row) { return Board()->tableInterface()->cellAt(row, col)->text(QAccessible::Name); }
    QString Slot(Slot slot, int colour) { return Child(ui::SlotChildIndex(slot, colour)); }
    QString Status() { return Child(ui::BoardAccess::kStatusChild); }
    // The names of the tool bar's children, buttons and values alike.
    QStringList ToolBarNames()
    {
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(M().ToolBox());
        QStringList names;
        for (int i = 0; bar && i < bar->childCount(); ++i)
            names << bar->child(i)->text(QAccessible::Name);
        return names;
    }
};

TEST_F(AccessBoard, CellsSlotsAndTheStatusLineFollowAGame)
{
    ASSERT_NE(Board(), nullptr);
    EXPECT_EQ(Board()->role(), QAccessible::Table);
    EXPECT_EQ(Board()->childCount(), ui::BoardAccess::kBoardChildren);
    // The same position as the mouse game of the main window's tests: one jump left, so
    // that it ends in a dead end.
    Prepare(M(), {{0, 0, 2, 5}, {1, 0, 1, 1}, {2, 0, 1, 3}, {3, 0, 1, 7}, {0, 6, 4, 4}, {6, 6, kMixedCake, 1}}, {}, {},
            1);
    EXPECT_EQ(Cell(0, 0), "green cake, 5 slices");
    EXPECT_EQ(Cell(1, 0), "red cake, 1 slice");
    EXPECT_EQ(Cell(6, 6), "mixed cake");
    EXPECT_EQ(Cell(3, 3), "empty");
    EXPECT_EQ(Board()->tableInterface()->cellAt(0, 3)->text(QAccessible::Description), "row 1, column 4");
    EXPECT_EQ(Slot(Slot::Plate, 1), "red plate: 0 of 12");
    EXPECT_EQ(Slot(Slot::Hold, 4), "yellow hold place: empty");
    EXPECT_EQ(Status(), "Last move");

    // Lifting is told at once; where the cake lands, the cells say.
    QTest::mousePress(M().Box(), Qt::LeftButton, {}, testing::CellPoint(M(), 0, 0));
    EXPECT_EQ(Status(), "lifted: green cake, 5 slices");
    EXPECT_EQ(Cell(0, 0), "empty");
    QTest::mouseRelease(M().Box(), Qt::LeftButton, {}, testing::CellPoint(M(), 1, 0));
    EXPECT_EQ(Cell(1, 0), "green cake, 5 slices");
    EXPECT_EQ(Slot(Slot::Plate, 1), "red plate: 1 of 12");
    EXPECT_EQ(Status(), "red plate: 1 of 12");

    const struct {
        int fromCol, fromRow, toCol, toRow;
        const char* status;
    } moves[] = {
        {1, 0, 2, 0, "red hold place: red cake, 3 slices"},
        {2, 0, 3, 0, "refused, the cake goes back"},
        {6, 6, 0, 6, "yellow hold place: yellow cake, 4 slices; jump, 0 jumps left"},
        {3, 0, 2, 0, "green hold place: green cake, 5 slices; dead end: no cake can move"},
    };
    script.Expect("YesNoDlg", Click("YesBtn"));  // the dead end's message
    for (const auto& m : moves) {
        SCOPED_TRACE(m.status);
        Drag(M(), m.fromCol, m.fromRow, m.toCol, m.toRow);
        EXPECT_EQ(Status(), QString::fromUtf8(m.status));
    }
    EXPECT_EQ(M().GameState().Phase(), GamePhase::Ended);
    EXPECT_EQ(Slot(Slot::Hold, 2), "green hold place: green cake, 5 slices");
}

TEST_F(AccessBoard, ScoreAndJumpsAreNamedValuesAndButtonsAreNamedByTheirHints)
{
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(M().ToolBox());
    ASSERT_NE(bar, nullptr);
    QStringList buttons;
    QAccessibleInterface* score = nullptr;
    QAccessibleInterface* jumps = nullptr;
    for (int i = 0; i < bar->childCount(); ++i) {
        QAccessibleInterface* c = bar->child(i);
        if (c->role() == QAccessible::Button)
            buttons << c->text(QAccessible::Name);
        if (c->text(QAccessible::Name) == "Score" && c->valueInterface())
            score = c;
        if (c->text(QAccessible::Name) == "Jumps" && c->valueInterface())
            jumps = c;
    }
    EXPECT_EQ(buttons.size(), 9);
    EXPECT_TRUE(buttons.contains("Oops, I didn't want that."));
    EXPECT_TRUE(buttons.contains(" I want to change the options."));
    ASSERT_TRUE(score && jumps);
    Prepare(M(), {{0, 0, 2, 5}, {1, 0, 1, 1}, {5, 5, 3, 2}, {5, 6, 3, 4}}, {}, {}, 2);
    Drag(M(), 0, 0, 1, 0);
    EXPECT_EQ(score->valueInterface()->currentValue().toInt(), 45);
    EXPECT_EQ(jumps->valueInterface()->currentValue().toInt(), 2);
    // A disabled button says so.
    QAccessibleInterface* again = QAccessible::queryAccessibleInterface(M().Btn(Button::Again));
    M().Btn(Button::Again)->setEnabled(false);
    EXPECT_TRUE(again->state().disabled);
}

TEST_F(AccessBoard, PauseCoversTheCellsAndANewLanguageRenamesEverythingTheStatusLineIncluded)
{
    Prepare(M(), {{0, 0, 2, 5}, {1, 0, 1, 1}, {5, 5, 3, 2}, {5, 6, 3, 4}});  // a move left after the first
    Drag(M(), 0, 0, 1, 0);
    ASSERT_EQ(Status(), "red plate: 1 of 12");

    QStringList paused;
    script.Expect("YesNoDlg", [&](QWidget* dlg) {
        paused << Cell(1, 0) << Cell(0, 0) << Slot(Slot::Plate, 1) << Status();
        Click("YesBtn")(dlg);
    });
    M().PauseBtnClick();
    EXPECT_EQ(paused, QStringList({"covered", "covered", "red plate: 1 of 12", "red plate: 1 of 12"}));
    EXPECT_EQ(Cell(1, 0), "green cake, 5 slices");

    M().Settings().Tongue = 1;
    M().SetLanguageTexts();
    EXPECT_EQ(Cell(1, 0), "grüne Torte, 5 Stücke");
    EXPECT_EQ(Slot(Slot::Plate, 1), "roter Teller: 1 von 12");
    EXPECT_EQ(Status(), "roter Teller: 1 von 12") << "told in English, read in German";
    EXPECT_EQ(Board()->text(QAccessible::Name), "Auslage");
    const QStringList bar = ToolBarNames();
    for (const char* name : {"Ich brauch eine kurze Pause.", "Punkte", "Sprünge"})
        EXPECT_TRUE(bar.contains(QString::fromUtf8(name))) << name << "\n" << bar.join(QLatin1Char('|')).toStdString();
}

TEST_F(AccessBoard, AHintIsSaidOnTheStatusLineAndSoIsNoHint)
{
    // Red 12 beside the mixed cake, red 11 far away, red's plate at 10: with a jump left the
    // solution starts with the mixed cake onto red 12; without one there is none.
    struct Case {
        int tongue, jumps;
        const char* status;
    };
    const Case cases[] = {
        {0, 1, "hint: mixed cake at row 1, column 1 onto red cake, 12 slices at row 1, column 2"},
        {1, 1, "Tipp: gemischte Torte in Reihe 1, Spalte 1 auf rote Torte, 12 Stücke in Reihe 1, Spalte 2"},
        {0, 0, "This tableau can no longer be solved from here."},
        {1, 0, "Von hier aus ist diese Auslage nicht mehr lösbar."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        M().Settings().Tongue = c.tongue;
        Prepare(M(), {{0, 0, kMixedCake, 1}, {1, 0, 1, 12}, {5, 5, 1, 11}}, {0, 10, 12, 12, 12}, {}, c.jumps);
        QString whileAsked;
        if (c.jumps == 0)
            script.Expect("YesNoDlg", [&](QWidget* dlg) {
                whileAsked = Status();
                Click("YesBtn")(dlg);
            });
        QTest::keyClick(&M(), Qt::Key_H);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !M().HintSearching(); }, 5000));
        QTest::qWait(20);  // the answer comes on the window's thread
        EXPECT_EQ(Status(), QString::fromUtf8(c.status));
        if (c.jumps == 0) {
            EXPECT_EQ(whileAsked, QString::fromUtf8(c.status)) << "said while the message shows";
        }
    }
    // The next lift replaces it.
    QTest::mousePress(M().Box(), Qt::LeftButton, {}, testing::CellPoint(M(), 1, 0));
    EXPECT_EQ(Status(), "aufgehoben: rote Torte, 12 Stücke");
    QTest::mouseRelease(M().Box(), Qt::LeftButton, {}, testing::CellPoint(M(), 1, 0));
}

TEST_F(AccessBoard, KeyLSwitchesTheCakeLabelsAndBackExactly)
{
    M().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &M(); }));
    const QImage plain = M().BoardBitmap().copy();
    QTest::keyClick(&M(), Qt::Key_L);
    EXPECT_TRUE(M().Settings().CakeLabels);
    EXPECT_NE(M().BoardBitmap(), plain) << "the labels are drawn";
    QTest::keyClick(&M(), Qt::Key_L);
    EXPECT_FALSE(M().Settings().CakeLabels);
    EXPECT_EQ(M().BoardBitmap(), plain) << "without them the board is as before";
}

} // namespace
} // namespace torvella
