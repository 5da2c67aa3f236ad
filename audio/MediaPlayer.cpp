#include "audio/MediaPlayer.h"

#include "audio/MidiFile.h"

#include <QFile>
#include <QFileInfo>
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <fluidsynth.h>

namespace torvella::audio {

// The synthesiser's settings, chosen for the least processor time and memory at which
// the game's pieces (a handful of simultaneous voices each, no effects of their own)
// still sound clean:
// - the mixer's own rate (22,050 Hz, see AudioDevice): half the work of 44.1 kHz, and
//   the pieces have no content near the top of the audible range;
// - 48 voices: the pieces never hold more than about twenty notes at once, decays
//   included, so no voice is ever stolen; fewer voices also means fewer buffers;
// - no reverb and no chorus: together they cost about as much as the voices at this
//   size, and the pieces are written dry;
// - samples loaded when an instrument is first used, not the whole SoundFont;
// - the song clock driven by the rendering itself, so no timer thread;
// - the gain SDL_mixer gives a song at full music volume (1.2), so the music is as loud
//   as it was when SDL_mixer ran the synthesiser.
struct MediaPlayer::Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    bool floatOutput = false;

    ~Synth()
    {
        Mix_HookMusic(nullptr, nullptr); // waits for a render in progress
        if (player)
            delete_fluid_player(player);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }

    // Runs on the audio thread: the song fills the stream, the effects are mixed on top.
    static void Render(void* self, Uint8* stream, int len)
    {
        auto* s = static_cast<Synth*>(self);
        if (s->floatOutput)
            fluid_synth_write_float(s->synth, len / int(2 * sizeof(float)), stream, 0, 2, stream, 1, 2);
        else
            fluid_synth_write_s16(s->synth, len / int(2 * sizeof(int16_t)), stream, 0, 2, stream, 1, 2);
    }

    void StopSong()
    {
        if (!player)
            return;
        Mix_HookMusic(nullptr, nullptr);
        fluid_player_stop(player);
        delete_fluid_player(player);
        player = nullptr;
        fluid_synth_system_reset(synth); // no note hangs on into the next song
    }
};

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
    const auto fail = [&name](const QString& why) {
        return MusicError(QStringLiteral("The music file \"%1\" cannot be played: %2.").arg(name, why).toStdString());
    };
    if (!device_->Open())
        throw MusicError(QStringLiteral("Music cannot play: %1").arg(device_->Error()).toStdString());
    if (!synth_) {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&frequency, &format, &channels);
        if (channels != 2 || (format != AUDIO_S16SYS && format != AUDIO_F32SYS))
            throw fail(QStringLiteral("the audio device's format is not supported"));
        auto synth = std::make_unique<Synth>();
        synth->floatOutput = format == AUDIO_F32SYS;
        synth->settings = new_fluid_settings();
        if (!synth->settings)
            throw fail(QStringLiteral("the synthesiser cannot start"));
        fluid_settings_setnum(synth->settings, "synth.sample-rate", frequency);
        fluid_settings_setint(synth->settings, "synth.polyphony", 48);
        fluid_settings_setint(synth->settings, "synth.reverb.active", 0);
        fluid_settings_setint(synth->settings, "synth.chorus.active", 0);
        fluid_settings_setint(synth->settings, "synth.dynamic-sample-loading", 1);
        fluid_settings_setint(synth->settings, "synth.lock-memory", 0);
        fluid_settings_setnum(synth->settings, "synth.gain", 1.2);
        fluid_settings_setstr(synth->settings, "player.timing-source", "sample");
        synth->synth = new_fluid_synth(synth->settings);
        if (!synth->synth)
            throw fail(QStringLiteral("the synthesiser cannot start"));
        if (fluid_synth_sfload(synth->synth, QFile::encodeName(soundFont_).constData(), 1) == FLUID_FAILED)
            throw fail(QStringLiteral("the SoundFont \"%1\" cannot be loaded").arg(soundFont_));
        synth_ = std::move(synth);
    }
    // Playing anew always starts at the beginning, which is how a finished file repeats.
    synth_->StopSong();
    synth_->player = new_fluid_player(synth_->synth);
    if (!synth_->player || fluid_player_add(synth_->player, QFile::encodeName(path_).constData()) != FLUID_OK ||
        fluid_player_play(synth_->player) != FLUID_OK)
        throw fail(QStringLiteral("the synthesiser rejects it"));
    Mix_HookMusic(&Synth::Render, synth_.get());
}

void MediaPlayer::Stop()
{
    if (synth_)
        synth_->StopSong();
}

void MediaPlayer::Close()
{
    synth_.reset();
    path_.clear();
    soundFont_.clear();
}

bool MediaPlayer::IsPlaying() const
{
    if (!synth_ || !synth_->player || !device_->IsOpen() ||
        fluid_player_get_status(synth_->player) != FLUID_PLAYER_PLAYING)
        return false;
    // FluidSynth goes on "playing" a finished song while its last notes fade and for a
    // grace period after that, seconds in all; the file itself has ended with its last
    // tick, and that is when the music keeper must see it end to repeat it in time.
    const int total = fluid_player_get_total_ticks(synth_->player);
    return total <= 0 || fluid_player_get_current_tick(synth_->player) < total;
}

} // namespace torvella::audio
