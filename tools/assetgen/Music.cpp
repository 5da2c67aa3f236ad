// The background music: three calm pieces of our own, written out here note by note and
// arranged as General MIDI format-1 files. Names sort in play order.
#include "Generators.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace torvella::assetgen {

namespace {

constexpr int kTicksPerBeat = 480;

[[noreturn]] void Die(const std::string& why)
{
    std::fprintf(stderr, "music: %s\n", why.c_str());
    std::exit(1);
}

int PitchClass(const std::string& s, size_t& i)
{
    static const int kBase[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (i >= s.size() || s[i] < 'A' || s[i] > 'G')
        Die("bad note name in \"" + s + "\"");
    int pc = kBase[s[i++] - 'A'];
    if (i < s.size() && s[i] == '#') {
        ++pc;
        ++i;
    } else if (i < s.size() && s[i] == 'b') {
        --pc;
        ++i;
    }
    return (pc + 12) % 12;
}

struct Event {
    int64_t tick;
    int order; // at the same tick: controls, then note-offs, then note-ons
    std::vector<uint8_t> bytes;
};

class Track {
public:
    explicit Track(std::string name) : name_(std::move(name)) {}
    void Add(int64_t tick, int order, std::vector<uint8_t> bytes) { events_.push_back({tick, order, std::move(bytes)}); }
    void Note(int channel, int64_t tick, int64_t length, int key, int velocity)
    {
        if (key < 0 || key > 127)
            Die("note out of range");
        velocity = std::clamp(velocity, 1, 127);
        Add(tick, 2, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)});
        Add(tick + std::max<int64_t>(1, length), 1, {uint8_t(0x80 | channel), uint8_t(key), 0});
    }
    void Setup(int channel, int program, int volume, int pan, int reverb)
    {
        Add(0, 0, {uint8_t(0xC0 | channel), uint8_t(program)});
        Add(0, 0, {uint8_t(0xB0 | channel), 7, uint8_t(volume)});
        Add(0, 0, {uint8_t(0xB0 | channel), 10, uint8_t(pan)});
        Add(0, 0, {uint8_t(0xB0 | channel), 91, uint8_t(reverb)});
    }
    void Program(int channel, int64_t tick, int program) { Add(tick, 0, {uint8_t(0xC0 | channel), uint8_t(program)}); }

    QByteArray Chunk(int64_t end) const
    {
        std::vector<Event> ev = events_;
        std::stable_sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        QByteArray body;
        auto vlq = [&body](uint64_t v) {
            uint8_t buf[10];
            int n = 0;
            buf[n++] = v & 0x7F;
            while (v >>= 7)
                buf[n++] = uint8_t(0x80 | (v & 0x7F));
            while (n)
                body.append(char(buf[--n]));
        };
        // Track name first.
        vlq(0);
        body.append(char(0xFF));
        body.append(char(0x03));
        vlq(name_.size());
        body.append(name_.data(), qsizetype(name_.size()));
        int64_t at = 0;
        for (const Event& e : ev) {
            vlq(uint64_t(e.tick - at));
            at = e.tick;
            for (uint8_t b : e.bytes)
                body.append(char(b));
        }
        vlq(uint64_t(std::max<int64_t>(0, end - at)));
        body.append("\xFF\x2F\x00", 3); // end of track
        QByteArray chunk("MTrk");
        for (int i = 3; i >= 0; --i)
            chunk.append(char((body.size() >> (8 * i)) & 0xFF));
        chunk.append(body);
        return chunk;
    }

private:
    std::string name_;
    std::vector<Event> events_;
};

// A chord symbol: root, "m" for minor, "7" for an added minor seventh.
struct Chord {
    int root;          // pitch class
    bool minor;
    bool seventh;
    int Third() const { return minor ? 3 : 4; }
};

Chord ParseChord(const std::string& s)
{
    size_t i = 0;
    Chord c{PitchClass(s, i), false, false};
    if (i < s.size() && s[i] == 'm') {
        c.minor = true;
        ++i;
    }
    if (i < s.size() && s[i] == '7') {
        c.seventh = true;
        ++i;
    }
    if (i != s.size())
        Die("bad chord \"" + s + "\"");
    return c;
}

