#pragma once
// The game's background music: the MIDI files beside the program, one at a time, each
// repeated while music is on, the next one every time the player switches music on.
//
// A file that cannot be played is reported once through the error handler and switches
// the music off; nothing is tried again until the player switches it on, which moves on
// to the next file.
#include "audio/MediaPlayer.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace torvella::audio {

class BackgroundMusic {
public:
    BackgroundMusic();
    ~BackgroundMusic(); // closes the player, which ends the music

    void SetErrorHandler(std::function<void(const QString&)> handler) { onError_ = std::move(handler); }

    // The start-up step: looks for "*.mid" in programFolder (sorted by name) and opens
    // the first. Plays nothing. Returns MusicAvailable: whether a music file was found.
    // Cheap: no synthesiser is started here.
    bool StartUp(const QString& programFolder);

    // The keeper, every sixteenth timer tick: plays the current file again when it has
    // ended. A failure switches musicOn off after its one message.
    void KeepMusicPlaying(bool musicAvailable, bool& musicOn);

    // The options dialog's music button: off, or on with the next file (after the last
    // one the search starts again from the first).
    void ToggleMusic(bool& musicOn);

    // The current music file's name without its folder, with its extension.
    QString CurrentFileName() const;

    // Stops the music and releases the player (at program end; the destructor does it too).
    void Close();

    const MediaPlayer& Player() const { return midi_; }

private:
    void Search();
    void Fail(const QString& message, bool& musicOn);
    void Report(const QString& message);

    MediaPlayer midi_;
    QString folder_;
    QStringList files_;           // the running search: file names in play order
    int current_ = -1;            // index into files_, -1 when the search found nothing
    QString failedOpen_;          // a start-up failure, reported when music would start
    std::function<void(const QString&)> onError_;
};

} // namespace torvella::audio
