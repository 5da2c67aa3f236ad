// The game's sound through a desktop sound server: a private PulseAudio server with a
// null sink, its output recorded, the audio module driven with the calls the window makes
// (the keeper every 1.6 s, the idle check every 100 ms, a sound at each click).
//
//   bench_sound_server [--music SECONDS] [--peak SECONDS] [--latency] [--program-folder DIR] [PIECE.mid ...]
//
// Reports per piece: dropouts (silence the server put in because the music stream ran
// dry, from the recording and from the server's log), loudness and peak; the peak of
// the sound effects played over each piece; the time from a click to its sound with the
// device open and reopened after the quiet close. TORVELLA_PULSE_LOG=FILE keeps the
// server's log of the music runs. Run by bench/sound_server.sh.
#include "../tests/audio/PulseRig.h"
#include "assets/Sounds.h"
#include "audio/AudioLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace torvella::testing;
using torvella::audio::AudioService;
using Clock = std::chrono::steady_clock;

namespace {

QString g_programFolder;

std::unique_ptr<AudioService> Audio(const QString& musicFolder)
{
    QList<QByteArray> clips;
    for (int n = 1; n <= 7; ++n)
        clips.append(torvella::assets::Wave(n));
    auto audio = torvella::audio::CreateAudio(g_programFolder, clips);
    audio->SetErrorHandler([](const QString& m) { std::fprintf(stderr, "audio: %s\n", qPrintable(m)); });
    audio->StartUp(musicFolder);
    return audio;
}

// Runs the window's timer for `seconds`: Idle every tick, the keeper every sixteenth.
void Ticks(AudioService& audio, double seconds, bool& musicOn, const std::function<void(int)>& perTick = {})
{
    const auto start = Clock::now();
    for (int tick = 0; Clock::now() - start < std::chrono::duration<double>(seconds); ++tick) {
        if (tick % 16 == 0)
            audio.KeepMusicPlaying(true, musicOn);
        if (perTick)
            perTick(tick);
        audio.Idle();
        std::this_thread::sleep_until(start + std::chrono::milliseconds(100 * (tick + 1)));
    }
}

struct Piece {
    QString name;
    QTemporaryDir folder;
};

void Music(PulseServer& server, Piece& piece, double seconds)
{
    const size_t logBefore = server.Log().size();
    MonitorRecording rec;
    if (!rec.Ok() || !rec.WaitUntilFlowing()) {
        std::printf("%s: %s\n", qPrintable(piece.name), rec.Error().c_str());
        return;
    }
    {
        auto audio = Audio(piece.folder.path() + QLatin1Char('/'));
        bool musicOn = true;
        Ticks(*audio, seconds, musicOn);
        audio->ToggleMusic(musicOn);
    }
    rec.Stop();
    const std::string log = server.Log().substr(logBefore);
    if (const char* keep = getenv("TORVELLA_PULSE_LOG")) {
        QFile f(QString::fromLocal8Bit(keep));
        if (f.open(QIODevice::Append))
            f.write(log.data(), qint64(log.size()));
    }
    const std::vector<Gap> gaps = FindGaps(rec.Samples(), rec.kRate);
    const double minutes = double(rec.Frames()) / rec.kRate / 60;
    double longest = 0;
    for (const Gap& g : gaps)
        longest = std::max(longest, g.lengthMs);
    std::printf("%-14s %4.0f s  dropouts %3zu (%5.1f/min, longest %5.1f ms)  underruns in the server's log %3d "
                "(%5.1f/min)  loudness %6.1f dBFS  peak %6.1f dBFS  streams:",
                qPrintable(piece.name), minutes * 60, gaps.size(), gaps.size() / minutes, longest, Underruns(log),
                Underruns(log) / minutes, LoudnessDb(rec.Samples(), rec.kRate), PeakDb(rec.Samples()));
    for (const StreamLatency& s : StreamLatencies(log))
        std::printf(" \"%s\" %.1f ms", s.name.c_str(), s.ms);
    std::printf("\n");
    std::fflush(stdout);
}

// Every sound the game plays, each over the music and to its end, again and again.
void Peak(Piece& piece, double seconds)
{
    MonitorRecording rec;
    if (!rec.Ok() || !rec.WaitUntilFlowing())
        return;
    {
        auto audio = Audio(piece.folder.path() + QLatin1Char('/'));
        bool musicOn = true;
        static const int kSounds[] = {1, 2, 3, 4, 6, 7};
        static const int kTicks[] = {40, 7, 9, 17, 4, 41}; // each clip's length and a little
        int next = 0, due = 20;
        Ticks(*audio, seconds, musicOn, [&](int tick) {
            if (tick != due)
                return;
            audio->PlaySound(kSounds[next], true);
            due += kTicks[next];
            next = (next + 1) % 6;
        });
        audio->ToggleMusic(musicOn);
    }
    rec.Stop();
    std::printf("%-14s effects over the music: peak %6.2f dBFS, %zu samples at full scale\n", qPrintable(piece.name),
                PeakDb(rec.Samples()), FullScaleSamples(rec.Samples()));
    std::fflush(stdout);
}

void Latency()
{
    MonitorRecording rec;
    if (!rec.Ok() || !rec.WaitUntilFlowing())
        return;
    QTemporaryDir noMusic;
    auto audio = Audio(noMusic.path() + QLatin1Char('/'));
    bool musicOn = false;
    std::vector<Clock::time_point> open, reopened;
    audio->PlaySound(6, true); // loads the module and opens the device
    Ticks(*audio, 1.0, musicOn);
    for (int i = 0; i < 10; ++i) {
        open.push_back(Clock::now());
        audio->PlaySound(6, true);
        Ticks(*audio, 0.8 + 0.037 * i, musicOn); // never on the same phase of the device's period
    }
    for (int i = 0; i < 6; ++i) {
        Ticks(*audio, 3.0 + 0.037 * i, musicOn); // past the quiet close
        reopened.push_back(Clock::now());
        audio->PlaySound(6, true);
    }
    Ticks(*audio, 0.5, musicOn);
    audio.reset();
    rec.Stop();
    const auto report = [&rec](const char* what, const std::vector<Clock::time_point>& clicks) {
        std::vector<double> ms;
        for (Clock::time_point t : clicks) {
            const size_t at = Onset(rec.Samples(), rec.FrameAfter(t));
            if (at != SIZE_MAX)
                ms.push_back(std::chrono::duration<double, std::milli>(rec.Arrival(at) - t).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("click to sound, device %-9s %2zu of %2zu heard:", what, ms.size(), clicks.size());
        if (!ms.empty())
            std::printf(" min %5.1f  median %5.1f  max %5.1f ms", ms.front(), ms[ms.size() / 2], ms.back());
        std::printf("\n");
    };
    report("open", open);
    report("reopened", reopened);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // With no choice, everything: three minutes of each piece, the effects, the latency.
    double musicSeconds = 0, peakSeconds = 0;
    bool latency = false;
    QStringList pieces;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--music" && i + 1 < args.size())
            musicSeconds = args[++i].toDouble();
        else if (args[i] == "--peak" && i + 1 < args.size())
            peakSeconds = args[++i].toDouble();
        else if (args[i] == "--program-folder" && i + 1 < args.size())
            g_programFolder = args[++i] + QLatin1Char('/');
        else if (args[i] == "--latency")
            latency = true;
        else
            pieces << args[i];
    }
    if (musicSeconds <= 0 && peakSeconds <= 0 && !latency) {
        musicSeconds = 180;
        peakSeconds = 36;
        latency = true;
    }
    if (g_programFolder.isEmpty())
        g_programFolder = QStringLiteral(TORVELLA_PROGRAM_DIR "/");
    // The music comes from a folder of its own; the module from the program folder.
    qputenv("TORVELLA_MODULE_DIR", g_programFolder.toLocal8Bit());
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
    if (pieces.isEmpty())
        pieces = QDir(g_programFolder).entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);

    PulseServer server;
    if (!server.Running()) {
        std::printf("skipped: %s\n", server.Why().c_str());
        return 0;
    }
    std::vector<std::unique_ptr<Piece>> folders;
    for (const QString& name : pieces) {
        auto p = std::make_unique<Piece>();
        p->name = QFileInfo(name).fileName();
        const QString source = QFileInfo(name).isAbsolute() ? name : g_programFolder + name;
        if (!QFile::copy(source, p->folder.filePath(p->name))) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(source));
            return 1;
        }
        folders.push_back(std::move(p));
    }
    for (auto& p : folders)
        if (musicSeconds > 0)
            Music(server, *p, musicSeconds);
    for (auto& p : folders)
        if (peakSeconds > 0)
            Peak(*p, peakSeconds);
    if (latency)
        Latency();
    return 0;
}
