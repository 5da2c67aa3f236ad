// The seven sound clips, synthesised. Each clip has the exact format and data size the
// game expects; every one is normalised below full scale (no clipping) and fades to
// silence at its end so it never stops with a click.
#include "Generators.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace torvella::assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Clip {
    int rate;
    int bits;
    int dataBytes;
    int Samples() const { return dataBytes / (bits / 8); }
};

// Small deterministic noise source (same bytes on every run and machine).
class Noise {
public:
    double Next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state_ >> 11) / double(1ULL << 53) * 2.0 - 1.0;
    }

private:
    uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

double NoteHz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Adds one tone of `partials` (frequency ratio, weight) starting at `start` seconds,
// with a short attack and an exponential decay; partials above Nyquist are left out.
void AddTone(std::vector<double>& out, int rate, double start, double hz, double gain,
             const std::vector<std::pair<double, double>>& partials, double attack, double decay,
             double length = 1e9, double vibratoHz = 0, double vibratoDepth = 0, double release = 0.04)
{
    const int first = int(start * rate);
    std::vector<double> phase(partials.size(), 0.0);
    for (int i = first; i < int(out.size()); ++i) {
        const double t = double(i - first) / rate;
        double env = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        if (t > length) // released: a quick fade rather than a cut
            env *= std::exp(-(t - length) / release);
        if (env < 1e-5 && t > attack)
            break;
        const double f = hz * (1.0 + vibratoDepth * std::sin(2 * kPi * vibratoHz * t));
        double v = 0;
        for (size_t p = 0; p < partials.size(); ++p) {
            const double pf = f * partials[p].first;
            if (pf >= rate * 0.45)
                continue;
            phase[p] += 2 * kPi * pf / rate;
            // Higher partials fade faster, so a tone mellows as it rings.
            v += partials[p].second * std::sin(phase[p]) * std::exp(-t * (p * 1.5));
        }
        out[i] += gain * env * v;
    }
}

// Scales to the given peak and fades the last milliseconds to silence.
void Finish(std::vector<double>& s, int rate, double peak)
{
    const int fade = std::min<int>(int(s.size()), rate / 50);
    for (int i = 0; i < fade; ++i)
        s[s.size() - 1 - i] *= double(i) / fade;
    double max = 0;
    for (double v : s)
        max = std::max(max, std::abs(v));
    if (max > 0)
        for (double& v : s)
            v *= peak / max;
}

QByteArray Riff(const Clip& clip, const std::vector<double>& s)
{
    QByteArray data;
    data.reserve(clip.dataBytes + 1);
    for (double v : s) {
        if (clip.bits == 8) {
            data.append(char(uint8_t(std::clamp<long>(128 + std::lround(v * 127.0), 0, 255))));
        } else {
            const int16_t x = int16_t(std::clamp<long>(std::lround(v * 32767.0), -32768, 32767));
            data.append(char(x & 0xFF));
            data.append(char((x >> 8) & 0xFF));
        }
    }
    if (data.size() != clip.dataBytes) {
        std::fprintf(stderr, "clip data is %lld bytes, expected %d\n", qlonglong(data.size()), clip.dataBytes);
        std::exit(1);
    }
    const bool pad = clip.dataBytes % 2 != 0; // chunks are word-aligned
    auto u32 = [](QByteArray& b, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [](QByteArray& b, uint16_t v) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    };
    QByteArray out;
    out.append("RIFF");
    u32(out, uint32_t(4 + 8 + 16 + 8 + clip.dataBytes + (pad ? 1 : 0)));
    out.append("WAVE");
    out.append("fmt ");
    u32(out, 16);
    u16(out, 1); // PCM
    u16(out, 1); // mono
    u32(out, uint32_t(clip.rate));
    u32(out, uint32_t(clip.rate * clip.bits / 8));
    u16(out, uint16_t(clip.bits / 8));
    u16(out, uint16_t(clip.bits));
    out.append("data");
    u32(out, uint32_t(clip.dataBytes));
    out.append(data);
    if (pad)
        out.append('\0');
    return out;
}

const std::vector<std::pair<double, double>> kBrass = {{1, 1.0}, {2, 0.55}, {3, 0.38}, {4, 0.22}, {5, 0.12}, {6, 0.06}};
const std::vector<std::pair<double, double>> kBell = {{1, 1.0}, {2.76, 0.35}, {5.40, 0.12}};
const std::vector<std::pair<double, double>> kMallet = {{1, 1.0}, {2, 0.18}, {4, 0.06}};

// 1: a short fanfare for a solved tableau, a rising C major call ending on a held chord.
std::vector<double> Fanfare(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    struct N { double at; int note; double len; };
    const N call[] = {{0.00, 67, 0.16}, {0.19, 72, 0.16}, {0.38, 76, 0.16}, {0.57, 79, 0.30},
                      {0.92, 76, 0.14}, {1.10, 79, 2.20}};
    for (const N& n : call)
        AddTone(s, c.rate, n.at, NoteHz(n.note), 1.0, kBrass, 0.025, n.len > 1 ? 1.6 : 0.5, n.len,
                n.len > 1 ? 5.0 : 0, n.len > 1 ? 0.004 : 0, n.len > 1 ? 0.3 : 0.04);
    for (int note : {48, 55, 60, 64}) // the chord beneath the last note
        AddTone(s, c.rate, 1.10, NoteHz(note), 0.35, kBrass, 0.06, 1.5, 2.20, 0, 0, 0.3);
    Finish(s, c.rate, 0.85);
    return s;
}

