// The program links only the audio loader. These tests run in a program that does the
// same (no sound library linked), so they can see when the sound library arrives.
#include "common/ScopedEnv.h"
#include "audio/AudioLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dlfcn.h>

using torvella::audio::CreateAudio;
using torvella::testing::ScopedEnv;

namespace {

bool MixerInProcess()
{
    void* handle = dlopen("libSDL2_mixer-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// A program folder with two music files (copies of the game's own) and no module.
struct MusicFolder {
    MusicFolder()
    {
        for (const char* name : {"b_garden.mid", "a_morning.mid"})
            QFile::copy(QStringLiteral(TORVELLA_SOURCE_DIR "/assets/music/") + QLatin1String(name),
                        dir.filePath(QLatin1String(name)));
    }
    QString Path() const { return dir.path() + QLatin1Char('/'); }
    QTemporaryDir dir;
};

} // namespace

TEST(AudioLoader, StartUpAndQuietCallsLeaveTheSoundLibraryOutUntilSomethingSounds)
{
    ASSERT_FALSE(MixerInProcess()) << "this test program must not link the sound library";
    MusicFolder folder;
    int clipsRead = 0; // the clips too are read only when the module comes
    auto audio = CreateAudio(folder.Path(), [&] {
        ++clipsRead;
        return QList<QByteArray>();
    });
    EXPECT_TRUE(audio->StartUp(folder.Path()));
    EXPECT_EQ(audio->CurrentFileName(), QStringLiteral("a_morning.mid"));
    bool musicOn = false;
    audio->KeepMusicPlaying(true, musicOn); // music off
    audio->PlaySound(3, false);             // sound off
    audio->PlaySound(0, true);              // nothing to stop
    audio->Idle();
    EXPECT_EQ(audio->Chunk(3), nullptr);
    EXPECT_FALSE(MixerInProcess());
    EXPECT_EQ(clipsRead, 0);

    EXPECT_TRUE(audio->Load()) << "the module comes from TORVELLA_MODULE_DIR in tests";
    EXPECT_TRUE(MixerInProcess());
    EXPECT_EQ(clipsRead, 1);
    EXPECT_EQ(audio->CurrentFileName(), QStringLiteral("a_morning.mid"));
}

// Music about to start needs the module, not the effects: their device and their decoded
// clips wait until a sound is near (a press on the board), and are ready when it comes.
TEST(AudioLoader, MusicAboutToStartBringsTheModuleButTheEffectsOnlyWhenASoundIsNear)
{
    MusicFolder folder;
    QFile clip(QStringLiteral(TORVELLA_SOURCE_DIR "/assets/sounds/sound1.wav"));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    auto audio = CreateAudio(folder.Path(), QList<QByteArray>{clip.readAll()});
    EXPECT_TRUE(audio->StartUp(folder.Path()));
    audio->PrefetchMusic();
    EXPECT_EQ(audio->Chunk(1), nullptr) << "music alone decodes no sound effect";
    EXPECT_TRUE(MixerInProcess()) << "the module is there for the music";
    audio->Prefetch();
    EXPECT_NE(audio->Chunk(1), nullptr) << "a sound about to be wanted finds its clip decoded";
}

TEST(AudioLoader, WithoutTheModuleSoundsAreSkippedAndMusicSaysWhyAndGoesOff)
{
    ScopedEnv noModule("TORVELLA_MODULE_DIR", "");
    MusicFolder folder;
    auto audio = CreateAudio(folder.Path(), QList<QByteArray>());
    QStringList errors;
    audio->SetErrorHandler([&](const QString& e) { errors << e; });
    EXPECT_TRUE(audio->StartUp(folder.Path())) << "the music files are there";
    audio->PlaySound(3, true);
    EXPECT_FALSE(audio->Load());

    bool musicOn = true;
    audio->KeepMusicPlaying(true, musicOn);
    EXPECT_FALSE(musicOn);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("libtorvella-audio.so"))) << errors[0].toStdString();
    audio->KeepMusicPlaying(true, musicOn);
    EXPECT_EQ(errors.size(), 1) << "music off: nothing more to say";

    audio->ToggleMusic(musicOn); // the player tries again
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(errors.size(), 2);
}
