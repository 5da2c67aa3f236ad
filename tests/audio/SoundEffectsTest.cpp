// Sound effects on the dummy audio driver: what the effects channel plays after each call.
#include "AudioTestSupport.h"
#include "assets/Sounds.h"
#include "audio/SoundEffects.h"

#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <tuple>

using torvella::audio::AudioDevice;
using torvella::audio::SoundEffects;

namespace {

constexpr int kChannel = AudioDevice::kEffectsChannel;

QList<QByteArray> GameClips()
{
    QList<QByteArray> clips;
    for (int n = 1; n <= 7; ++n)
        clips.append(torvella::assets::Wave(n));
    return clips;
}

std::atomic<int> g_finished{0}; // sounds ended or cut off on the effects channel
void CountFinished(int channel)
{
    if (channel == kChannel)
        ++g_finished;
}

class SoundEffectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_finished = 0;
        ASSERT_TRUE(effects.Load()) << device->Error().toStdString();
        EXPECT_TRUE(effects.LoadErrors().isEmpty()) << effects.LoadErrors().toStdString();
        Mix_ChannelFinished(CountFinished);
    }
    void TearDown() override { Mix_ChannelFinished(nullptr); }
    bool Playing() const { return Mix_Playing(kChannel) != 0; }

    std::shared_ptr<AudioDevice> device = std::make_shared<AudioDevice>();
    SoundEffects effects{device, GameClips()};
};

TEST_F(SoundEffectsTest, EachNumberPlaysItsOwnClipOnTheEffectsChannel)
{
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        ASSERT_NE(effects.Chunk(n), nullptr);
        effects.PlaySound(n, true);
        EXPECT_TRUE(Playing());
        EXPECT_EQ(Mix_GetChunk(kChannel), effects.Chunk(n));
        for (int other = 1; other <= 7; ++other) {
            if (other != n) {
                EXPECT_NE(effects.Chunk(other), effects.Chunk(n));
            }
        }
    }
    EXPECT_EQ(Mix_Playing(-1), 1) << "effects never take a second channel";
}

TEST_F(SoundEffectsTest, ANewSoundReplacesThePlayingOneAndTheSameSoundRestarts)
{
    effects.PlaySound(7, true); // the long falling melody
    effects.PlaySound(2, true);
    EXPECT_EQ(Mix_GetChunk(kChannel), effects.Chunk(2));
    EXPECT_EQ(g_finished, 1) << "sound 7 was cut off, not left to finish";

    effects.PlaySound(3, true);
    effects.PlaySound(3, true); // served, then served again from the hold place
    EXPECT_EQ(g_finished, 3) << "the first 3 was cut off and started anew";
    EXPECT_EQ(Mix_GetChunk(kChannel), effects.Chunk(3));
    EXPECT_EQ(Mix_Playing(-1), 1) << "nothing queued or doubled";
}

TEST_F(SoundEffectsTest, SoundOffPlaysNothingAndStopsNothing)
{
    for (int n = 0; n <= 7; ++n)
        effects.PlaySound(n, false);
    EXPECT_FALSE(Playing());

    effects.PlaySound(1, true);
    effects.PlaySound(0, false); // switching sound off leaves a playing sound alone
    effects.PlaySound(4, false);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Mix_GetChunk(kChannel), effects.Chunk(1));
}

TEST_F(SoundEffectsTest, SoundZeroStops)
{
    effects.PlaySound(7, true);
    ASSERT_TRUE(Playing());
    effects.PlaySound(0, true);
    EXPECT_FALSE(Playing());
    effects.PlaySound(0, true); // stopping twice is harmless
    EXPECT_FALSE(Playing());
}

TEST(SoundEffectsEdges, MissingOrBadClipsAndUnknownNumbersStaySilent)
{
    auto device = std::make_shared<AudioDevice>();
    QList<QByteArray> clips = GameClips();
    clips[1] = QByteArray();                               // sound 2 missing
    clips[2] = QByteArray("RIFF\x04\0\0\0WAVEfmt junk", 20); // sound 3 damaged
    clips.removeLast();                                    // sound 7 never handed in
    SoundEffects effects(device, clips);
    ASSERT_TRUE(effects.Load());
    for (int n : {2, 3, 7, 8, -1, 100}) {
        effects.PlaySound(n, true);
        EXPECT_EQ(Mix_Playing(kChannel), 0) << n;
    }
    EXPECT_FALSE(effects.LoadErrors().isEmpty()) << "the damaged clip is noted";
    effects.PlaySound(1, true);
    EXPECT_EQ(Mix_Playing(kChannel), 1);
}

TEST(SoundEffectsEdges, WithoutAnAudioDeviceEverySoundIsANoOp)
{
    torvella::testing::ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    auto device = std::make_shared<AudioDevice>();
    SoundEffects effects(device, GameClips());
    for (int n = 0; n <= 7; ++n)
        effects.PlaySound(n, true);
    EXPECT_FALSE(device->IsOpen());
    EXPECT_FALSE(device->Error().isEmpty());
    EXPECT_EQ(effects.Chunk(1), nullptr);
    EXPECT_FALSE(effects.Load());
}

} // namespace

// A device closed while quiet opens again with the next sound, and the clips decoded
// before still play; a device that plays is never closed under the sound.
TEST_F(SoundEffectsTest, ASuspendedDeviceReopensForTheNextSoundWithTheSameClips)
{
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    const Mix_Chunk* serve = effects.Chunk(3);
    EXPECT_EQ(Mix_Volume(kChannel, -1), torvella::audio::kEffectsVolume);

    effects.PlaySound(1, true); // 3.76 s
    device->Suspend();
    EXPECT_TRUE(device->IsOpen()) << "a playing sound keeps the device";
    EXPECT_TRUE(Playing());

    effects.PlaySound(0, true);
    ASSERT_FALSE(device->Busy());
    device->Suspend();
    EXPECT_FALSE(device->IsOpen());
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the mixer is really closed";

    effects.PlaySound(3, true);
    ASSERT_TRUE(device->IsOpen()) << device->Error().toStdString();
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Mix_GetChunk(kChannel), serve);
    int frequency2 = 0, channels2 = 0;
    Uint16 format2 = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency2, &format2, &channels2), 1);
    EXPECT_EQ(std::tuple(frequency2, format2, channels2), std::tuple(frequency, format, channels));
    EXPECT_EQ(Mix_Volume(kChannel, -1), torvella::audio::kEffectsVolume) << "the mix keeps its headroom";
    EXPECT_TRUE(torvella::testing::WaitFor([&] { return !Playing(); })) << "the clip plays to its end";
}
