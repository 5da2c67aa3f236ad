#pragma once
// The seven sound effects of the game (the window's wave list). The clips arrive as
// complete RIFF/WAVE images; they are decoded once, the first time a sound is wanted
// (or at Load), and from then on played from memory on one mixer channel, so a new
// sound cuts off the one still playing instead of queuing behind it.
#include "audio/AudioDevice.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <memory>

struct Mix_Chunk;

namespace torvella::audio {

class SoundEffects {
public:
    static constexpr int kSounds = 7;

    // clips[n - 1] is sound n; a missing or empty entry leaves that sound silent.
    SoundEffects(std::shared_ptr<AudioDevice> device, const QList<QByteArray>& clips);
    ~SoundEffects();
    SoundEffects(const SoundEffects&) = delete;
    SoundEffects& operator=(const SoundEffects&) = delete;

    // n 1..7 plays sound n and returns at once; n 0 stops the sound playing. Nothing
    // happens when soundOn is false, the clip is missing or there is no audio device.
    void PlaySound(int n, bool soundOn);

    // Opens the device and decodes every clip now. Returns whether a device is open.
    // PlaySound does this by itself; calling it early only moves the cost.
    bool Load();

    // The decoded clip of sound n, or null (no device, missing or undecodable clip).
    const Mix_Chunk* Chunk(int n) const;
    // Why clips could not be decoded, one line per clip; empty when all were fine.
    const QString& LoadErrors() const { return loadErrors_; }
    // The mixer's complaint about the last play call that failed; such failures are
    // noted here and otherwise ignored.
    const QString& LastPlayError() const { return lastPlayError_; }

private:
    std::shared_ptr<AudioDevice> device_;
    std::array<QByteArray, kSounds> images_;
    std::array<Mix_Chunk*, kSounds> chunks_{};
    bool loaded_ = false;
    QString loadErrors_;
    QString lastPlayError_;
};

} // namespace torvella::audio
