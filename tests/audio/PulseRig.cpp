#include "PulseRig.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <pthread.h>
#include <sched.h>

namespace torvella::testing {

namespace {
using Clock = std::chrono::steady_clock;
constexpr const char* kSink = "torvella_out";
}

PulseServer::PulseServer()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty()) {
        why_ = "pulseaudio is not installed (Debian packages pulseaudio, pulseaudio-utils)";
        return;
    }
    if (!dir_.isValid()) {
        why_ = "no temporary folder for the sound server";
        return;
    }
    const QString socket = dir_.filePath(QStringLiteral("native"));
    // The server's defaults otherwise (rate, fragments, scheduling), as a desktop has them;
    // only the sink is a null sink, and clients connect without a cookie.
    QFile config(dir_.filePath(QStringLiteral("server.pa")));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(QStringLiteral("load-module module-null-sink sink_name=%1\n"
                                    "load-module module-native-protocol-unix auth-anonymous=1 socket=%2\n"
                                    "set-default-sink %1\n")
                         .arg(QLatin1String(kSink), socket)
                         .toUtf8()) < 0) {
        why_ = "cannot write the sound server's configuration";
        return;
    }
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        env.insert(QLatin1String(name), dir_.path());
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    server_.setProcessEnvironment(env);
    server_.setWorkingDirectory(dir_.path());
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(dir_.filePath(QStringLiteral("server.log")));
    // -n: no default script; run as root too (CI), where it only warns.
    server_.start(program, {QStringLiteral("-n"), QStringLiteral("-F"), config.fileName(),
                            QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                            QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-target=stderr"),
                            QStringLiteral("--log-level=debug")});
    if (!server_.waitForStarted(5000)) {
        why_ = "the sound server does not start: " + server_.errorString().toStdString();
        return;
    }
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (!QFileInfo::exists(socket)) {
        if (server_.state() == QProcess::NotRunning || Clock::now() > end) {
            why_ = "the sound server gave up: " + Log().substr(Log().size() > 600 ? Log().size() - 600 : 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    setenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit().constData(), 1);
    setenv("PULSE_COOKIE", QFile::encodeName(dir_.filePath(QStringLiteral("cookie"))).constData(), 1);
}

PulseServer::~PulseServer()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(3000))
            server_.kill();
        server_.waitForFinished(1000);
    }
    if (Running())
        unsetenv("PULSE_SERVER");
}

std::string PulseServer::Log() const
{
    QFile f(dir_.filePath(QStringLiteral("server.log")));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

MonitorRecording::MonitorRecording()
{
    const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 2};
    // Small fragments: each arrives close to the moment it was mixed.
    pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(kRate / 500 * 4)};
    int err = 0;
    stream_ = pa_simple_new(nullptr, "torvella-test", PA_STREAM_RECORD, PulseServer::kMonitor, "monitor", &spec,
                            nullptr, &attr, &err);
    if (!stream_) {
        error_ = std::string("cannot record the sound server: ") + pa_strerror(err);
        return;
    }
    // Asks for a long latency, so the sink's own latency is what the program asks for.
    pa_buffer_attr quiet{uint32_t(-1), uint32_t(kRate / 5 * 4), uint32_t(-1), uint32_t(-1), uint32_t(-1)};
    silence_ = pa_simple_new(nullptr, "torvella-test", PA_STREAM_PLAYBACK, nullptr, "silence", &spec, nullptr, &quiet,
                             &err);
    if (!silence_) {
        error_ = std::string("cannot play into the sound server: ") + pa_strerror(err);
        return;
    }
    samples_.reserve(size_t(kRate) * 2 * 240);
    silenceThread_ = std::thread([this] {
        static const int16_t zeros[kRate / 20 * 2] = {};
        int e = 0;
        while (!stop_ && pa_simple_write(static_cast<pa_simple*>(silence_), zeros, sizeof zeros, &e) >= 0) {
        }
    });
    thread_ = std::thread([this] { Run(); });
}

namespace {
constexpr int kBlockFrames = MonitorRecording::kRate / 500; // 2 ms
}

void MonitorRecording::Run()
{
    constexpr int kFrames = kBlockFrames;
    int16_t block[kFrames * 2];
    // The arrival times are the measurement: where allowed (root, or a real-time limit),
    // a busy machine must not hold this thread back.
    sched_param param{};
    param.sched_priority = 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    while (!stop_) {
        int err = 0;
        if (pa_simple_read(static_cast<pa_simple*>(stream_), block, sizeof block, &err) < 0) {
            std::lock_guard lock(mutex_);
            error_ = std::string("recording broke off: ") + pa_strerror(err);
            return;
        }
        const Clock::time_point now = Clock::now();
        std::lock_guard lock(mutex_);
        samples_.insert(samples_.end(), block, block + kFrames * 2);
        arrivals_.push_back(now);
    }
}