// The chord changes of one bar: "F" or "Gm C" (the bar split evenly).
std::vector<Chord> BarChords(const std::string& bar)
{
    std::vector<Chord> out;
    size_t i = 0;
    while (i < bar.size()) {
        const size_t j = bar.find(' ', i);
        const std::string word = bar.substr(i, j == std::string::npos ? std::string::npos : j - i);
        if (!word.empty())
            out.push_back(ParseChord(word));
        if (j == std::string::npos)
            break;
        i = j + 1;
    }
    if (out.empty())
        Die("empty bar of chords");
    return out;
}

// The lowest key of pitch class pc at or above `from`.
int KeyAtOrAbove(int pc, int from)
{
    int k = from;
    while ((k % 12 + 12) % 12 != pc)
        ++k;
    return k;
}

struct Piece {
    int beatsPerBar;
    std::vector<double> tempo;      // bpm per bar from the first; the last value holds on
    std::vector<std::string> chords; // one entry per bar
    int64_t BarTick(int bar) const { return int64_t(bar) * beatsPerBar * kTicksPerBeat; }
};

// A melody line: "A4:1 C5:1.5 r:0.5 | ..." with lengths in beats; each "|" checks that
// the bar is complete, which catches slips in the writing-out.
void AddMelody(Track& track, int channel, const Piece& piece, int startBar, const std::string& line,
               int velocity, double legato, int transpose = 0)
{
    int64_t tick = piece.BarTick(startBar);
    int64_t barStart = tick;
    const int64_t barLength = piece.BarTick(1);
    size_t i = 0;
    int barIndex = 0;
    auto endBar = [&] {
        if (tick - barStart != barLength)
            Die("melody bar " + std::to_string(barIndex + 1) + " has the wrong length in \"" + line + "\"");
        barStart = tick;
        ++barIndex;
    };
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        if (line[i] == '|') {
            endBar();
            ++i;
            continue;
        }
        const size_t end = std::min(line.find(' ', i), line.size());
        const std::string word = line.substr(i, end - i);
        i = end;
        const size_t colon = word.find(':');
        if (colon == std::string::npos)
            Die("bad melody word \"" + word + "\"");
        const int64_t length = std::llround(std::stod(word.substr(colon + 1)) * kTicksPerBeat);
        if (word[0] != 'r') {
            size_t p = 0;
            const int pc = PitchClass(word, p);
            const int octave = std::stoi(word.substr(p, colon - p));
            const int key = 12 * (octave + 1) + pc + transpose;
            // A gentle swell over each bar and a little weight on the downbeat.
            const double inBar = double(tick - barStart) / barLength;
            const int accent = (tick == barStart ? 6 : 0) + int(std::lround(5 * std::sin(3.14159 * inBar)));
            track.Note(channel, tick, int64_t(length * legato), key, velocity + accent);
        }
        tick += length;
    }
    if (tick != barStart)
        endBar();
}

// Broken chords: `pattern` holds steps through the chord, in notes per beat `perBeat`;
// each step is (chord tone, octave above the bass) with tone 0 root, 1 third, 2 fifth.
void AddBrokenChords(Track& track, int channel, const Piece& piece, int fromBar, int toBar,
                     const std::vector<std::pair<int, int>>& pattern, int perBeat, int bassFrom, int velocity,
                     double legato)
{
    const int64_t step = kTicksPerBeat / perBeat;
    for (int bar = fromBar; bar < toBar; ++bar) {
        const std::vector<Chord> chords = BarChords(piece.chords[bar]);
        const int stepsPerChord = piece.beatsPerBar * perBeat / int(chords.size());
        for (size_t c = 0; c < chords.size(); ++c) {
            const Chord& chord = chords[c];
            const int bass = KeyAtOrAbove(chord.root, bassFrom);
            for (int s = 0; s < stepsPerChord; ++s) {
                const auto [tone, octave] = pattern[s % pattern.size()];
                const int interval = tone == 0 ? 0 : tone == 1 ? chord.Third() : tone == 2 ? 7 : (chord.seventh ? 10 : 12);
                const int64_t at = piece.BarTick(bar) + int64_t(c * stepsPerChord + s) * step;
                const int v = velocity + (s == 0 ? 8 : 0) - (s % 2 ? 4 : 0);
                track.Note(channel, at, int64_t(step * legato), bass + interval + 12 * octave, v);
            }
        }
    }
}

