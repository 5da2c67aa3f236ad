#pragma once
// The one audio device that sound effects and music share. SDL_mixer keeps a single
// device per process, so create exactly one of these and hand it (as shared_ptr) to
// everything that plays; the last owner closes the device.
#include <QString>

namespace torvella::audio {

class AudioDevice {
public:
    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the device the first time it is asked for; later calls only report the
    // outcome of that first attempt, so a machine without sound pays for it once.
    bool Open();
    bool IsOpen() const { return state_ == State::Open; }
    // Why the device could not be opened (empty while it is open or untried).
    const QString& Error() const { return error_; }

    // Mixer channel reserved for the sound effects: one channel, so a new effect
    // replaces the one still playing.
    static constexpr int kEffectsChannel = 0;

private:
    enum class State { Untried, Open, Failed };
    State state_ = State::Untried;
    QString error_;
};

} // namespace torvella::audio
