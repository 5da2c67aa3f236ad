// The MIDI check the player relies on, against files of known content, and the music
// files that ship beside the program.
#include "AudioTestSupport.h"
#include "audio/MidiFile.h"

#include <QDir>
#include <gtest/gtest.h>

using torvella::audio::ParseMidi;
using torvella::testing::MidiFile;

namespace {

// One quarter note of middle C at 480 ticks per quarter, then `tail` ticks of rest.
std::vector<uint8_t> OneNote()
{
    return {0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0}; // 0x83 0x60 = 480
}

TEST(MidiParse, MeasuresPlayingTimeThroughTempoChanges)
{
    // Default tempo (120 bpm): 480 + 480 ticks = two quarters = 1 s.
    const auto plain = ParseMidi(MidiFile(OneNote(), 480, 480));
    ASSERT_TRUE(plain.ok) << plain.error.toStdString();
    EXPECT_EQ(plain.format, 0);
    EXPECT_EQ(plain.tracks, 1);
    EXPECT_NEAR(plain.seconds, 1.0, 1e-9);

    // 60 bpm from the start, 240 bpm after the first quarter: 1 s + 0.25 s.
    std::vector<uint8_t> ev = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};        // 1,000,000 us
    const auto note = OneNote();
    ev.insert(ev.end(), note.begin(), note.end());
    const std::vector<uint8_t> faster = {0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}; // 250,000 us
    ev.insert(ev.end(), faster.begin(), faster.end());
    const auto changed = ParseMidi(MidiFile(ev, 480, 480));
    ASSERT_TRUE(changed.ok) << changed.error.toStdString();
    EXPECT_NEAR(changed.seconds, 1.25, 1e-9);

    // Running status: the second note-on omits its status byte.
    const std::vector<uint8_t> running = {0x00, 0x90, 60, 100, 0x00, 64, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0x80, 64, 0};
    EXPECT_TRUE(ParseMidi(MidiFile(running)).ok);
}

TEST(MidiParse, RejectsBrokenFiles)
{
    const QByteArray good = MidiFile(OneNote());
    QByteArray badTrackCount = good;
    badTrackCount[11] = 2; // says two tracks, holds one
    QByteArray longChunk = good;
    longChunk[21] = char(0x7F); // track length past the end of the file
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("this is not music at all, just words")},
        {"header only", good.left(14)},
        {"cut inside the track", good.left(good.size() - 3)},
        {"no end of track", MidiFile(OneNote(), 480, 0, false)},
        {"missing track", badTrackCount},
        {"chunk past the end", longChunk},
        {"data byte without status", MidiFile({0x00, 60, 100})},
        {"note data above 127", MidiFile({0x00, 0x90, 0xC8, 100})},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ParseMidi(c.bytes).ok) << c.what;
    EXPECT_TRUE(ParseMidi(good).ok);
}

TEST(MusicFiles, AtLeastThreeWellFormedPiecesOfOneToThreeMinutes)
{
    const QDir dir(torvella::testing::SourcePath(QStringLiteral("assets/music")));
    const QStringList names = dir.entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
    EXPECT_GE(names.size(), 3);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = torvella::testing::ReadFile(dir.filePath(name));
        const auto info = ParseMidi(bytes);
        ASSERT_TRUE(info.ok) << info.error.toStdString();
        EXPECT_TRUE(info.format == 0 || info.format == 1);
        EXPECT_GE(info.seconds, 60.0);
        EXPECT_LE(info.seconds, 180.0);
        EXPECT_GE(info.tracks, 1); // each with its end-of-track event, or parsing fails
    }
}

} // namespace