// A soft sustained chord per chord change.
void AddPad(Track& track, int channel, const Piece& piece, int fromBar, int toBar, int low, int velocity)
{
    for (int bar = fromBar; bar < toBar; ++bar) {
        const std::vector<Chord> chords = BarChords(piece.chords[bar]);
        const int64_t length = piece.BarTick(1) / int64_t(chords.size());
        for (size_t c = 0; c < chords.size(); ++c) {
            const Chord& chord = chords[c];
            const int64_t at = piece.BarTick(bar) + int64_t(c) * length;
            const int root = KeyAtOrAbove(chord.root, low);
            for (int interval : {0, chord.Third(), 7})
                track.Note(channel, at, length - 10, KeyAtOrAbove((chord.root + interval) % 12, root), velocity);
        }
    }
}

// A final chord, rolled upward and held.
void AddFinalChord(Track& track, int channel, const Piece& piece, int bar, int bassFrom, int velocity)
{
    const Chord chord = BarChords(piece.chords[bar]).front();
    const int bass = KeyAtOrAbove(chord.root, bassFrom);
    const int keys[] = {bass, bass + 7, bass + 12, bass + 12 + chord.Third(), bass + 19};
    for (int i = 0; i < 5; ++i)
        track.Note(channel, piece.BarTick(bar) + i * 60, piece.BarTick(1) + kTicksPerBeat - i * 60, keys[i], velocity - 3 * i);
}

