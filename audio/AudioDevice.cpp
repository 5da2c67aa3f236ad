#include "audio/AudioDevice.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

namespace torvella::audio {

namespace {
// 22,050 Hz: the clips are recorded at 11,025 and 22,050 Hz (the one 44.1 kHz clip is
// never played), and music synthesised at this rate costs half as much.
constexpr int kRate = 22050;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 512; // about 23 ms: short enough for a click to feel immediate
}

bool AudioDevice::Open()
{
    if (state_ == State::Suspended)
        return Reopen();
    if (state_ != State::Untried)
        return state_ == State::Open;
    state_ = State::Failed;
    // SDL would otherwise take SIGINT and SIGTERM for itself and only post an event that
    // nobody here reads; the program handles its quit signals on its own.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_ = QStringLiteral("The sound system could not start: %1").arg(QString::fromUtf8(SDL_GetError()));
        return false;
    }
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, kChannels, kChunkFrames) != 0) {
        error_ = QStringLiteral("No audio output device could be opened: %1").arg(QString::fromUtf8(SDL_GetError()));
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_ReserveChannels(kEffectsChannel + 1);
    Mix_QuerySpec(&frequency_, &format_, &channels_);
    state_ = State::Open;
    error_.clear();
    return true;
}

bool AudioDevice::Reopen()
{
    // No format change allowed: SDL converts if the hardware wants another one.
    if (Mix_OpenAudioDevice(frequency_, format_, channels_, kChunkFrames, nullptr, 0) != 0) {
        error_ = QStringLiteral("No audio output device could be opened: %1").arg(QString::fromUtf8(SDL_GetError()));
        state_ = State::Failed;
        return false;
    }
    Mix_ReserveChannels(kEffectsChannel + 1);
    state_ = State::Open;
    return true;
}

bool AudioDevice::Busy() const
{
    return state_ == State::Open && (Mix_Playing(-1) > 0 || Mix_PlayingMusic() != 0);
}

void AudioDevice::Suspend()
{
    if (state_ != State::Open || Busy())
        return;
    Mix_CloseAudio();
    state_ = State::Suspended;
}

AudioDevice::~AudioDevice()
{
    if (state_ != State::Open && state_ != State::Suspended)
        return;
    if (state_ == State::Open) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace torvella::audio
