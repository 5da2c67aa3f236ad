#pragma once
// Small helpers shared by the audio tests.
#include "common/ScopedEnv.h"
#include <QByteArray>
#include <QFile>
#include <QString>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace torvella::testing {

inline QString SourcePath(const QString& relative)
{
    return QStringLiteral(TORVELLA_SOURCE_DIR "/") + relative;
}

inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Waits (up to a generous limit, so a slow machine does not fail) until done() holds.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 8000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A hand-built format-0 MIDI file: `events` is the raw track body without the end of
// track; `tail` ticks of rest come before the end-of-track event.
inline QByteArray MidiFile(const std::vector<uint8_t>& events, int division = 480, uint32_t tail = 0,
                           bool endOfTrack = true)
{
    QByteArray body(reinterpret_cast<const char*>(events.data()), qsizetype(events.size()));
    if (endOfTrack) {
        std::vector<uint8_t> vlq;
        uint32_t v = tail;
        vlq.insert(vlq.begin(), uint8_t(v & 0x7F));
        while (v >>= 7)
            vlq.insert(vlq.begin(), uint8_t(0x80 | (v & 0x7F)));
        body.append(reinterpret_cast<const char*>(vlq.data()), qsizetype(vlq.size()));
        body.append("\xFF\x2F\x00", 3);
    }
    QByteArray file("MThd\0\0\0\x06\0\0\0\x01", 12);
    file.append(char(division >> 8));
    file.append(char(division & 0xFF));
    file.append("MTrk");
    for (int i = 3; i >= 0; --i)
        file.append(char((body.size() >> (8 * i)) & 0xFF));
    file.append(body);
    return file;
}

} // namespace torvella::testing
