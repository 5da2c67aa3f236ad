#pragma once
// The game's sound as a desktop's sound server plays it: a private PulseAudio server with
// one null sink, and a recording of that sink's monitor. Needs no sound card, no session
// and no user's server: the server lives in a folder of its own and only this process
// (and its children) are pointed at it. Shared by the audio tests and bench/sound_server.
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace torvella::testing {

class PulseServer {
public:
    // Starts the server and points this process's sound clients at it (PULSE_SERVER and
    // a cookie inside the server's folder, so no home folder is touched). When it cannot
    // start, Why() says why and nothing is changed.
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool Running() const { return why_.empty(); }
    const std::string& Why() const { return why_; }
    // The server's log so far (debug level: every stream's latency and every underrun).
    std::string Log() const;
    static constexpr const char* kMonitor = "torvella_out.monitor";

private:
    QTemporaryDir dir_;
    QProcess server_;
    std::string why_;
};

// The sink's monitor, recorded in a thread from construction to Stop(). Every sample is
// kept with an estimate of the steady-clock moment at which the server mixed it.
class MonitorRecording {
public:
    static constexpr int kRate = 44100; // the server's default rate, so nothing is resampled
    MonitorRecording();
    ~MonitorRecording();
    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    // Waits until sound arrives (the server can take a moment to start the monitor);
    // false when nothing comes within a few seconds.
    bool WaitUntilFlowing();
    void Stop();

    // Interleaved stereo, after Stop().
    const std::vector<int16_t>& Samples() const { return samples_; }
    size_t Frames() const { return samples_.size() / 2; }
    // The first frame that reached the recording after moment t: nothing the program
    // plays after t can sound before it.
    size_t FrameAfter(std::chrono::steady_clock::time_point t) const;
    // When a frame reached the recording: at most the few milliseconds of the recording's
    // own fragments after the server mixed it.
    std::chrono::steady_clock::time_point Arrival(size_t frame) const;

private:
    void Run();

    std::string error_;
    void* stream_ = nullptr;
    // A null sink mixes only while something plays into it: silence is played all the
    // time, so the recording runs on while the program's own streams come and go.
    void* silence_ = nullptr;
    std::thread thread_, silenceThread_;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::vector<int16_t> samples_;
    std::vector<std::chrono::steady_clock::time_point> arrivals_; // one per block read
};

// What a recording says about the sound in it.
struct Gap {
    double atSeconds;
    double lengthMs;
};

// Stretches of digital silence (both channels exactly zero, at least 2 ms) inside sound:
// the server had nothing from the stream and played silence in its place. Silence that
// follows a fading tail (a piece's end) is not a gap.
std::vector<Gap> FindGaps(const std::vector<int16_t>& stereo, int rate, size_t from = 0, size_t to = SIZE_MAX);
// The largest sample magnitude in dBFS, and how many samples sit at full scale.
double PeakDb(const std::vector<int16_t>& stereo, size_t from = 0, size_t to = SIZE_MAX);
size_t FullScaleSamples(const std::vector<int16_t>& stereo, size_t from = 0, size_t to = SIZE_MAX);
// Loudness as gated mean power in dBFS: 400 ms blocks, the blocks under -70 dBFS and those
// 10 dB under the mean of the rest left out (the gating of loudness meters, without their
// frequency weighting), so the pauses between repeats do not count.
double LoudnessDb(const std::vector<int16_t>& stereo, int rate, size_t from = 0, size_t to = SIZE_MAX);
// The first frame at or after `from` whose sound exceeds -40 dBFS, or SIZE_MAX.
size_t Onset(const std::vector<int16_t>& stereo, size_t from);

// The latency the server settled on for each playback stream, from its log, in order.
struct StreamLatency {
    std::string name;
    double ms;
};
std::vector<StreamLatency> StreamLatencies(const std::string& log);
// How many times the server had to play silence because a stream (whose name begins
// with `stream`) ran dry.
int Underruns(const std::string& log, const std::string& stream = {});

} // namespace torvella::testing
