// The audio module: sound effects and music over SDL_mixer behind the AudioService
// interface, built as "libtorvella-audio.so" and loaded by AudioLoader.
#include "audio/AudioDevice.h"
#include "audio/AudioService.h"
#include "audio/BackgroundMusic.h"
#include "audio/SoundEffects.h"

#include <chrono>

namespace torvella::audio {

namespace {

class MixerAudio : public AudioService {
public:
    explicit MixerAudio(const QList<QByteArray>& clips)
        : device_(std::make_shared<AudioDevice>()), waves_(device_, clips)
    {
    }

    void SetErrorHandler(std::function<void(const QString&)> handler) override
    {
        midi_.SetErrorHandler(std::move(handler));
    }
    void PlaySound(int n, bool soundOn) override
    {
        waves_.PlaySound(n, soundOn);
        quietSince_ = Clock::now();
    }
    bool Load() override { return waves_.Load(); }
    const Mix_Chunk* Chunk(int n) const override { return waves_.Chunk(n); }
    bool StartUp(const QString& programFolder) override { return midi_.StartUp(programFolder); }
    void KeepMusicPlaying(bool musicAvailable, bool& musicOn) override
    {
        midi_.KeepMusicPlaying(musicAvailable, musicOn);
    }
    void ToggleMusic(bool& musicOn) override { midi_.ToggleMusic(musicOn); }
    QString CurrentFileName() const override { return midi_.CurrentFileName(); }

    void Idle() override
    {
        // A device that mixes silence still wakes every few milliseconds. Once no effect
        // has played for a while, close it (the music has a device of its own); the next
        // sound opens it again with the same format, so the decoded clips stay valid.
        if (!device_->IsOpen())
            return;
        if (device_->Busy()) {
            quietSince_ = Clock::now();
            return;
        }
        if (Clock::now() - quietSince_ >= kQuietBeforeClose)
            device_->Suspend();
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kQuietBeforeClose = std::chrono::seconds(2);

    std::shared_ptr<AudioDevice> device_;
    SoundEffects waves_;
    BackgroundMusic midi_;
    Clock::time_point quietSince_ = Clock::now();
};

} // namespace

} // namespace torvella::audio

extern "C" __attribute__((visibility("default"))) torvella::audio::AudioService*
torvella_create_audio(const QList<QByteArray>& clips)
{
    return new torvella::audio::MixerAudio(clips);
}
