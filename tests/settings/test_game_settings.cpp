// The settings model: what a load makes of each stored text, the switches stored in
// one write (and nothing when that write fails), and the rules of the options' changes.
#include "settings/GameSettings.h"

#include "common/FreshConfig.h"
#include "settings/IniCtrl.h"

#include <QFile>
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace torvella::settings {
namespace {

class SettingsModel : public ::testing::Test {
protected:
    void WriteStore(const QByteArray& bytes)
    {
        std::filesystem::create_directories(cfg.storeFile().parent_path());
        QFile f(Path());
        ASSERT_TRUE(f.open(QFile::WriteOnly | QFile::Truncate));
        f.write(bytes);
    }
    QByteArray StoreBytes() const
    {
        QFile f(Path());
        return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString Path() const { return QString::fromStdString(cfg.storeFile().string()); }

    torvella::testing::FreshConfig cfg;
    IniCtrl ini;
};

TEST_F(SettingsModel, LoadTakesEachReadableValueAndTheDefaultForTheRest)
{
    struct Case {
        const char* store;
        int tongue;
        bool sound, music;
        int backMode;
        const char* player;
        bool labels = false;
    };
    const Case cases[] = {
        {"", -1, true, true, 0, "Mr.Brain"},
        {"[common]\ntongue=1\nsound=0\nmusic=0\nbackmode=4\nplayer=Ann\n", 1, false, false, 4, "Ann"},
        // any non-zero number is on; a word or an empty text is the default
        {"[common]\nsound=7\nmusic=yes\n", -1, true, true, 0, "Mr.Brain"},
        {"[common]\nsound=\nmusic=-1\n", -1, true, true, 0, "Mr.Brain"},
        // numbers are taken as they stand, letters give the default
        {"[common]\nbackmode=12\ntongue=x\n", -1, true, true, 12, "Mr.Brain"},
        {"[common]\nplayer=Smith, John\n", -1, true, true, 0, "Smith, John"},
        // a value stored with a type is no text: its default, the rest still loads
        {"[common]\nsound=@Rect(1 2 3 4)\nbackmode=2\n", -1, true, true, 2, "Mr.Brain"},
        // names compare without regard to case
        {"[Common]\nTONGUE=0\n", 0, true, true, 0, "Mr.Brain"},
        // the cakes' labels: off unless stored on
        {"[common]\ncakelabels=1\nbackmode=3\n", -1, true, true, 3, "Mr.Brain", true},
        {"[common]\ncakelabels=on\n", -1, true, true, 0, "Mr.Brain", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.store);
        WriteStore(c.store);
        GameSettings s;
        s.MusicAvailable = true;
        s.Load(ini);
        EXPECT_EQ(s.Tongue, c.tongue);
        EXPECT_EQ(s.SoundOn, c.sound);
        EXPECT_EQ(s.MusicOn, c.music);
        EXPECT_EQ(s.BackMode, c.backMode);
        EXPECT_EQ(s.Player, QString::fromUtf8(c.player));
        EXPECT_EQ(s.CakeLabels, c.labels);
        EXPECT_TRUE(s.MusicAvailable) << "not stored, so a load leaves it";
    }
}

TEST_F(SettingsModel, SaveStoresTheSwitchesAndLeavesTheNameToTheList)
{
    WriteStore("[common]\nplayer=Ann\nhs0=kept\n");
    GameSettings s;
    s.Tongue = -1;  // never chosen: stored as it is
    s.SoundOn = false;
    s.MusicOn = true;
    s.BackMode = 12;
    s.Player = QStringLiteral("Bob");
    s.CakeLabels = true;
    s.Save(ini);

    GameSettings back;
    back.Load(ini);
    EXPECT_EQ(back.Tongue, -1);
    EXPECT_FALSE(back.SoundOn);
    EXPECT_TRUE(back.MusicOn);
    EXPECT_EQ(back.BackMode, 12);
    EXPECT_EQ(back.Player, QStringLiteral("Ann"));
    EXPECT_TRUE(back.CakeLabels);
    // A key of its own beside the old ones, which keep their names and texts.
    EXPECT_EQ(ini.ReadString(QStringLiteral("common"), QStringLiteral("cakelabels"), QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("common"), QStringLiteral("sound"), QString()), QStringLiteral("0"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("common"), QStringLiteral("hs0"), QString()), QStringLiteral("kept"));
}

TEST_F(SettingsModel, FailedSaveStoresNothing)
{
    WriteStore("[common]\nsound=1\ntongue=1\n");
    const QByteArray before = StoreBytes();
    // The lock file cannot be made where a folder of its name stands.
    std::filesystem::create_directories(cfg.storeFile().string() + ".lock/inside");
    GameSettings s;
    s.SoundOn = false;
    s.Tongue = 0;
    EXPECT_THROW(s.Save(ini), StoreError);
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(SettingsModel, ReloadTongueReadsOnlyTheLanguage)
{
    GameSettings s;
    s.SoundOn = false;
    WriteStore("[common]\ntongue=1\nsound=1\n");
    s.ReloadTongue(ini);
    EXPECT_EQ(s.Tongue, 1);
    EXPECT_FALSE(s.SoundOn);
}

TEST(SettingsChanges, LanguageSwapsAndBackgroundAlwaysLandsOnAPicture)
{
    struct Case {
        const char* what;
        void (GameSettings::*change)();
        int GameSettings::*value;
        int from, to;
    };
    const auto language = &GameSettings::NextLanguage;
    const auto background = &GameSettings::NextBackground;
    const Case cases[] = {
        {"language: not chosen yet becomes English", language, &GameSettings::Tongue, -1, 0},
        {"language: English to German", language, &GameSettings::Tongue, 0, 1},
        {"language: German to English", language, &GameSettings::Tongue, 1, 0},
        {"language: hand-edited -2", language, &GameSettings::Tongue, -2, -1},
        {"language: hand-edited 5", language, &GameSettings::Tongue, 5, 0},
        {"language: largest number", language, &GameSettings::Tongue, INT_MAX, 0},
        {"language: smallest number", language, &GameSettings::Tongue, INT_MIN, -1},
        {"background: next", background, &GameSettings::BackMode, 0, 1},
        {"background: to the last", background, &GameSettings::BackMode, 5, 6},
        {"background: round again", background, &GameSettings::BackMode, 6, 0},
        {"background: hand-edited 12", background, &GameSettings::BackMode, 12, 6},
        {"background: hand-edited -1", background, &GameSettings::BackMode, -1, 0},
        {"background: hand-edited -9", background, &GameSettings::BackMode, -9, 6},
        {"background: largest number", background, &GameSettings::BackMode, INT_MAX, 2},
        {"background: smallest number", background, &GameSettings::BackMode, INT_MIN, 6},
    };
    for (const Case& c : cases) {
        GameSettings s;
        s.*c.value = c.from;
        (s.*c.change)();
        EXPECT_EQ(s.*c.value, c.to) << c.what;
    }
    GameSettings s;
    s.ChooseLanguage(true);
    EXPECT_TRUE(s.German());
    s.ChooseLanguage(false);
    EXPECT_EQ(s.Tongue, 0);
}

} // namespace
} // namespace torvella::settings
