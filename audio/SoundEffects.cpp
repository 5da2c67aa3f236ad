#include "audio/SoundEffects.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

namespace torvella::audio {

SoundEffects::SoundEffects(std::shared_ptr<AudioDevice> device, const QList<QByteArray>& clips)
    : device_(std::move(device))
{
    for (int i = 0; i < kSounds && i < clips.size(); ++i)
        images_[i] = clips[i];
}

SoundEffects::~SoundEffects()
{
    if (!loaded_)
        return;
    // The mixer reads a chunk while it plays: stop before freeing. (A suspended device
    // plays nothing.)
    if (device_->IsOpen())
        Mix_HaltChannel(AudioDevice::kEffectsChannel);
    for (Mix_Chunk*& chunk : chunks_) {
        if (chunk)
            Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
}

bool SoundEffects::Load()
{
    if (!device_->Open())
        return false;
    if (loaded_)
        return true;
    loaded_ = true;
    for (int i = 0; i < kSounds; ++i) {
        const QByteArray& image = images_[i];
        if (image.isEmpty())
            continue;
        SDL_RWops* rw = SDL_RWFromConstMem(image.constData(), int(image.size()));
        chunks_[i] = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        if (!chunks_[i])
            loadErrors_ += QStringLiteral("sound %1: %2\n").arg(i + 1).arg(QString::fromUtf8(SDL_GetError()));
    }
    // The decoded copies are all that is played from now on.
    for (QByteArray& image : images_)
        image = QByteArray();
    return true;
}

const Mix_Chunk* SoundEffects::Chunk(int n) const
{
    if (n < 1 || n > kSounds)
        return nullptr;
    return chunks_[n - 1];
}

void SoundEffects::PlaySound(int n, bool soundOn)
{
    if (!soundOn)
        return;
    if (n == 0) {
        if (device_->IsOpen())
            Mix_HaltChannel(AudioDevice::kEffectsChannel);
        return;
    }
    if (n < 1 || n > kSounds)
        return;
    if (!Load())
        return; // no output device: the game goes on without sound
    Mix_Chunk* chunk = chunks_[n - 1];
    if (!chunk)
        return;
    // Playing on a busy channel halts what it plays first, so the new sound replaces the
    // old one. A failure here is left alone on purpose: a missing beep must never
    // interrupt a move.
    if (Mix_PlayChannel(AudioDevice::kEffectsChannel, chunk, 0) < 0)
        lastPlayError_ = QString::fromUtf8(SDL_GetError());
}

} // namespace torvella::audio
