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
    // A suspended device (see Suspend) is opened again, with the format it had before.
    bool Open();
    bool IsOpen() const { return state_ == State::Open; }
    // Whether any mixer channel or the music is playing right now.
    bool Busy() const;
    // Closes an open device that nothing plays on, keeping the sound system ready: a
    // device mixing silence still costs processor time. The next Open reopens it with
    // the same rate, format and channels, so clips decoded for it stay valid.
    void Suspend();
    // Why the device could not be opened (empty while it is open or untried).
    const QString& Error() const { return error_; }

    // Mixer channel reserved for the sound effects: one channel, so a new effect
    // replaces the one still playing.
    static constexpr int kEffectsChannel = 0;

private:
    enum class State { Untried, Open, Suspended, Failed };
    bool Reopen();

    State state_ = State::Untried;
    int frequency_ = 0;
    unsigned short format_ = 0;
    int channels_ = 0;
    QString error_;
};

} // namespace torvella::audio
