#pragma once
// The sound effects' audio device. SDL_mixer keeps a single device per process, so create
// exactly one of these and hand it (as shared_ptr) to everything that plays effects; the
// last owner closes the device. The music has a device of its own (see MediaPlayer): a
// stream that keeps a click's sound prompt holds too little to carry music through a busy
// moment of the machine, and one that carries music would make every click late.
#include <QString>

namespace torvella::audio {

// Both streams run at this rate: the clips are recorded at 11,025 and 22,050 Hz (the one
// 44.1 kHz clip is never played), and music synthesised at it costs half as much.
inline constexpr int kRate = 22050;

// The sound server adds the two streams. At full scale the loudest clip (-1.4 dBFS) over
// the loudest moment of the music (-6.6 dBFS) would pass full scale and clip; both are
// turned down by the same factor, so they keep their balance, and together stay under
// -1 dBFS with room for the server's resampling. The factor is a mixer volume step (of
// 128): 80/128 is -4.1 dB.
inline constexpr int kEffectsVolume = 80;
inline constexpr double kMixGain = kEffectsVolume / 128.0;

// Starts SDL's audio part (counted: each successful start needs one StopSoundSystem),
// leaving the process's signals to the program. On failure, error says why.
bool StartSoundSystem(QString& error);
void StopSoundSystem();

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
    // Whether a sound effect is playing right now.
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
    void Opened();

    State state_ = State::Untried;
    int frequency_ = 0;
    unsigned short format_ = 0;
    int channels_ = 0;
    QString error_;
};

} // namespace torvella::audio
