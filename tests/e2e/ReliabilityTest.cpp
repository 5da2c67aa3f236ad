// The game keeps running and loses nothing when its surroundings are broken: a settings
// folder that cannot be written, a settings file or a placement full of garbage, no music,
// no audio device, no help file.
#include "common/ScopedEnv.h"
#include "ui/test_mainform_support.h"

#include "common/FreshConfig.h"
#include "common/SmallDisk.h"
#include "help/HelpWindow.h"
#include "help/hh.h"
#include "help/hh_funcs.h"
#include "settings/IniCtrl.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace torvella {
namespace {

using testing::Click;
using testing::Drag;
using testing::Key;
using testing::Prepare;

const QString kCommon = QStringLiteral("common");

std::string Join(const QStringList& list) { return list.join(QStringLiteral(" | ")).toStdString(); }

using torvella::testing::ScopedEnv;

class Reliability : public ::testing::Test {
protected:
    testing::FreshConfig cfg;
    testing::ErrorRecorder recorder;
    testing::DialogScript script;

    void WriteStore(const QByteArray& bytes)
    {
        std::filesystem::create_directories(cfg.storeFile().parent_path());
        std::ofstream(cfg.storeFile(), std::ios::binary).write(bytes.constData(), bytes.size());
    }
    QByteArray StoreBytes() const
    {
        QFile f(QString::fromStdString(cfg.storeFile().string()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Every value that could be read in `old` reads the same now, but for those the
    // close writes (the four settings and the placement).
    void ExpectReadableValuesKept(const QByteArray& old)
    {
        const settings::IniFile now = settings::IniFile::Parse(StoreBytes());
        const QStringList written{"tongue", "sound", "music", "backmode", "MainForm"};
        for (const auto& section : settings::IniFile::Parse(old).Contents()) {
            for (const auto& [name, text] : section.values) {
                if (!section.section || section.section->compare(kCommon, Qt::CaseInsensitive) != 0 ||
                    !written.contains(name, Qt::CaseInsensitive)) {
                    const settings::IniFile::Value v = now.Get(section.section, name);
                    EXPECT_EQ(v.state, text ? settings::IniFile::State::Text : settings::IniFile::State::NotText) << name.toStdString();
                    EXPECT_EQ(v.text, text.value_or(QString())) << name.toStdString();
                }
            }
        }
    }
    void TearDown() override
    {
        EXPECT_TRUE(script.Unexpected().isEmpty()) << "dialogs nobody expected: " << Join(script.Unexpected());
        EXPECT_EQ(script.Pending(), 0) << "expected dialogs that never came";
    }
};

TEST_F(Reliability, UnwritableSettingsFolderStillClosesWithOneClearMessage)
{
    // A regular file where the settings folder should be: no store can be made below it,
    // whoever runs the test.
    std::ofstream(cfg.dir() / "Quorlix") << "not a folder";
    script.Expect("TongueDlg", Click("EnglishBtn"));
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        EXPECT_TRUE(recorder.errors.isEmpty()) << "reading gives the defaults: " << Join(recorder.errors);
        EXPECT_EQ(m.Settings().Tongue, 0);

        // The game itself is not affected.
        Prepare(m, {{0, 0, 2, 5}, {1, 0, 1, 3}, {2, 0, 3, 2}});
        Drag(m, 0, 0, 1, 0);
        EXPECT_EQ(m.GameState().Phase(), GamePhase::Playing);

        script.Expect("YesNoDlg", Click("YesBtn"));
        m.close();
        EXPECT_FALSE(m.isVisible()) << "a store that cannot be written must not keep the game open";
        EXPECT_EQ(m.GameState().Phase(), GamePhase::Ended);
    }
    // The close and the placement saved at destruction fail alike: the player hears of it once.
    ASSERT_EQ(recorder.errors.size(), 1) << Join(recorder.errors);
    EXPECT_TRUE(recorder.errors[0].startsWith("The settings could not be saved")) << Join(recorder.errors);
}

TEST_F(Reliability, SettingsFileWithGarbageGivesDefaults)
{
    // Values that are no numbers read as their defaults; the file is still a settings
    // file, so the close writes the new values into it.
    WriteStore("[common]\ntongue=\x01\x02\nsound=loud\nmusic=\nbackmode=seven\n====\n[[]]\n");
    script.Expect("TongueDlg", Click("GermanBtn"));
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        EXPECT_TRUE(m.Settings().SoundOn);
        EXPECT_TRUE(m.Settings().MusicOn);
        EXPECT_EQ(m.Settings().BackMode, 0);
        EXPECT_EQ(m.Settings().Tongue, 1);
        m.Settings().BackMode = 3;
        script.Expect("YesNoDlg", Click("YesBtn"));
        m.close();
        EXPECT_FALSE(m.isVisible());
    }
    EXPECT_TRUE(recorder.errors.isEmpty()) << Join(recorder.errors);
    settings::IniCtrl ini;
    EXPECT_EQ(ini.ReadInteger(kCommon, QStringLiteral("tongue"), -5), 1);
    EXPECT_EQ(ini.ReadInteger(kCommon, QStringLiteral("backmode"), -5), 3);
    EXPECT_EQ(ini.ReadString(kCommon, QStringLiteral("sound"), QString()), "1");
}

TEST_F(Reliability, SettingsFileOfBinaryGarbageIsReadAsFarAsItGoesAndToldOnce)
{
    // Not a settings file at all: what can be read of it is read (and kept through the
    // close), the player is told so in one sentence, and the close keeps the file beside
    // the store before it writes the settings.
    QByteArray garbage("\xff\xfe\x00[common\ntongue=1\n", 19);
    for (int i = 0; i < 256; ++i)
        garbage.append(char((i * 37) & 0xFF));
    WriteStore(garbage);
    script.Expect("TongueDlg", Click("EnglishBtn"));
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        EXPECT_TRUE(m.Settings().SoundOn);
        EXPECT_EQ(m.Settings().BackMode, 0);
        EXPECT_EQ(m.Settings().Tongue, 0);
        script.Expect("YesNoDlg", Click("YesBtn"));
        m.close();
        EXPECT_FALSE(m.isVisible());
    }
    ASSERT_EQ(recorder.errors.size(), 1) << Join(recorder.errors);
    EXPECT_EQ(recorder.errors[0], "The settings file " + settings::IniCtrl::DefaultFilePath() +
                                      " is not a text file; the game takes what it can read of it and keeps the file as "
                                      "V1.ini.unreadable when it next saves the settings.");
    ExpectReadableValuesKept(garbage);
    QFile kept(settings::IniCtrl::UnreadableCopyPath(settings::IniCtrl::DefaultFilePath()));
    ASSERT_TRUE(kept.open(QFile::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);
    EXPECT_EQ(settings::IniCtrl().ReadInteger(kCommon, QStringLiteral("tongue"), -5), 0);
}

TEST_F(Reliability, HandEditedStoresStartSayOnceWhatTheyCannotReadAndKeepTheRest)
{
    struct Case {
        const char* what;
        QByteArray store;
        const char* told; // the start of the one message, or nullptr for none
    };
    const Case cases[] = {
        {"unquoted comma", "[common]\ntongue=0\nplayer=Smith, John\nhs0=x, y\n", nullptr},
        {"comment line", "# my note\n[common]\ntongue=0\n; more\nplayer=Ann\n", nullptr},
        {"line without =", "[common]\ntongue=0\nremember the milk\nplayer=Ann\n", "Not everything in the settings file"},
        {"missing ]", "[common\ntongue=0\nplayer=Ann\n", nullptr},
        {"name ending in /", "[common]\nfoo/=1\ntongue=0\n", nullptr},
        {"typed values", "[common]\ntongue=0\nsound=@Size(1 2)\nplayer=@Rect(1 2 3 4)\n", "Not everything in the settings file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.errors.clear();
        std::filesystem::remove(cfg.storeFile());
        WriteStore(c.store);
        {
            testing::ProgramWindows run;
            ui::MainForm& m = run.Main();
            EXPECT_TRUE(m.isVisible());
            EXPECT_EQ(m.Settings().Tongue, 0);
            // the list, which reads "player" and the entries, opens too
            script.Expect("HighscoreDlg", [](QWidget* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); });
            m.HighScoreBtnClick();
            script.Expect("YesNoDlg", Click("YesBtn"));
            m.close();
            EXPECT_FALSE(m.isVisible());
        }
        if (c.told) {
            ASSERT_EQ(recorder.errors.size(), 1) << Join(recorder.errors);
            EXPECT_TRUE(recorder.errors[0].startsWith(c.told)) << Join(recorder.errors);
        } else {
            EXPECT_TRUE(recorder.errors.isEmpty()) << Join(recorder.errors);
        }
        ExpectReadableValuesKept(c.store);
    }
}

TEST_F(Reliability, ManyUnreadableLinesAreNamedAFewInThePlayersLanguage)
{
    // The message box must fit a 768-pixel screen: the first lines, then how many more.
    QByteArray store = "[common]\ntongue=1\n";
    for (int i = 0; i < 40; ++i)
        store += "scribble number " + QByteArray::number(i) + "\n";
    WriteStore(store);
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        script.Expect("YesNoDlg", Click("YesBtn"));
        m.close();
    }
    ASSERT_EQ(recorder.errors.size(), 1) << Join(recorder.errors);
    const QString& told = recorder.errors[0];
    EXPECT_TRUE(told.startsWith(QString::fromUtf8("Nicht alles in der Einstellungsdatei ist lesbar"))) << told.toStdString();
    EXPECT_EQ(told.count(QStringLiteral("Zeile ")), 5) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("Dazu 35 weitere Zeilen."))) << told.toStdString();
    EXPECT_TRUE(told.endsWith(QString::fromUtf8("als V1.ini.unreadable aufbewahrt."))) << told.toStdString();
    EXPECT_LE(told.count(QLatin1Char('\n')), 12);
    QFile kept(settings::IniCtrl::UnreadableCopyPath(settings::IniCtrl::DefaultFilePath()));
    ASSERT_TRUE(kept.open(QFile::ReadOnly));
    EXPECT_EQ(kept.readAll(), store);
}

