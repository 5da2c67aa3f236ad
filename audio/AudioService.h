#pragma once
// What the main window asks of sound and music, with no trace of the sound library in
// it: the sound library and its codecs (FluidSynth, MP3, FLAC, Opus, JACK, ...) live in
// a module of their own beside the program (see AudioLoader.h), loaded the first time
// something has to sound, so a start that plays nothing never pays for them.
#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct Mix_Chunk;

namespace torvella::audio {

class AudioService {
public:
    virtual ~AudioService() = default;

    // Where music errors go (default: standard error).
    virtual void SetErrorHandler(std::function<void(const QString&)> handler) = 0;

    // --- sound effects (the window's wave list)
    // n 1..7 plays sound n at once, n 0 stops it; nothing when soundOn is false.
    virtual void PlaySound(int n, bool soundOn) = 0;
    // Opens the device and decodes the clips now; whether a device is open.
    virtual bool Load() = 0;
    // Starts what Load does in the background and returns at once, for when a sound is
    // about to be wanted (the player has pressed on the board, asked for a hint).
    // The next call of any other kind waits for it to finish.
    virtual void Prefetch() {}
    // Only the module, in the background, for music about to start: the effects' device
    // and their decoded clips (several megabytes) wait until a sound is about to be wanted.
    virtual void PrefetchMusic() {}
    // The decoded clip of sound n, or null.
    virtual const Mix_Chunk* Chunk(int n) const = 0;

    // --- background music (the window's `midi`)
    // The start-up step: whether a music file lies in programFolder. Plays nothing.
    virtual bool StartUp(const QString& programFolder) = 0;
    virtual void KeepMusicPlaying(bool musicAvailable, bool& musicOn) = 0;
    virtual void ToggleMusic(bool& musicOn) = 0;
    virtual QString CurrentFileName() const = 0;

    // Every timer tick: releases the audio device once nothing has sounded for a while,
    // so a quiet game costs no processor time; the next sound opens it again.
    virtual void Idle() = 0;
};

// The music files of a folder in play order: "*.mid" in any case, sorted by name so the
// order is the same on every file system. Matched here rather than by a name filter: a
// filter is a regular expression, and compiling one maps and runs the regular expression
// library, half a megabyte that a start needs for nothing else.
inline QStringList MusicFiles(const QString& folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    files.removeIf([](const QString& name) { return !name.endsWith(QLatin1String(".mid"), Qt::CaseInsensitive); });
    return files;
}

// The module's one entry point.
using CreateAudioFn = AudioService* (*)(const QList<QByteArray>& clips);
inline constexpr const char* kCreateAudioSymbol = "torvella_create_audio";

} // namespace torvella::audio
