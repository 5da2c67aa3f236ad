#include "audio/MediaPlayer.h"

#include "audio/MidiFile.h"

#include <QFile>
#include <QFileInfo>
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

namespace torvella::audio {

QString FindSoundFont()
{
    const QString chosen = qEnvironmentVariable("TORVELLA_SOUNDFONT");
    if (!chosen.isEmpty())
        return QFileInfo(chosen).isReadable() ? chosen : QString();
    static const char* const kKnown[] = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    };
    for (const char* path : kKnown)
        if (QFileInfo(QString::fromLatin1(path)).isReadable())
            return QString::fromLatin1(path);
    return {};
}

MediaPlayer::MediaPlayer(std::shared_ptr<AudioDevice> device)
    : device_(std::move(device))
{
}

MediaPlayer::~MediaPlayer()
{
    Close();
}

void MediaPlayer::Open(const QString& path)
{
    Close();
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw MusicError(QStringLiteral("The music file \"%1\" cannot be read: %2.").arg(name, file.errorString()).toStdString());
    const MidiInfo info = ParseMidi(file.readAll());
    if (!info.ok)
        throw MusicError(QStringLiteral("The music file \"%1\" cannot be played: %2.").arg(name, info.error).toStdString());
    const QString soundFont = FindSoundFont();
    if (soundFont.isEmpty()) {
        const QString chosen = qEnvironmentVariable("TORVELLA_SOUNDFONT");
        throw MusicError((chosen.isEmpty()
                              ? QStringLiteral("Music needs a General MIDI SoundFont, and none is installed "
                                               "(for example the package timgm6mb-soundfont).")
                              : QStringLiteral("The SoundFont \"%1\" named by TORVELLA_SOUNDFONT cannot be read.").arg(chosen))
                             .toStdString());
    }
    path_ = path;
    soundFont_ = soundFont;
}

void MediaPlayer::Play()
{
    if (!IsOpen())
        throw MusicError("No music file is open.");
    if (IsPlaying())
        return;
    const QString name = QFileInfo(path_).fileName();
    if (!music_) {
        if (!device_->Open())
            throw MusicError(QStringLiteral("Music cannot play: %1").arg(device_->Error()).toStdString());
        Mix_SetSoundFonts(QFile::encodeName(soundFont_).constData());
        music_ = Mix_LoadMUS(QFile::encodeName(path_).constData());
        if (!music_)
            throw MusicError(QStringLiteral("The music file \"%1\" cannot be played: %2.")
                                 .arg(name, QString::fromUtf8(SDL_GetError()))
                                 .toStdString());
    }
    // Playing anew always starts at the beginning, which is how a finished file repeats.
    if (Mix_PlayMusic(music_, 0) != 0)
        throw MusicError(QStringLiteral("The music file \"%1\" cannot be played: %2.")
                             .arg(name, QString::fromUtf8(SDL_GetError()))
                             .toStdString());
}

void MediaPlayer::Stop()
{
    if (IsPlaying())
        Mix_HaltMusic();
}

void MediaPlayer::Close()
{
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    path_.clear();
    soundFont_.clear();
}

bool MediaPlayer::IsPlaying() const
{
    return music_ && device_->IsOpen() && Mix_PlayingMusic() != 0;
}

} // namespace torvella::audio