TEST_F(Reliability, FullDiskAtCloseIsToldOnceAndKeepsTheStoreAsItWas)
{
    testing::SmallDisk disk(cfg.dir() / "Quorlix", 8);
    if (!disk.Available())
        GTEST_SKIP() << disk.WhyNot();
    WriteStore("[common]\ntongue=0\nsound=1\nplayer=Ann\npad=" + QByteArray(6000, 'p') + "\n");
    const QByteArray before = StoreBytes();
    {
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        m.Settings().SoundOn = false;
        disk.Leave(1); // room for the lock file, not for a new store
        script.Expect("YesNoDlg", Click("YesBtn"));
        m.close();
        EXPECT_FALSE(m.isVisible());
    }
    ASSERT_EQ(recorder.errors.size(), 1) << Join(recorder.errors);
    EXPECT_TRUE(recorder.errors[0].startsWith("The settings could not be saved")) << Join(recorder.errors);
    EXPECT_TRUE(recorder.errors[0].contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))) << Join(recorder.errors);
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(Reliability, GarbagePlacementCentresTheWindow)
{
    settings::IniCtrl ini;
    ini.WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const char* stored : {"garbage", "200,0,1,ten,20,770,520", "199,0,1,10,20,770,520", "200,0,1,10,20,770",
                               ",,,,,,"}) {
        SCOPED_TRACE(stored);
        ini.WriteString(kCommon, QStringLiteral("MainForm"), QString::fromLatin1(stored));
        testing::ProgramWindows run;
        ui::MainForm& m = run.Main();
        const QRect frame = m.frameGeometry();
        const int dw = frame.width() - m.width(), dh = frame.height() - m.height();
        // Centred with its designed size, then widened to the minimum to the right.
        EXPECT_EQ(frame.left(), screen.left() + (screen.width() - (ui::MainForm::kInitialClientWidth + dw)) / 2);
        EXPECT_EQ(frame.top(), screen.top() + (screen.height() - (ui::MainForm::kInitialClientHeight + dh)) / 2);
        EXPECT_EQ(frame.size(), QSize(ui::MainForm::kMinOuterWidth, ui::MainForm::kMinOuterHeight));
    }
    // A valid value, for contrast, is applied.
    ini.WriteString(kCommon, QStringLiteral("MainForm"), QStringLiteral("200,0,1,10,20,770,520"));
    testing::ProgramWindows run;
    EXPECT_EQ(run.Main().frameGeometry(), QRect(10, 20, 760, 500));
    EXPECT_TRUE(recorder.errors.isEmpty()) << Join(recorder.errors);
}