bool MonitorRecording::WaitUntilFlowing()
{
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end) {
        {
            std::lock_guard lock(mutex_);
            if (!error_.empty())
                return false;
            if (arrivals_.size() >= 100)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void MonitorRecording::Stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (silenceThread_.joinable())
        silenceThread_.join();
    for (void** s : {&stream_, &silence_}) {
        if (*s)
            pa_simple_free(static_cast<pa_simple*>(*s));
        *s = nullptr;
    }
}

MonitorRecording::~MonitorRecording()
{
    Stop();
}

size_t MonitorRecording::FrameAfter(Clock::time_point t) const
{
    const auto it = std::upper_bound(arrivals_.begin(), arrivals_.end(), t);
    return size_t(it - arrivals_.begin()) * kBlockFrames;
}

Clock::time_point MonitorRecording::Arrival(size_t frame) const
{
    return arrivals_.empty() ? Clock::time_point() : arrivals_[std::min(frame / kBlockFrames, arrivals_.size() - 1)];
}

namespace {

size_t End(const std::vector<int16_t>& stereo, size_t to)
{
    return std::min(to, stereo.size() / 2);
}

double PowerDb(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = 2 * from; i < 2 * to; ++i)
        sum += double(stereo[i]) * stereo[i];
    const double mean = to > from ? sum / (2.0 * (to - from)) / (32768.0 * 32768.0) : 0;
    return mean > 0 ? 10 * std::log10(mean) : -200;
}

} // namespace

std::vector<Gap> FindGaps(const std::vector<int16_t>& stereo, int rate, size_t from, size_t to)
{
    to = End(stereo, to);
    const size_t minRun = size_t(rate) / 500;  // 2 ms
    const size_t around = size_t(rate) / 100;  // 10 ms of sound on either side
    std::vector<Gap> gaps;
    size_t i = from;
    while (i < to) {
        if (stereo[2 * i] != 0 || stereo[2 * i + 1] != 0) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < to && stereo[2 * j] == 0 && stereo[2 * j + 1] == 0)
            ++j;
        // Sound on both sides: a stream cut short mid-note, not music ending or resting.
        if (j - i >= minRun && i >= from + around && j + around <= to && PowerDb(stereo, i - around, i) > -50 &&
            PowerDb(stereo, j, j + around) > -50)
            gaps.push_back({double(i) / rate, 1000.0 * double(j - i) / rate});
        i = j;
    }
    return gaps;
}

double PeakDb(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    int peak = 0;
    for (size_t i = 2 * from; i < 2 * End(stereo, to); ++i)
        peak = std::max(peak, std::abs(int(stereo[i])));
    return peak > 0 ? 20 * std::log10(peak / 32768.0) : -200;
}

size_t FullScaleSamples(const std::vector<int16_t>& stereo, size_t from, size_t to)
{
    size_t n = 0;
    for (size_t i = 2 * from; i < 2 * End(stereo, to); ++i)
        n += stereo[i] >= 32767 || stereo[i] <= -32767;
    return n;
}

double LoudnessDb(const std::vector<int16_t>& stereo, int rate, size_t from, size_t to)
{
    to = End(stereo, to);
    const size_t block = size_t(rate) * 4 / 10;
    std::vector<double> blocks;
    for (size_t b = from; b + block <= to; b += block / 4) // overlapping by three quarters
        blocks.push_back(PowerDb(stereo, b, b + block));
    const auto meanDb = [&blocks](double gate) {
        double sum = 0;
        int n = 0;
        for (double db : blocks)
            if (db > gate) {
                sum += std::pow(10.0, db / 10);
                ++n;
            }
        return n ? 10 * std::log10(sum / n) : -200.0;
    };
    return meanDb(meanDb(-70) - 10);
}

size_t Onset(const std::vector<int16_t>& stereo, size_t from)
{
    for (size_t i = 2 * from; i < stereo.size(); ++i)
        if (std::abs(int(stereo[i])) > 328)
            return i / 2;
    return SIZE_MAX;
}

std::vector<StreamLatency> StreamLatencies(const std::string& log)
{
    // A playback stream is announced as an input of the sink with its name, then its
    // buffer is settled.
    std::vector<StreamLatency> out;
    static const QRegularExpression re(
        QStringLiteral("Created input \\d+ \"([^\"]*)\" on .*\n(?:.*\n)*?.*Final latency ([0-9.]+) ms"));
    auto it = re.globalMatch(QString::fromStdString(log));
    while (it.hasNext()) {
        const auto m = it.next();
        out.push_back({m.captured(1).toStdString(), m.captured(2).toDouble()});
    }
    return out;
}

int Underruns(const std::string& log, const std::string& stream)
{
    // "Underrun of 'name'" or "Implicit underrun of 'name'", once for every time it ran dry.
    const QRegularExpression re(QStringLiteral("nderrun of '%1").arg(QRegularExpression::escape(QString::fromStdString(stream))));
    return int(QString::fromStdString(log).count(re));
}

} // namespace torvella::testing
