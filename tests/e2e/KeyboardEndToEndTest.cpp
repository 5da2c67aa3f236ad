// A whole game by keyboard alone, on the tableau the mouse's end-to-end game solves: the
// cursor, Space and Enter on the board, the keys of the dialogs, the list by Ctrl+H and
// the close by Ctrl+Q.
#include "ui/test_mainform_support.h"

#include "common/FreshConfig.h"
#include "settings/Chiffre.h"
#include "settings/IniCtrl.h"

#include <gtest/gtest.h>

namespace torvella {
namespace {

using testing::Join;
using testing::Prepare;

const QString kCommon = QStringLiteral("common");

// Types a name over the entry row of the high-score list and confirms it with Return.
testing::DialogScript::Action TypeName(const QString& name)
{
    return [name](QWidget* dlg) {
        // The name field has the keyboard once the dialog is active.
        QWidget* edit = dlg->findChild<QWidget*>(QStringLiteral("Edit1"));
        if (!edit || !edit->isVisible() || !QTest::qWaitFor([edit] { return edit->hasFocus(); })) {
            qobject_cast<QDialog*>(dlg)->reject();
            return;
        }
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        if (dlg->isVisible())
            qobject_cast<QDialog*>(dlg)->reject();  // Return did not confirm: the test sees it
    };
}

TEST(KeyboardEndToEnd, SolvedGameByKeysAloneWithItsEntryInTheList)
{
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;
    settings::IniCtrl ini;
    ini.WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        const auto activate = [&m] {
            // A closed dialog gives the activation back to the main window on a desktop;
            // the headless platform leaves that to the test.
            m.activateWindow();
            return QTest::qWaitFor([&m] { return QApplication::activeWindow() == &m; });
        };
        ASSERT_TRUE(activate());
        const auto keys = [&m](std::initializer_list<Qt::Key> list) {
            for (Qt::Key k : list)
                QTest::keyClick(&m, k);
        };

        // Yellow 12 waits in the hold place, then yellow 11 goes onto the plate and 12
        // follows; the other three colours are complete.
        Prepare(m, {{0, 0, kMixedCake, 1}, {1, 0, 4, 12}, {2, 0, 4, 11}}, {0, 12, 12, 12, 10});
        const Tableau& t = m.GameState().Position();
        // The cursor comes up on the centre cell and walks to the mixed cake in the corner.
        keys({Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left});
        ASSERT_EQ(m.Cursor().Col(), 0);
        ASSERT_EQ(m.Cursor().Row(), 0);
        keys({Qt::Key_Space, Qt::Key_Right, Qt::Key_Space});
        EXPECT_EQ(t.HoldSlices[4], 12);
        EXPECT_EQ(t.Colour(1, 0), kMixedCake);

        script.Expect("YesNoDlg", testing::Key(Qt::Key_Return));
        script.Expect("HighscoreDlg", TypeName(QStringLiteral("Alice")));
        keys({Qt::Key_Space, Qt::Key_Right, Qt::Key_Return});
        EXPECT_EQ(m.GameState().Phase(), GamePhase::Solved);
        EXPECT_EQ(t.PlateSlices[4], 12);
        EXPECT_EQ(t.Score, 45 + 35 + 135 + 220);
        ASSERT_EQ(script.Seen().size(), 2u);
        EXPECT_EQ(script.Seen()[0].kind, ToInt(MessageKind::Solved));
        EXPECT_EQ(script.Seen()[0].text, "Hurrah, you did it!");
        EXPECT_EQ(script.Seen()[1].name, "HighscoreDlg");
        settings::TChiffre scrambler;
        scrambler.Init(QString(), 0);
        EXPECT_EQ(scrambler.Decrypt(ini.ReadString(kCommon, QStringLiteral("hs0"), QString())),
                  QStringLiteral("%1,Alice").arg(t.Score));

        // The list by Ctrl+H shows the entry; Escape closes it.
        QString first;
        script.Expect("HighscoreDlg", [&](QWidget* dlg) {
            if (auto* label = dlg->findChild<QLabel*>(QStringLiteral("pla0")))
                first = label->text();
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        ASSERT_TRUE(activate());
        QTest::keyClick(&m, Qt::Key_H, Qt::ControlModifier);
        EXPECT_EQ(first, "Alice");

        // Ctrl+Q asks the plain quit question (the game is over); Y answers it.
        script.Expect("YesNoDlg", testing::Key(Qt::Key_Y));
        ASSERT_TRUE(activate());
        QTest::keyClick(&m, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_FALSE(m.isVisible());
        ASSERT_EQ(script.Seen().size(), 4u);
        EXPECT_EQ(script.Seen()[3].kind, ToInt(MessageKind::Quit));
    }
    EXPECT_TRUE(script.Unexpected().isEmpty()) << "dialogs nobody expected: " << Join(script.Unexpected());
    EXPECT_EQ(script.Pending(), 0) << "expected dialogs that never came";
    EXPECT_TRUE(recorder.errors.isEmpty()) << "errors reported: " << Join(recorder.errors);
}

} // namespace
} // namespace torvella
