#include "audio/MediaPlayer.h"

#include "audio/AudioDevice.h"
#include "audio/MidiFile.h"

#include <QFile>
#include <QFileInfo>
#include <SDL2/SDL.h>
#include <fluidsynth.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace torvella::audio {

namespace {

// Music needs no prompt start, only a stream that never runs dry: about 93 ms per
// chunk, so the sound server holds that much and a busy moment of the machine passes
// unheard (a stream of 23 ms ran dry several times a minute).
constexpr int kMusicChunkFrames = 2048;

// The synthesiser's settings, chosen for the least processor time and memory at which
// the game's pieces (a handful of simultaneous voices each, no effects of their own)
// still sound clean:
// - the device's rate (22,050 Hz): half the work of 44.1 kHz, and the pieces have no
//   content near the top of the audible range;
// - 48 voices: the pieces never hold more than about twenty notes at once, decays
//   included, so no voice is ever stolen; fewer voices also means fewer buffers;
// - no reverb and no chorus: together they cost about as much as the voices at this
//   size, and the pieces are written dry;
// - samples loaded when an instrument is first used, not the whole SoundFont;
// - the song clock driven by the rendering itself, so no timer thread;
// - the gain SDL_mixer gave a song at full music volume (1.2), turned down by the mix's
//   headroom like the effects.
fluid_settings_t* NewSynthSettings()
{
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings)
        return nullptr;
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setint(settings, "synth.polyphony", 48);
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setnum(settings, "synth.gain", 1.2 * kMixGain);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    return settings;
}

// Whether a song is still playing: FluidSynth goes on "playing" a finished song while its
// last notes fade and for a grace period after that, seconds in all; the file itself has
// ended with its last tick, and that is when the music keeper must see it end to repeat
// it in time.
bool SongRunning(fluid_player_t* player)
{
    if (!player || fluid_player_get_status(player) != FLUID_PLAYER_PLAYING)
        return false;
    const int total = fluid_player_get_total_ticks(player);
    return total <= 0 || fluid_player_get_current_tick(player) < total;
}

// Starting the synthesiser (reading the SoundFont, its first samples, the song) leaves
// about two megabytes freed inside the heap, between blocks still in use, where free()
// alone never gives memory back to the system.
void ReturnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

struct MediaPlayer::Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    bool soundSystem = false;
    SDL_AudioDeviceID device = 0;

    ~Synth()
    {
        if (device)
            SDL_CloseAudioDevice(device); // waits for a render in progress
        if (soundSystem)
            StopSoundSystem();
        if (player)
            delete_fluid_player(player);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }

    // Runs on the music device's thread, under its lock.
    static void Render(void* self, Uint8* stream, int len)
    {
        auto* s = static_cast<Synth*>(self);
        if (s->player)
            fluid_synth_write_s16(s->synth, len / int(2 * sizeof(int16_t)), stream, 0, 2, stream, 1, 2);
        else
            SDL_memset(stream, 0, size_t(len));
    }

    // The caller holds the device's lock (or there is no device yet).
    void StopSong()
    {
        if (!player)
            return;
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

MediaPlayer::MediaPlayer() = default;

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
    const bool starting = !synth_;
    if (starting) {
        auto synth = std::make_unique<Synth>();
        QString error;
        if (!StartSoundSystem(error))
            throw MusicError(QStringLiteral("Music cannot play: %1").arg(error).toStdString());
        synth->soundSystem = true;
        synth->settings = NewSynthSettings();
        synth->synth = synth->settings ? new_fluid_synth(synth->settings) : nullptr;
        if (!synth->synth)
            throw fail(QStringLiteral("the synthesiser cannot start"));
        if (fluid_synth_sfload(synth->synth, QFile::encodeName(soundFont_).constData(), 1) == FLUID_FAILED)
            throw fail(QStringLiteral("the SoundFont \"%1\" cannot be loaded").arg(soundFont_));
        SDL_AudioSpec want{};
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kMusicChunkFrames;
        want.callback = &Synth::Render;
        want.userdata = synth.get();
        // No change of format allowed: SDL converts when the hardware wants another one.
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Music");
        synth->device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (!synth->device)
            throw MusicError(QStringLiteral("Music cannot play: no audio output device could be opened: %1")
                                 .arg(QString::fromUtf8(SDL_GetError()))
                                 .toStdString());
        SDL_PauseAudioDevice(synth->device, 0);
        synth_ = std::move(synth);
    }
    // Playing anew always starts at the beginning, which is how a finished file repeats.
    // The song changes between two renders, so no half-rendered chunk goes out.
    SDL_LockAudioDevice(synth_->device);
    synth_->StopSong();
    synth_->player = new_fluid_player(synth_->synth);
    const bool started = synth_->player && fluid_player_add(synth_->player, QFile::encodeName(path_).constData()) == FLUID_OK &&
                         fluid_player_play(synth_->player) == FLUID_OK;
    if (!started)
        synth_->StopSong();
    SDL_UnlockAudioDevice(synth_->device);
    if (!started)
        throw fail(QStringLiteral("the synthesiser rejects it"));
    if (starting)
        ReturnFreedMemory();
}

void MediaPlayer::Stop()
{
    if (!synth_)
        return;
    SDL_LockAudioDevice(synth_->device);
    synth_->StopSong();
    SDL_UnlockAudioDevice(synth_->device);
}

void MediaPlayer::Close()
{
    synth_.reset();
    path_.clear();
    soundFont_.clear();
}

bool MediaPlayer::IsPlaying() const
{
    return synth_ && SongRunning(synth_->player);
}

std::vector<int16_t> RenderMusicFile(const QString& path)
{
    const QString soundFont = FindSoundFont();
    if (soundFont.isEmpty())
        throw MusicError("no SoundFont is installed");
    MediaPlayer::Synth s;
    s.settings = NewSynthSettings();
    s.synth = s.settings ? new_fluid_synth(s.settings) : nullptr;
    if (!s.synth || fluid_synth_sfload(s.synth, QFile::encodeName(soundFont).constData(), 1) == FLUID_FAILED)
        throw MusicError("the synthesiser cannot start");
    s.player = new_fluid_player(s.synth);
    if (!s.player || fluid_player_add(s.player, QFile::encodeName(path).constData()) != FLUID_OK ||
        fluid_player_play(s.player) != FLUID_OK)
        throw MusicError("the synthesiser rejects " + path.toStdString());
    std::vector<int16_t> out;
    int16_t block[2 * 1024];
    while (SongRunning(s.player)) {
        fluid_synth_write_s16(s.synth, 1024, block, 0, 2, block, 1, 2);
        out.insert(out.end(), std::begin(block), std::end(block));
    }
    return out;
}

} // namespace torvella::audio
