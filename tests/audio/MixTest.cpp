// What actually reaches the device: the mixed stream, caught after mixing.
#include "AudioTestSupport.h"
#include "assets/Sounds.h"
#include "audio/BackgroundMusic.h"
#include "audio/SoundEffects.h"

#include <QTemporaryDir>
#include <SDL2/SDL_mixer.h>
#include <atomic>
#include <gtest/gtest.h>

using namespace torvella::audio;

namespace {

std::atomic<int> g_peak{0};

// The device runs signed 16-bit samples (the mixer's default format).
void CatchPeak(void*, Uint8* stream, int len)
{
    const auto* s = reinterpret_cast<const Sint16*>(stream);
    int peak = g_peak.load();
    for (int i = 0; i < len / 2; ++i)
        peak = std::max(peak, std::abs(int(s[i])));
    g_peak.store(peak);
}

bool HearsSomething()
{
    g_peak = 0;
    return torvella::testing::WaitFor([] { return g_peak.load() > 1000; });
}

TEST(Mix, AClipAndAMidiFileBothReachTheOutputAndShareTheDevice)
{
    auto device = std::make_shared<AudioDevice>();
    QList<QByteArray> clips;
    for (int n = 1; n <= 7; ++n)
        clips.append(torvella::assets::Wave(n));
    SoundEffects effects(device, clips);
    ASSERT_TRUE(effects.Load());
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    ASSERT_EQ(format, AUDIO_S16SYS);
    Mix_SetPostMix(CatchPeak, nullptr);

    effects.PlaySound(1, true);
    EXPECT_TRUE(HearsSomething()) << "the fanfare is silent";
    effects.PlaySound(0, true);

    QTemporaryDir folder;
    ASSERT_TRUE(torvella::testing::WriteFile(
        folder.filePath("a.mid"),
        torvella::testing::ReadFile(torvella::testing::SourcePath(QStringLiteral("assets/music/a_morning.mid")))));
    BackgroundMusic music(device);
    QStringList messages;
    music.SetErrorHandler([&](const QString& m) { messages.append(m); });
    bool musicOn = true;
    ASSERT_TRUE(music.StartUp(folder.path()));
    music.KeepMusicPlaying(true, musicOn);
    ASSERT_TRUE(music.Player().IsPlaying()) << messages.join('\n').toStdString();
    EXPECT_TRUE(HearsSomething()) << "the music is silent";

    // Both at once: the effect plays over the music, neither stops the other.
    effects.PlaySound(4, true);
    EXPECT_EQ(Mix_Playing(AudioDevice::kEffectsChannel), 1);
    EXPECT_TRUE(music.Player().IsPlaying());
    EXPECT_TRUE(HearsSomething());

    Mix_SetPostMix(nullptr, nullptr);
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
