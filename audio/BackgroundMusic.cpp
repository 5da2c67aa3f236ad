#include "audio/BackgroundMusic.h"

#include "audio/AudioService.h"

#include <QDir>
#include <cstdio>

namespace torvella::audio {

BackgroundMusic::BackgroundMusic() = default;

BackgroundMusic::~BackgroundMusic()
{
    Close();
}

void BackgroundMusic::Search()
{
    // Sorted by name, so the play order is the same on every file system.
    files_ = MusicFiles(folder_);
    current_ = files_.isEmpty() ? -1 : 0;
}

bool BackgroundMusic::StartUp(const QString& programFolder)
{
    folder_ = programFolder;
    Search();
    if (current_ < 0)
        return false;
    // A first file that cannot be opened is not reported now: the player hears about it
    // when music would start, and with music off it may never matter.
    try {
        midi_.Open(QDir(folder_).filePath(files_[current_]));
    } catch (const MusicError& e) {
        failedOpen_ = QString::fromStdString(e.what());
    }
    return true;
}

void BackgroundMusic::KeepMusicPlaying(bool musicAvailable, bool& musicOn)
{
    if (!musicAvailable || !musicOn)
        return;
    if (!failedOpen_.isEmpty()) {
        const QString message = failedOpen_;
        failedOpen_.clear();
        Fail(message, musicOn);
        return;
    }
    if (midi_.IsPlaying())
        return;
    try {
        midi_.Play();
    } catch (const MusicError& e) {
        Fail(QString::fromStdString(e.what()), musicOn);
    }
}

void BackgroundMusic::ToggleMusic(bool& musicOn)
{
    failedOpen_.clear();
    if (musicOn) {
        midi_.Stop();
        midi_.Close();
        musicOn = false;
        return;
    }
    if (current_ >= 0 && current_ + 1 < files_.size()) {
        ++current_;
        musicOn = true;
    } else {
        Search();
        musicOn = current_ >= 0;
    }
    if (!musicOn)
        return;
    try {
        midi_.Open(QDir(folder_).filePath(files_[current_]));
        midi_.Play();
    } catch (const MusicError& e) {
        Fail(QString::fromStdString(e.what()), musicOn);
    }
}

QString BackgroundMusic::CurrentFileName() const
{
    return current_ >= 0 ? files_[current_] : QString();
}

void BackgroundMusic::Close()
{
    midi_.Stop();
    midi_.Close();
}

void BackgroundMusic::Fail(const QString& message, bool& musicOn)
{
    midi_.Close();
    musicOn = false;
    Report(message);
}

void BackgroundMusic::Report(const QString& message)
{
    if (onError_)
        onError_(message);
    else
        std::fprintf(stderr, "torvella: %s\n", qPrintable(message));
}

} // namespace torvella::audio
