// The game's sound through a desktop sound server (a private PulseAudio server with a null
// sink, recorded): the music and an effect over it, as the window drives the audio module.
// Skipped, with the reason, where no such server can start.
#include "AudioTestSupport.h"
#include "PulseRig.h"
#include "assets/Sounds.h"
#include "audio/AudioLoader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace torvella::testing;

TEST(PulseAudio, MusicKeepsALongBufferEffectsAShortOneAndTogetherTheyStayUnderFullScale)
{
    PulseServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Why();
    ScopedEnv driver("SDL_AUDIODRIVER", "pulseaudio");
    MonitorRecording rec;
    ASSERT_TRUE(rec.Ok() && rec.WaitUntilFlowing()) << rec.Error();

    QTemporaryDir folder;
    ASSERT_TRUE(WriteFile(folder.filePath("a.mid"), ReadFile(SourcePath(QStringLiteral("assets/music/a_morning.mid")))));
    QList<QByteArray> clips;
    for (int n = 1; n <= 7; ++n)
        clips.append(torvella::assets::Wave(n));
    size_t effectFrom = 0;
    {
        auto audio = torvella::audio::CreateAudio(folder.path() + QLatin1Char('/'), clips);
        QStringList messages;
        audio->SetErrorHandler([&](const QString& m) { messages.append(m); });
        ASSERT_TRUE(audio->StartUp(folder.path() + QLatin1Char('/')));
        bool musicOn = true;
        audio->KeepMusicPlaying(true, musicOn);
        ASSERT_TRUE(musicOn) << messages.join('\n').toStdString();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        effectFrom = rec.FrameAfter(std::chrono::steady_clock::now());
        audio->PlaySound(1, true); // the loudest clip
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        audio->ToggleMusic(musicOn);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }
    rec.Stop();

    std::map<std::string, double> latency;
    for (const StreamLatency& s : StreamLatencies(server.Log()))
        latency[s.name] = s.ms;
    ASSERT_TRUE(latency.count("Music") && latency.count("Sound effects")) << server.Log();
    // Enough to ride out a busy moment of the machine; short enough for a click.
    EXPECT_GE(latency["Music"], 40.0);
    EXPECT_LE(latency["Sound effects"], 30.0);

    const std::vector<int16_t>& sound = rec.Samples();
    ASSERT_NE(Onset(sound, 0), SIZE_MAX) << "nothing was heard";
    EXPECT_GT(PeakDb(sound, effectFrom), PeakDb(sound, 0, effectFrom) + 3) << "the effect is not heard over the music";
    EXPECT_LE(PeakDb(sound), -1.0);
    EXPECT_EQ(FullScaleSamples(sound), 0u);
}
