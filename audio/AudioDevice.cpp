#include "audio/AudioDevice.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

namespace torvella::audio {

namespace {
constexpr int kChannels = 2;
constexpr int kChunkFrames = 512; // about 23 ms: short enough for a click to feel immediate
static_assert(kEffectsVolume > 0 && kEffectsVolume <= MIX_MAX_VOLUME);
}

bool StartSoundSystem(QString& error)
{
    // SDL would otherwise take SIGINT and SIGTERM for itself and only post an event that
    // nobody here reads; the program handles its quit signals on its own.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // What the desktop's volume control shows for the program and its two streams.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Torvella");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = QStringLiteral("The sound system could not start: %1").arg(QString::fromUtf8(SDL_GetError()));
        return false;
    }
    return true;
}

void StopSoundSystem()
{
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioDevice::Open()
{
    if (state_ == State::Suspended)
        return Reopen();
    if (state_ != State::Untried)
        return state_ == State::Open;
    state_ = State::Failed;
    if (!StartSoundSystem(error_))
        return false;
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Sound effects");
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, kChannels, kChunkFrames) != 0) {
        error_ = QStringLiteral("No audio output device could be opened: %1").arg(QString::fromUtf8(SDL_GetError()));
        StopSoundSystem();
        return false;
    }
    Mix_QuerySpec(&frequency_, &format_, &channels_);
    Opened();
    error_.clear();
    return true;
}

bool AudioDevice::Reopen()
{
    // No format change allowed: SDL converts if the hardware wants another one.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Sound effects");
    if (Mix_OpenAudioDevice(frequency_, format_, channels_, kChunkFrames, nullptr, 0) != 0) {
        error_ = QStringLiteral("No audio output device could be opened: %1").arg(QString::fromUtf8(SDL_GetError()));
        state_ = State::Failed;
        return false;
    }
    Opened();
    return true;
}

void AudioDevice::Opened()
{
    // The mixer forgets its channels' volumes when it closes.
    Mix_ReserveChannels(kEffectsChannel + 1);
    Mix_Volume(kEffectsChannel, kEffectsVolume);
    state_ = State::Open;
}

bool AudioDevice::Busy() const
{
    return state_ == State::Open && Mix_Playing(-1) > 0;
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
        Mix_CloseAudio();
    }
    StopSoundSystem();
}

} // namespace torvella::audio
