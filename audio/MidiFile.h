#pragma once
// A structural check of a standard MIDI file, with its playing time. The music player
// runs it before handing a file to the synthesiser, which would otherwise accept many
// broken files and play silence.
#include <QByteArray>
#include <QString>

namespace torvella::audio {

struct MidiInfo {
    bool ok = false;
    QString error;          // what is wrong, when not ok
    int format = 0;         // 0, 1 or 2
    int tracks = 0;         // MTrk chunks read
    int division = 0;       // ticks per quarter note
    double seconds = 0;     // playing time up to the last event, tempo changes included
};

MidiInfo ParseMidi(const QByteArray& bytes);

} // namespace torvella::audio
