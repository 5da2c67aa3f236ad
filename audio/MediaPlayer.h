#pragma once
// The music player (the window's `midi`): one MIDI file at a time, rendered by FluidSynth
// with a General MIDI SoundFont into an audio device of its own, beside the effects' one
// (see AudioDevice.h). The synthesiser is ours rather than SDL_mixer's so that its cost
// can be chosen (see MediaPlayer.cpp).
//
// Open only checks what can be checked cheaply (the file is a readable, well-formed MIDI
// file and a SoundFont exists); the synthesiser, which reads the SoundFont, is started
// by the first Play after an Open. That keeps the program's start quick.
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace torvella::audio {

// A file that cannot be played; what() is a message fit for the player.
class MusicError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the General MIDI SoundFont lies: $TORVELLA_SOUNDFONT when set, otherwise the
// first of Debian's usual files that exists. Empty when there is none.
QString FindSoundFont();

// A whole file as the player sounds it (same synthesiser, settings and gain), as
// interleaved stereo at kRate from its first tick to its last, as fast as it renders.
// For checks of the music's level; throws MusicError.
std::vector<int16_t> RenderMusicFile(const QString& path);

class MediaPlayer {
public:
    MediaPlayer();
    ~MediaPlayer(); // closes
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Closes any open file first. Throws MusicError when the file cannot be read, is not
    // a valid MIDI file, or no SoundFont is installed.
    void Open(const QString& path);
    // Starts playing from the beginning (so a file that has ended starts again); does
    // nothing while it plays. Throws MusicError when no file is open, there is no audio
    // device, or the synthesiser rejects the file.
    void Play();
    void Stop();
    void Close();

    bool IsOpen() const { return !path_.isEmpty(); }
    bool IsPlaying() const;
    const QString& FileName() const { return path_; }

private:
    struct Synth;
    friend std::vector<int16_t> RenderMusicFile(const QString& path);
    QString path_;
    QString soundFont_;
    std::unique_ptr<Synth> synth_;
};

} // namespace torvella::audio