QByteArray Assemble(const Piece& piece, const std::string& title, int keySharps, const std::vector<Track>& tracks)
{
    const int bars = int(piece.chords.size());
    const int64_t end = piece.BarTick(bars) + 2 * kTicksPerBeat; // room for the last chord to ring
    Track conductor(title);
    conductor.Add(0, 0, {0xFF, 0x58, 0x04, uint8_t(piece.beatsPerBar), 0x02, 24, 8});
    conductor.Add(0, 0, {0xFF, 0x59, 0x02, uint8_t(int8_t(keySharps)), 0x00});
    double last = -1;
    for (int bar = 0; bar < bars; ++bar) {
        const double bpm = piece.tempo[std::min<size_t>(bar, piece.tempo.size() - 1)];
        if (bpm == last)
            continue;
        last = bpm;
        const uint32_t us = uint32_t(std::lround(60e6 / bpm));
        conductor.Add(piece.BarTick(bar), 0, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
    }
    QByteArray file("MThd");
    file.append("\0\0\0\x06", 4);
    file.append("\0\x01", 2);                                  // format 1
    const int count = int(tracks.size()) + 1;
    file.append(char(count >> 8));
    file.append(char(count & 0xFF));
    file.append(char(kTicksPerBeat >> 8));
    file.append(char(kTicksPerBeat & 0xFF));
    file.append(conductor.Chunk(end));
    for (const Track& t : tracks)
        file.append(t.Chunk(end));
    return file;
}

// Tempo for every bar: steady, then easing off over the last two bars.
std::vector<double> TempoWithEnding(int bars, double bpm)
{
    std::vector<double> t(bars, bpm);
    t[bars - 2] = std::round(bpm * 0.9);
    t[bars - 1] = std::round(bpm * 0.78);
    return t;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// GM programs used.
constexpr int kPiano = 0, kVibraphone = 11, kNylonGuitar = 24, kHarp = 46, kStrings = 48, kSlowStrings = 49,
              kClarinet = 71, kFlute = 73;

// "Morning": F major, 4/4, a flute and a clarinet take turns over harp arpeggios.
QByteArray Morning()
{
    const std::vector<std::string> a = {"F", "Dm", "Bb", "C", "F", "Dm", "Gm C", "F"};
    const std::vector<std::string> b = {"Bb", "C", "Am", "Dm", "Gm", "C", "F", "C"};
    const std::string ma = "A4:1 C5:1 F5:1.5 E5:0.5 | D5:2 A4:1 F4:1 | D5:1 C5:1 Bb4:1 D5:1 | C5:1.5 Bb4:0.5 A4:1 G4:1 |"
                           "A4:1 C5:1 F5:1 G5:1 | A5:2 F5:1 D5:1 | Bb4:1 D5:1 E5:1 G5:1 | F5:3 r:1";
    const std::string mb = "F5:1.5 D5:0.5 Bb4:2 | C5:1 E5:1 G5:2 | A5:1.5 G5:0.5 E5:1 C5:1 | D5:3 F5:1 |"
                           "G5:1 F5:1 D5:1 Bb4:1 | C5:1 E5:1 G5:1 E5:1 | F5:2 C5:1 A4:1 | G4:2 r:2";
    Piece piece{4, {}, Join({{"F", "F"}, a, b, a, b, a, {"Bb", "F"}})};
    const int bars = int(piece.chords.size());
    piece.tempo = TempoWithEnding(bars, 92);

    Track flute("Flute"), clarinet("Clarinet"), harp("Harp"), strings("Strings");
    flute.Setup(0, kFlute, 100, 60, 50);
    clarinet.Setup(1, kClarinet, 96, 68, 50);
    harp.Setup(2, kHarp, 92, 46, 60);
    strings.Setup(3, kSlowStrings, 62, 84, 70);
    AddMelody(flute, 0, piece, 2, ma, 80, 0.92);
    AddMelody(flute, 0, piece, 10, mb, 80, 0.92);
    AddMelody(clarinet, 1, piece, 18, ma, 78, 0.95, -12);
    AddMelody(clarinet, 1, piece, 26, mb, 78, 0.95, -12);
    AddMelody(flute, 0, piece, 34, ma, 82, 0.92);
    AddMelody(flute, 0, piece, 42, "D5:2 C5:2 | A4:4", 74, 0.97);
    AddBrokenChords(harp, 2, piece, 0, bars - 1, {{0, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 1}, {0, 1}, {2, 0}}, 2, 41, 58, 1.6);
    AddFinalChord(harp, 2, piece, bars - 1, 41, 64);
    AddPad(strings, 3, piece, 10, bars, 53, 44);
    return Assemble(piece, "Morning", -1, {flute, clarinet, harp, strings});
}

// "Garden": G major waltz, a clarinet then a flute over a nylon guitar.
QByteArray Garden()
{
    const std::vector<std::string> a = {"G", "G", "C", "G", "Em", "Am", "D", "D7", "G", "G", "C", "A", "G", "D", "G", "G"};
    const std::vector<std::string> b = {"C", "D", "G", "Em", "Am", "D", "G", "G"};
    const std::string ma = "D5:2 B4:1 | G4:2 B4:1 | C5:1 E5:1 G5:1 | D5:3 | E5:1.5 D5:0.5 B4:1 | C5:2 A4:1 |"
                           "F#4:1 A4:1 D5:1 | D5:2 C5:1 | B4:2 D5:1 | G5:2 F#5:1 | E5:1.5 D5:0.5 C5:1 |"
                           "C#5:1 E5:1 A5:1 | G5:1 D5:1 B4:1 | A4:2 F#4:1 | G4:3 | r:3";
    const std::string mb = "E5:2 G5:1 | F#5:2 A5:1 | G5:1 D5:1 B4:1 | E5:3 | C5:1 E5:1 A5:1 | F#5:1.5 E5:0.5 D5:1 |"
                           "D5:1 B4:1 A4:1 | G4:3";
    Piece piece{3, {}, Join({{"G", "C", "D7", "G"}, a, b, a, b, a, {"C", "G"}})};
    const int bars = int(piece.chords.size());
    piece.tempo = TempoWithEnding(bars, 100);

    Track clarinet("Clarinet"), flute("Flute"), guitar("Guitar"), strings("Strings");
    clarinet.Setup(0, kClarinet, 96, 58, 50);
    flute.Setup(1, kFlute, 96, 70, 50);
    guitar.Setup(2, kNylonGuitar, 100, 50, 55);
    strings.Setup(3, kStrings, 55, 86, 70);
    AddMelody(clarinet, 0, piece, 4, ma, 78, 0.95);
    AddMelody(clarinet, 0, piece, 20, mb, 78, 0.95);
    AddMelody(flute, 1, piece, 28, ma, 80, 0.9);
    AddMelody(flute, 1, piece, 44, mb, 80, 0.9);
    AddMelody(clarinet, 0, piece, 52, ma, 80, 0.95);
    AddMelody(clarinet, 0, piece, 68, "E5:1 D5:1 C5:1 | B4:3", 72, 0.97);
    // Waltz: the bass on one, the chord on two and three.
    for (int bar = 0; bar < bars - 1; ++bar) {
        const Chord chord = BarChords(piece.chords[bar]).front();
        const int bass = KeyAtOrAbove(chord.root, 40);
        const int64_t at = piece.BarTick(bar);
        // Every other bar the bass takes the fifth below the root for a gentle sway.
        const int low = bar % 2 ? (bass - 5 >= 36 ? bass - 5 : bass + 7) : bass;
        guitar.Note(2, at, kTicksPerBeat - 20, low, 70);
        for (int beat = 1; beat <= 2; ++beat)
            for (int interval : {chord.Third(), 7, chord.seventh ? 10 : 12})
                guitar.Note(2, at + beat * kTicksPerBeat, kTicksPerBeat - 40, bass + 12 + interval, beat == 1 ? 56 : 50);
    }
    AddFinalChord(guitar, 2, piece, bars - 1, 40, 66);
    AddPad(strings, 3, piece, 20, bars, 55, 42);
    return Assemble(piece, "Garden", 1, {clarinet, flute, guitar, strings});
}

// "Evening": D major, slow; a piano melody, then a vibraphone, over rolling piano chords.
QByteArray Evening()
{
    const std::vector<std::string> a = {"D", "Bm", "G", "A", "D", "Bm", "Em A", "D"};
    const std::vector<std::string> b = {"G", "D", "Em", "Bm", "G", "D", "Em A", "D"};
    const std::string ma = "F#5:2 E5:1 D5:1 | D5:2 B4:2 | B4:1 D5:1 G5:2 | E5:3 r:1 | F#5:1 A5:1 F#5:1 D5:1 |"
                           "F#5:2 D5:1 B4:1 | G5:1 E5:1 C#5:1 E5:1 | D5:4";
    const std::string mb = "G5:1.5 F#5:0.5 D5:2 | A5:2 F#5:2 | G5:1 E5:1 B4:2 | D5:1 C#5:1 B4:2 | B4:1 D5:1 G5:2 |"
                           "F#5:1.5 E5:0.5 D5:2 | E5:2 C#5:2 | D5:3 r:1";
    Piece piece{4, {}, Join({{"D", "A"}, a, b, a, b, a, {"G", "D"}})};
    const int bars = int(piece.chords.size());
    piece.tempo = TempoWithEnding(bars, 72);

    Track melody("Piano melody"), vibes("Vibraphone"), chords("Piano chords"), pad("Strings");
    // Piano and vibraphone sound softer than winds and harp at the same settings: the
    // channel volumes and velocities sit higher here so that this piece is as loud as
    // the other two.
    melody.Setup(0, kPiano, 115, 64, 55);
    vibes.Setup(1, kVibraphone, 106, 70, 60);
    chords.Setup(2, kPiano, 95, 54, 60);
    pad.Setup(3, kSlowStrings, 67, 80, 75);
    AddMelody(melody, 0, piece, 2, ma, 96, 0.98);
    AddMelody(melody, 0, piece, 10, mb, 96, 0.98);
    AddMelody(vibes, 1, piece, 18, ma, 99, 0.95);
    AddMelody(vibes, 1, piece, 26, mb, 99, 0.95);
    AddMelody(melody, 0, piece, 34, ma, 94, 0.98);
    AddMelody(melody, 0, piece, 42, "B4:2 A4:2 | D5:4", 85, 1.0);
    AddBrokenChords(chords, 2, piece, 0, bars - 1, {{0, 0}, {2, 0}, {1, 1}, {2, 0}}, 1, 38, 58, 1.9);
    AddFinalChord(chords, 2, piece, bars - 1, 38, 67);
    AddPad(pad, 3, piece, 2, bars, 54, 46);
    return Assemble(piece, "Evening", 2, {melody, vibes, chords, pad});
}

} // namespace

void WriteMusicFiles(const QDir& assets)
{
    assets.mkpath(QStringLiteral("music"));
    const std::pair<const char*, QByteArray> files[] = {
        {"a_morning.mid", Morning()}, {"b_garden.mid", Garden()}, {"c_evening.mid", Evening()}};
    for (const auto& [name, bytes] : files) {
        const QString path = assets.filePath(QStringLiteral("music/") + QString::fromLatin1(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
}

} // namespace torvella::assetgen
