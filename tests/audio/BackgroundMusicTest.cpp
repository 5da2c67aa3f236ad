// The music logic over the real player (FluidSynth on the dummy driver):
// which file plays after start-up, the keeper and each press of the music button.
#include "AudioTestSupport.h"
#include "audio/AudioService.h"
#include "audio/BackgroundMusic.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>

using torvella::audio::BackgroundMusic;

namespace {

QByteArray Piece()
{
    static const QByteArray bytes =
        torvella::testing::ReadFile(torvella::testing::SourcePath(QStringLiteral("assets/music/a_morning.mid")));
    return bytes;
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_FALSE(Piece().isEmpty());
        music.SetErrorHandler([this](const QString& m) { messages.append(m); });
    }
    void Put(const QString& name, const QByteArray& bytes = Piece())
    {
        ASSERT_TRUE(torvella::testing::WriteFile(folder.filePath(name), bytes));
    }
    bool Playing() const { return music.Player().IsPlaying(); }
    // One press of the music button; returns the file then playing ("" when music is off).
    QString Press()
    {
        music.ToggleMusic(musicOn);
        if (!musicOn)
            return {};
        EXPECT_TRUE(Playing()) << music.CurrentFileName().toStdString();
        return music.CurrentFileName();
    }

    QTemporaryDir folder;
    BackgroundMusic music;
    bool musicOn = true;
    QStringList messages;
};

TEST_F(MusicTest, ThreeFilesCycleInNameOrderWithEveryPressThatSwitchesOn)
{
    Put("c.mid");
    Put("a.mid");
    Put("b.mid");
    Put("notes.txt", "not music");
    ASSERT_TRUE(music.StartUp(folder.path()));
    EXPECT_EQ(music.CurrentFileName(), "a.mid");
    EXPECT_FALSE(Playing()) << "start-up opens but never plays";

    music.KeepMusicPlaying(true, musicOn);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(music.CurrentFileName(), "a.mid");

    const QStringList expected = {"", "b.mid", "", "c.mid", "", "a.mid", "", "b.mid"};
    for (const QString& want : expected) {
        EXPECT_EQ(Press(), want);
        EXPECT_EQ(Playing(), !want.isEmpty());
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// Which names are music and in what order: ".mid" in any case, nothing that only looks
// like it, sorted by name as the folder gives them.
TEST_F(MusicTest, TheMusicFilesAreTheNamesEndingInMidInAnyCaseInNameOrder)
{
    for (const char* name : {"b.mid", "A.MID", "c.midi", ".mid", "x.mid.txt", "mid", "d.Mid"})
        Put(QString::fromLatin1(name));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("e.mid")));
    EXPECT_EQ(torvella::audio::MusicFiles(folder.path()).join(u' ').toStdString(), ".mid A.MID b.mid d.Mid");
}

TEST_F(MusicTest, MusicOffAtStartUpPlaysNothingUntilTheFirstPressWhichPlaysTheSecondFile)
{
    Put("a.mid");
    Put("b.mid");
    musicOn = false;
    ASSERT_TRUE(music.StartUp(folder.path()));
    for (int tick = 0; tick < 3; ++tick)
        music.KeepMusicPlaying(true, musicOn);
    EXPECT_FALSE(Playing());
    EXPECT_EQ(Press(), "b.mid");
    EXPECT_TRUE(musicOn);
}

TEST_F(MusicTest, OneFileReplaysItselfOnEverySwitchOn)
{
    Put("only.mid");
    ASSERT_TRUE(music.StartUp(folder.path()));
    music.KeepMusicPlaying(true, musicOn);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(Press(), "");
        EXPECT_EQ(Press(), "only.mid");
    }
}

