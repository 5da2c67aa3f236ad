// The MIDI reader on any bytes: it answers, never fails; what it accepts has sane figures.
#include "FuzzCheck.h"
#include "audio/MidiFile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const torvella::audio::MidiInfo info = torvella::audio::ParseMidi(bytes);
    if (info.ok) {
        FUZZ_CHECK(info.format >= 0 && info.format <= 2);
        FUZZ_CHECK(info.tracks >= 1);
        FUZZ_CHECK(std::isfinite(info.seconds) && info.seconds >= 0);
    } else {
        FUZZ_CHECK(!info.error.isEmpty());
    }
    return 0;
}
