// Whole runs of the program in one settings store: the first start with its language
// question, a game solved by mouse with its entry in the list, the close, and a second
// start that finds everything as the player left it. And a game that ends in a dead end.
#include "ui/test_mainform_support.h"

#include "assets/Pictures.h"
#include "common/FreshConfig.h"
#include "settings/Chiffre.h"
#include "settings/IniCtrl.h"
#include "ui/HighscoreDlg.h"

#include <QFile>
#include <gtest/gtest.h>

namespace torvella {
namespace {

using testing::Click;
using testing::Drag;
using testing::EnterName;
using testing::Prepare;

const QString kCommon = QStringLiteral("common");

std::string Join(const QStringList& list) { return list.join(QStringLiteral(" | ")).toStdString(); }

QString Label(QWidget* dlg, const char* name)
{
    auto* label = dlg->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("(missing)");
}

QByteArray StoreBytes(const testing::FreshConfig& cfg)
{
    QFile f(QString::fromStdString(cfg.storeFile().string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

settings::TChiffre Scrambler()
{
    settings::TChiffre c;
    c.Init(QString(), 0);
    return c;
}

class EndToEnd : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;

    void TearDown() override
    {
        EXPECT_TRUE(script.Unexpected().isEmpty()) << "dialogs nobody expected: " << Join(script.Unexpected());
        EXPECT_EQ(script.Pending(), 0) << "expected dialogs that never came";
        EXPECT_TRUE(recorder.errors.isEmpty()) << "errors reported: " << Join(recorder.errors);
    }
};

TEST_F(EndToEnd, FirstStartSolvedGameAndSecondStartInTheSameStore)
{
    QRect placement;
    int32_t finalScore = 0;
    {
        // First start, empty store: the language question comes with the first show.
        script.Expect("TongueDlg", Click("GermanBtn"));
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        ASSERT_EQ(script.Seen().size(), 1u);
        EXPECT_EQ(m.windowTitle(), "Torvella V1.1");
        EXPECT_EQ(m.Settings().Tongue, 1);
        EXPECT_EQ(m.Btn(Button::Start)->toolTip(), QString::fromUtf8("Ich möchte eine neue Auslage."));
        EXPECT_EQ(m.ExitBtn()->toolTip(), "Ich hab genug!");
        EXPECT_EQ(m.ScoreLabel()->text(), "Punkte:");

        // Options: the background two designs on, sound effects off.
        script.Expect("OptionDlg", [](QWidget* dlg) {
            for (const char* name : {"BackBtn", "BackBtn", "SoundBtn", "OKBtn"})
                QTest::mouseClick(dlg->findChild<QAbstractButton*>(QString::fromLatin1(name)), Qt::LeftButton);
        });
        QTest::mouseClick(m.OptionBtn(), Qt::LeftButton);
        EXPECT_EQ(m.Settings().BackMode, 2);
        EXPECT_FALSE(m.Settings().SoundOn);

        // The player puts the window somewhere else.
        m.move(30, 40);
        m.resize(760, 500);
        QTest::qWait(20);
        placement = m.frameGeometry();

        // Two drags from solved: yellow 12 waits in the hold place, then yellow 11 goes
        // onto the plate and 12 follows; the other three colours are complete.
        Prepare(m, {{0, 0, kMixedCake, 1}, {1, 0, 4, 12}, {2, 0, 4, 11}}, {0, 12, 12, 12, 10});
        Tableau& t = GameProbe::Board(m.GameState());
        Drag(m, 0, 0, 1, 0);
        EXPECT_EQ(t.HoldSlices[4], 12);
        script.Expect("YesNoDlg", Click("YesBtn"));
        script.Expect("HighscoreDlg", EnterName(QStringLiteral("Alice")));
        Drag(m, 1, 0, 2, 0);
        EXPECT_EQ(m.GameState().Phase(), GamePhase::Solved);
        EXPECT_EQ(t.PlateSlices[4], 12);
        EXPECT_EQ(t.Score, 45 + 35 + 135 + 220);
        finalScore = t.Score;
        ASSERT_EQ(script.Seen().size(), 4u);
        EXPECT_EQ(script.Seen()[2].kind, ToInt(MessageKind::Solved));
        EXPECT_EQ(script.Seen()[2].text, "Hurra, geschafft!");
        EXPECT_FALSE(script.Seen()[2].noButton);
        EXPECT_EQ(script.Seen()[3].name, "HighscoreDlg");

        // Close: the game is over, so the plain quit question.
        script.Expect("YesNoDlg", Click("YesBtn"));
        QTest::mouseClick(m.ExitBtn(), Qt::LeftButton);
        EXPECT_FALSE(m.isVisible());
        ASSERT_EQ(script.Seen().size(), 5u);
        EXPECT_EQ(script.Seen()[4].kind, ToInt(MessageKind::Quit));
        EXPECT_EQ(script.Seen()[4].text, QString::fromUtf8("Willst Du wirklich schon aufhören?"));
        EXPECT_EQ(m.GameState().Phase(), GamePhase::Solved);
    }

    // The store: the entry scrambled, the placement of the normal frame rectangle.
    settings::IniCtrl ini;
    const QString plain = QStringLiteral("%1,Alice").arg(finalScore);
    const QString stored = ini.ReadString(kCommon, QStringLiteral("hs0"), QString());
    EXPECT_EQ(stored, Scrambler().Encrypt(plain));
    EXPECT_NE(stored, plain);
    EXPECT_EQ(Scrambler().Decrypt(stored), plain);
    EXPECT_FALSE(StoreBytes(cfg).contains(plain.toUtf8())) << "the entry must not be readable in the store";
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("player"), QString()), "Alice");
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("MainForm"), QString()),
              QStringLiteral("200,0,1,%1,%2,%3,%4")
                  .arg(placement.left())
                  .arg(placement.top())
                  .arg(placement.left() + placement.width())
                  .arg(placement.top() + placement.height()));