// 2: a soft wooden click for a cake put on hold, with a low, short body.
std::vector<double> SoftClick(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    AddTone(s, c.rate, 0.0, 1150, 0.6, {{1, 1.0}, {2.3, 0.3}}, 0.001, 0.018);
    AddTone(s, c.rate, 0.0, 330, 0.5, {{1, 1.0}}, 0.002, 0.05);
    Noise noise;
    double lp = 0;
    for (int i = 0; i < c.rate / 200; ++i) { // 5 ms of soft breath at the attack
        lp += 0.3 * (noise.Next() - lp);
        s[i] += 0.25 * lp * (1.0 - double(i) / (c.rate / 200));
    }
    Finish(s, c.rate, 0.6);
    return s;
}

// 3: a bright serving sound, two quick bell notes a fifth apart.
std::vector<double> Serve(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    AddTone(s, c.rate, 0.00, NoteHz(84), 0.8, kBell, 0.002, 0.16);
    AddTone(s, c.rate, 0.09, NoteHz(91), 1.0, kBell, 0.002, 0.22);
    Finish(s, c.rate, 0.8);
    return s;
}

// 4: a whoosh for the jump: noise through a band-pass that sweeps up and back down.
std::vector<double> Whoosh(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    Noise noise;
    double low = 0, band = 0, smooth = 0;
    const double total = double(s.size()) / c.rate;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / c.rate;
        const double x = t / total;
        const double centre = 300 + 1500 * std::pow(std::sin(kPi * std::min(1.0, x * 1.15)), 2.0);
        const double f = 2 * std::sin(kPi * centre / c.rate);
        const double damping = 0.3; // a narrow band: air rushing past, not hiss
        const double high = noise.Next() - low - damping * band;
        band += f * high;
        low += f * band;
        const double env = std::pow(std::sin(kPi * std::pow(x, 0.7)), 2.0);
        smooth += 0.35 * (band - smooth); // takes the edge off the top
        s[i] = smooth * env;
    }
    Finish(s, c.rate, 0.75);
    return s;
}

// 5: a short, dry tick.
std::vector<double> Tick(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    AddTone(s, c.rate, 0.0, 3100, 0.7, {{1, 1.0}}, 0.0005, 0.004);
    AddTone(s, c.rate, 0.0, 1250, 0.5, {{1, 1.0}, {2.7, 0.2}}, 0.0008, 0.011);
    Finish(s, c.rate, 0.7);
    return s;
}

// 6: a dull refusal: a low bump whose pitch sags.
std::vector<double> Refuse(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / c.rate;
        const double hz = 150 - 40 * t / 0.18;
        phase += 2 * kPi * hz / c.rate;
        const double env = (t < 0.006 ? t / 0.006 : 1.0) * std::exp(-t / 0.06);
        s[i] = env * (std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.12 * std::sin(3 * phase));
    }
    Finish(s, c.rate, 0.8);
    return s;
}

// 7: a falling melody for a tableau with no move left, slowing towards its last note.
std::vector<double> Falling(const Clip& c)
{
    std::vector<double> s(c.Samples(), 0.0);
    struct N { double at; int note; double decay; };
    const N tune[] = {{0.00, 79, 0.35}, {0.30, 76, 0.35}, {0.62, 72, 0.38}, {0.98, 69, 0.45},
                      {1.40, 65, 0.55}, {1.90, 64, 0.85}};
    for (const N& n : tune)
        AddTone(s, c.rate, n.at, NoteHz(n.note), 1.0, kMallet, 0.004, n.decay, 1e9, 4.5,
                n.decay > 0.8 ? 0.003 : 0);
    AddTone(s, c.rate, 1.90, NoteHz(52), 0.4, kMallet, 0.01, 0.8); // a soft low octave under the end
    Finish(s, c.rate, 0.8);
    return s;
}

} // namespace

void WriteSoundClips(const QDir& assets)
{
    const Clip clips[7] = {{11025, 8, 41470}, {22050, 8, 11302}, {11025, 8, 8292}, {22050, 8, 32529},
                           {44100, 16, 25600}, {11025, 8, 1961}, {11025, 8, 43482}};
    std::vector<double> (*const make[7])(const Clip&) = {Fanfare, SoftClick, Serve, Whoosh, Tick, Refuse, Falling};
    assets.mkpath(QStringLiteral("sounds"));
    for (int i = 0; i < 7; ++i) {
        const QString path = assets.filePath(QStringLiteral("sounds/sound%1.wav").arg(i + 1));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(Riff(clips[i], make[i](clips[i]))) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
}

} // namespace torvella::assetgen