TEST_F(MusicTest, NoMusicFileMeansNoMusic)
{
    Put("readme.txt", "no music here");
    EXPECT_FALSE(music.StartUp(folder.path()));
    EXPECT_EQ(music.CurrentFileName(), "");
    music.KeepMusicPlaying(false, musicOn);
    EXPECT_FALSE(Playing());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MusicTest, ACorruptFirstFileSwitchesMusicOffWithOneMessageAndTheNextPressMovesOn)
{
    Put("a.mid", QByteArray("MThd\0\0\0\x06\0\x01\0\x02\x01\xE0MTrk\0\0\x10\0garbage", 30));
    Put("b.mid");
    ASSERT_TRUE(music.StartUp(folder.path())) << "the other file may still play";
    EXPECT_TRUE(messages.isEmpty()) << "nothing to say until music would start";
    for (int tick = 0; tick < 5; ++tick) // the keeper runs every 1.6 s
        music.KeepMusicPlaying(true, musicOn);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("a.mid")) << messages[0].toStdString();
    EXPECT_FALSE(musicOn);
    EXPECT_FALSE(Playing());

    EXPECT_EQ(Press(), "b.mid");
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(MusicTest, AFileThatFailsWhenSwitchedOnReportsOnceAndIsNotRetriedByTheKeeper)
{
    Put("a.mid");
    Put("b.mid", "MThd but nothing after it");
    ASSERT_TRUE(music.StartUp(folder.path()));
    music.KeepMusicPlaying(true, musicOn);
    EXPECT_EQ(Press(), "");
    EXPECT_EQ(Press(), "") << "b fails";
    EXPECT_FALSE(musicOn);
    for (int tick = 0; tick < 5; ++tick) {
        bool stillOn = musicOn;
        music.KeepMusicPlaying(true, stillOn);
        EXPECT_FALSE(Playing());
    }
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("b.mid"));
    EXPECT_EQ(Press(), "a.mid") << "the next press wraps round to a playable file";
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(MusicTest, AMissingSoundFontIsReportedOnceInPlainWords)
{
    torvella::testing::ScopedEnv font("TORVELLA_SOUNDFONT", "/nonexistent/font.sf2");
    Put("a.mid");
    ASSERT_TRUE(music.StartUp(folder.path()));
    for (int tick = 0; tick < 3; ++tick)
        music.KeepMusicPlaying(true, musicOn);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("SoundFont")) << messages[0].toStdString();
    EXPECT_FALSE(musicOn);
}

TEST_F(MusicTest, WithoutAnAudioDeviceMusicIsSwitchedOffWithOneMessage)
{
    torvella::testing::ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    Put("a.mid");
    Put("b.mid");
    ASSERT_TRUE(music.StartUp(folder.path()));
    for (int tick = 0; tick < 3; ++tick)
        music.KeepMusicPlaying(true, musicOn);
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(Press(), "") << "b cannot play either";
    EXPECT_EQ(messages.size(), 2) << "one message per attempt the player asked for";
}

TEST_F(MusicTest, TheKeeperStartsAFinishedFileAgain)
{
    // Two short notes, about half a second in all.
    Put("short.mid", torvella::testing::MidiFile({0x00, 0xC0, 0, 0x00, 0x90, 72, 110, 0x83, 0x60, 0x80, 72, 0}, 480, 0));
    ASSERT_TRUE(music.StartUp(folder.path()));
    music.KeepMusicPlaying(true, musicOn);
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(torvella::testing::WaitFor([this] { return !Playing(); })) << "the file never ended";
    music.KeepMusicPlaying(true, musicOn);
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MusicTest, AFileIsSeenAsEndedWhenItEndsNotLater)
{
    // The keeper looks every 1.6 s; a file whose end is seen late repeats late. A note of
    // half a second, then half a second of rest before the end of the track: the file
    // lasts one second, rest included.
    Put("short.mid",
        torvella::testing::MidiFile({0x00, 0xC0, 0, 0x00, 0x90, 72, 110, 0x83, 0x60, 0x80, 72, 0}, 480, 480));
    ASSERT_TRUE(music.StartUp(folder.path()));
    music.KeepMusicPlaying(true, musicOn);
    ASSERT_TRUE(Playing());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(torvella::testing::WaitFor([this] { return !Playing(); }, 10000)) << "the file never ended";
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 900) << "the rest before the end of the track belongs to the file";
    // The synthesiser's own idea of the end (last notes faded, then a grace period) comes
    // seconds later; a loaded machine may be late by a fraction of that.
    EXPECT_LT(ms, 2000) << "the end was seen long after the file had ended";
}

TEST_F(MusicTest, CloseEndsTheMusic)
{
    Put("a.mid");
    ASSERT_TRUE(music.StartUp(folder.path()));
    music.KeepMusicPlaying(true, musicOn);
    ASSERT_TRUE(Playing());
    music.Close();
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(music.Player().IsOpen());
}

} // namespace