    {
        // Second start: no question, everything as the player left it.
        const size_t seenBefore = script.Seen().size();
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        EXPECT_EQ(script.Seen().size(), seenBefore) << "no language question at the second start";
        EXPECT_EQ(m.frameGeometry(), placement);
        EXPECT_EQ(m.Settings().Tongue, 1);
        EXPECT_EQ(m.Settings().BackMode, 2);
        EXPECT_FALSE(m.Settings().SoundOn);
        EXPECT_TRUE(m.Settings().MusicOn);
        EXPECT_EQ(m.Btn(Button::Pause)->toolTip(), "Ich brauch eine kurze Pause.");
        EXPECT_EQ(m.ScoreLabel()->text(), "Punkte:");
        // The board area outside the board shows the bright tile of design 2.
        const QImage sheet = assets::Bmps(assets::BmpsSheet).convertToFormat(QImage::Format_RGB32);
        const int th = sheet.height() / 7;
        EXPECT_EQ(m.BoardBitmap().pixel(15, 15), sheet.pixel(15, 2 * th + 15));

        // The list holds the entry.
        QString name0, score0;
        script.Expect("HighscoreDlg", [&](QWidget* dlg) {
            name0 = Label(dlg, "pla0");
            score0 = Label(dlg, "sco0");
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        QTest::mouseClick(m.Btn(Button::HighScore), Qt::LeftButton);
        EXPECT_EQ(name0, "Alice");
        EXPECT_EQ(score0, QString::number(finalScore));

        script.Expect("YesNoDlg", testing::Key(Qt::Key_J));
        m.close();
        EXPECT_FALSE(m.isVisible());
    }
}

TEST_F(EndToEnd, DeadEndByMouseWithItsMessageAndTheList)
{
    settings::IniCtrl ini;
    ini.WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    ini.WriteString(kCommon, QStringLiteral("hs0"), Scrambler().Encrypt(QStringLiteral("100,Carol")));
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();

    // Green 5 serves red 1 and is then left alone.
    Prepare(m, {{0, 0, 2, 5}, {1, 0, 1, 1}});
    int editRowTop = -1;
    script.Expect("YesNoDlg", Click("YesBtn"));
    script.Expect("HighscoreDlg", [&](QWidget* dlg) {
        editRowTop = dlg->findChild<QWidget*>(QStringLiteral("Edit1"))->y();
        EnterName(QStringLiteral("Bob"))(dlg);
    });
    Drag(m, 0, 0, 1, 0);
    const Tableau& t = GameProbe::Board(m.GameState());
    EXPECT_EQ(m.GameState().Phase(), GamePhase::Ended);
    EXPECT_EQ(t.Score, 45);
    ASSERT_EQ(script.Seen().size(), 2u);
    EXPECT_EQ(script.Seen()[0].kind, ToInt(MessageKind::Text));
    EXPECT_EQ(script.Seen()[0].text, "Sorry, but that wasn't as it should be.");
    EXPECT_FALSE(script.Seen()[0].noButton);
    EXPECT_EQ(editRowTop, 21 * 1 + 10) << "45 ranks below Carol's 100, in the second row";

    EXPECT_EQ(Scrambler().Decrypt(ini.ReadString(kCommon, QStringLiteral("hs0"), QString())), "100,Carol");
    EXPECT_EQ(Scrambler().Decrypt(ini.ReadString(kCommon, QStringLiteral("hs1"), QString())), "45,Bob");
    EXPECT_EQ(Scrambler().Decrypt(ini.ReadString(kCommon, QStringLiteral("hs2"), QString())), "0,Mr. Brain");

    // Looking at the list afterwards shows both rows.
    QStringList rows;
    script.Expect("HighscoreDlg", [&](QWidget* dlg) {
        for (int i = 0; i < 3; ++i)
            rows << Label(dlg, ("pla" + std::to_string(i)).c_str()) + QLatin1Char(' ') +
                        Label(dlg, ("sco" + std::to_string(i)).c_str());
        QTest::mouseClick(dlg->findChild<QAbstractButton*>(QStringLiteral("OkBtn")), Qt::LeftButton);
    });
    QTest::mouseClick(m.Btn(Button::HighScore), Qt::LeftButton);
    EXPECT_EQ(rows, QStringList({"Carol 100", "Bob 45", "Mr. Brain 0"}));
}

} // namespace
} // namespace torvella