TEST_F(Reliability, NoMusicFilesMeansNoMusicAndNoComplaint)
{
    settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();
    ASSERT_TRUE(QDir(m.ProgramFolder()).entryList({QStringLiteral("*.mid")}, QDir::Files).isEmpty())
        << "this test needs a program folder without music files";
    EXPECT_FALSE(m.Settings().MusicAvailable);
    EXPECT_TRUE(m.Settings().MusicOn) << "the stored switch is kept";
    m.KeepMusicPlaying();  // what every sixteenth tick does

    QString label;
    bool musicButtonEnabled = true;
    script.Expect("OptionDlg", [&](QWidget* dlg) {
        label = dlg->findChild<QLabel*>(QStringLiteral("MusicLabel"))
                    ? dlg->findChild<QLabel*>(QStringLiteral("MusicLabel"))->text()
                    : QString();
        musicButtonEnabled = dlg->findChild<QWidget*>(QStringLiteral("MusicBtn"))->isEnabled();
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    QTest::mouseClick(m.OptionBtn(), Qt::LeftButton);
    EXPECT_FALSE(musicButtonEnabled);
    EXPECT_EQ(label, "No music files available.");
    EXPECT_TRUE(recorder.errors.isEmpty()) << Join(recorder.errors);
}

TEST_F(Reliability, NoAudioDeviceGameGoesOnSilently)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    testing::ProgramWindows run;
    ui::MainForm& m = run.Main();
    ASSERT_TRUE(m.Settings().SoundOn);

    // A hold (sound 2), a refusal (sound 6): both go ahead without a sound.
    Prepare(m, {{0, 0, 2, 5}, {1, 0, 1, 3}, {2, 0, 3, 2}, {0, 1, 3, 7}});
    Drag(m, 0, 0, 1, 0);
    Drag(m, 1, 0, 1, 1);
    const Tableau& t = GameProbe::Board(m.GameState());
    EXPECT_EQ(t.HoldSlices[1], 3);
    EXPECT_EQ(t.Colour(1, 0), 2);
    EXPECT_EQ(m.GameState().Phase(), GamePhase::Playing);
    EXPECT_FALSE(m.Waves()->Load());
    EXPECT_EQ(m.Waves()->Chunk(2), nullptr);
    EXPECT_TRUE(recorder.errors.isEmpty()) << Join(recorder.errors);

    script.Expect("YesNoDlg", Click("YesBtn"));
    m.close();
    EXPECT_FALSE(m.isVisible());
}

TEST_F(Reliability, MissingHelpFileShowsAnExplanationInTheHelpWindow)
{
    settings::IniCtrl().WriteInteger(kCommon, QStringLiteral("tongue"), 0);
    help::HelpRuntime runtime(QCoreApplication::applicationFilePath(), QCoreApplication::arguments());
    testing::ProgramWindows run(&runtime);
    ui::MainForm& m = run.Main();
    ASSERT_FALSE(QFile::exists(m.ProgramFolder() + QStringLiteral("pomq.qch")))
        << "this test needs a program folder without the help file";
    ASSERT_NE(runtime.Viewer(), nullptr) << "module initialisation loads the viewer";

    QTest::mouseClick(m.RulesBtn(), Qt::LeftButton);
    const QList<QWidget*> windows = runtime.Viewer()->HelpWindows();
    ASSERT_EQ(windows.size(), 1);
    auto* help = dynamic_cast<help::HelpWindow*>(windows.back());
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->Browser()->toPlainText().contains("was not found")) << help->Browser()->toPlainText().toStdString();
    EXPECT_TRUE(recorder.errors.isEmpty()) << Join(recorder.errors);

    // The game is still there to be played.
    Prepare(m, {{0, 0, 2, 5}, {1, 0, 1, 3}, {2, 0, 3, 2}});
    Drag(m, 0, 0, 1, 0);
    EXPECT_EQ(m.GameState().Position().HoldSlices[1], 3);
}

} // namespace
} // namespace torvella
