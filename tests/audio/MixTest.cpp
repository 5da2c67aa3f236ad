// The balance of what the player hears: the pieces about equally loud, and the loudest
// effect over the loudest moment of any piece still under full scale once the sound
// server adds the two streams. Worked out from the pieces as the player renders them and
// the clips as the mixer decodes them, so it holds for every moment, not only the ones a
// recording happens to catch.
#include "AudioTestSupport.h"
#include "PulseRig.h"
#include "assets/Sounds.h"
#include "audio/MediaPlayer.h"
#include "audio/SoundEffects.h"

#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace torvella::audio;

namespace {

double Linear(double db)
{
    return std::pow(10.0, db / 20);
}

TEST(Mix, ThePiecesAreEquallyLoudAndEffectsOverMusicStayUnderFullScale)
{
    double loudest = -200, quietest = 0, musicPeak = -200;
    for (const char* name : {"a_morning.mid", "b_garden.mid", "c_evening.mid"}) {
        const std::vector<int16_t> piece =
            RenderMusicFile(torvella::testing::SourcePath(QStringLiteral("assets/music/") + QLatin1String(name)));
        ASSERT_GT(piece.size(), size_t(kRate) * 2 * 60) << name << " lasts a minute or more";
        const double loudness = torvella::testing::LoudnessDb(piece, kRate);
        loudest = std::max(loudest, loudness);
        quietest = std::min(quietest, loudness);
        musicPeak = std::max(musicPeak, torvella::testing::PeakDb(piece));
        RecordProperty(name, std::to_string(loudness));
    }
    EXPECT_LE(loudest - quietest, 3.0) << "loudest " << loudest << " dBFS, quietest " << quietest << " dBFS";

    auto device = std::make_shared<AudioDevice>();
    QList<QByteArray> clips;
    for (int n = 1; n <= 7; ++n)
        clips.append(torvella::assets::Wave(n));
    SoundEffects effects(device, clips);
    ASSERT_TRUE(effects.Load()) << device->Error().toStdString();
    int effectPeak = 0;
    for (int n = 1; n <= 7; ++n) {
        const Mix_Chunk* chunk = effects.Chunk(n);
        ASSERT_NE(chunk, nullptr) << "sound " << n;
        const auto* s = reinterpret_cast<const int16_t*>(chunk->abuf);
        for (Uint32 i = 0; i < chunk->alen / 2; ++i)
            effectPeak = std::max(effectPeak, std::abs(int(s[i])));
    }
    const double effectsDb = 20 * std::log10(effectPeak * kMixGain / 32768.0);
    // Half a decibel of the allowance goes to the server's resampling to its own rate,
    // which can overshoot a sharp edge a little.
    const double sum = Linear(musicPeak) + Linear(effectsDb);
    EXPECT_LE(20 * std::log10(sum), -1.5) << "music peaks at " << musicPeak << " dBFS, effects at " << effectsDb
                                          << " dBFS";
}

} // namespace
