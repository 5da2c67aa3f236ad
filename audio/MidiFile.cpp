#include "audio/MidiFile.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace torvella::audio {

namespace {

struct Reader {
    const unsigned char* p;
    const unsigned char* end;
    bool Has(qsizetype n) const { return end - p >= n; }
    uint32_t Be(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | *p++;
        return v;
    }
    // Variable-length quantity: at most four bytes.
    bool Vlq(uint32_t& v)
    {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            if (p >= end)
                return false;
            unsigned char b = *p++;
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
};

MidiInfo Fail(MidiInfo info, const QString& why)
{
    info.ok = false;
    info.error = why;
    return info;
}

} // namespace

MidiInfo ParseMidi(const QByteArray& bytes)
{
    MidiInfo info;
    Reader r{reinterpret_cast<const unsigned char*>(bytes.constData()),
             reinterpret_cast<const unsigned char*>(bytes.constData()) + bytes.size()};
    if (!r.Has(14) || std::string_view(reinterpret_cast<const char*>(r.p), 4) != "MThd")
        return Fail(info, QStringLiteral("not a standard MIDI file (no MThd header)"));
    r.p += 4;
    const uint32_t headerLength = r.Be(4);
    if (headerLength < 6 || !r.Has(headerLength))
        return Fail(info, QStringLiteral("the MIDI header is damaged"));
    info.format = int(r.Be(2));
    const int declaredTracks = int(r.Be(2));
    info.division = int(r.Be(2));
    r.p += headerLength - 6;
    if (info.format > 2 || declaredTracks < 1)
        return Fail(info, QStringLiteral("unsupported MIDI format %1 with %2 tracks").arg(info.format).arg(declaredTracks));
    if (info.division <= 0 || (info.division & 0x8000))
        return Fail(info, QStringLiteral("unsupported MIDI time division"));

    std::map<uint64_t, uint32_t> tempos; // tick -> microseconds per quarter note
    uint64_t lastTick = 0;
    while (info.tracks < declaredTracks) {
        if (!r.Has(8))
            return Fail(info, QStringLiteral("track %1 of %2 is missing").arg(info.tracks + 1).arg(declaredTracks));
        const bool isTrack = std::string_view(reinterpret_cast<const char*>(r.p), 4) == "MTrk";
        r.p += 4;
        const uint32_t length = r.Be(4);
        if (!r.Has(length))
            return Fail(info, QStringLiteral("a chunk runs past the end of the file"));
        if (!isTrack) { // unknown chunks are skipped, as the format asks
            r.p += length;
            continue;
        }
        Reader t{r.p, r.p + length};
        r.p += length;
        uint64_t tick = 0;
        unsigned char status = 0;
        bool ended = false;
        while (t.p < t.end && !ended) {
            uint32_t delta;
            if (!t.Vlq(delta))
                return Fail(info, QStringLiteral("bad event time in track %1").arg(info.tracks + 1));
            tick += delta;
            if (!t.Has(1))
                return Fail(info, QStringLiteral("track %1 ends inside an event").arg(info.tracks + 1));
            unsigned char b = *t.p;
            if (b & 0x80) {
                ++t.p;
                if (b < 0xF0)
                    status = b;
            } else if (!status) {
                return Fail(info, QStringLiteral("data byte without status in track %1").arg(info.tracks + 1));
            } else {
                b = status; // running status
            }
            if (b == 0xFF) {
                if (!t.Has(1))
                    return Fail(info, QStringLiteral("track %1 ends inside a meta event").arg(info.tracks + 1));
                const unsigned char type = *t.p++;
                uint32_t len;
                if (!t.Vlq(len) || !t.Has(len))
                    return Fail(info, QStringLiteral("bad meta event in track %1").arg(info.tracks + 1));
                if (type == 0x51 && len == 3) {
                    Reader v{t.p, t.p + 3};
                    const uint32_t tempo = v.Be(3);
                    if (tempo == 0)
                        return Fail(info, QStringLiteral("tempo of zero in track %1").arg(info.tracks + 1));
                    tempos[tick] = tempo;
                }
                t.p += len;
                if (type == 0x2F)
                    ended = true;
                status = 0;
            } else if (b == 0xF0 || b == 0xF7) {
                uint32_t len;
                if (!t.Vlq(len) || !t.Has(len))
                    return Fail(info, QStringLiteral("bad system exclusive event in track %1").arg(info.tracks + 1));
                t.p += len;
                status = 0;
            } else if (b >= 0xF0) {
                return Fail(info, QStringLiteral("unexpected system event in track %1").arg(info.tracks + 1));
            } else {
                const int dataBytes = ((b & 0xF0) == 0xC0 || (b & 0xF0) == 0xD0) ? 1 : 2;
                if (!t.Has(dataBytes))
                    return Fail(info, QStringLiteral("track %1 ends inside an event").arg(info.tracks + 1));
                for (int i = 0; i < dataBytes; ++i)
                    if (t.p[i] & 0x80)
                        return Fail(info, QStringLiteral("bad event data in track %1").arg(info.tracks + 1));
                t.p += dataBytes;
            }
        }
        if (!ended)
            return Fail(info, QStringLiteral("track %1 has no end-of-track event").arg(info.tracks + 1));
        lastTick = std::max(lastTick, tick);
        ++info.tracks;
    }

    // Playing time: walk the tempo map (500000 us per quarter until the first change).
    double micros = 0;
    uint64_t at = 0;
    uint32_t tempo = 500000;
    for (const auto& [tick, value] : tempos) {
        if (tick >= lastTick)
            break;
        micros += double(tick - at) * tempo / info.division;
        at = tick;
        tempo = value;
    }
    micros += double(lastTick - at) * tempo / info.division;
    info.seconds = micros / 1e6;
    info.ok = true;
    return info;
}

} // namespace torvella::audio
