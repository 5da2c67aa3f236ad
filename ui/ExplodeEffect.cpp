#include "ui/ExplodeEffect.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <utility>

namespace torvella::ui {

ExplodeEdges ExplodeRect(QPoint start, ExplodeEdges target, int i)
{
    const double n = kExplodeSteps;
    const double dx = (target.left - start.x()) / n;
    const double dy = (target.top - start.y()) / n;
    const double dw = (target.right - target.left) / n;
    const double dh = (target.bottom - target.top) / n;
    ExplodeEdges r;
    // static_cast truncates toward zero, also for negative coordinates.
    r.left = static_cast<int>(start.x() + i * dx);
    r.top = static_cast<int>(start.y() + i * dy);
    r.right = static_cast<int>(r.left + i * dw);
    r.bottom = static_cast<int>(r.top + i * dh);
    return r;
}

bool ExplodeSupported()
{
    if (!QGuiApplication::primaryScreen())
        return false;
    const QString platform = QGuiApplication::platformName();
    return !platform.startsWith(QLatin1String("wayland")) && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal");
}

namespace {

// For the footprint benchmark (bench/footprint.sh): with TORVELLA_EXPLODE_REPORT naming a
// file, each animation appends one line to it when it ends: its steps, the milliseconds
// from its first to its last step, the processor time the program spent meanwhile and
// how many timer events showed those steps.
class ExplodeReport {
public:
    void Start()
    {
        wall_ = std::chrono::steady_clock::now();
        cpu_ = CpuMs();
    }
    void End(int steps, int frames) const
    {
        const QByteArray path = qgetenv("TORVELLA_EXPLODE_REPORT");
        if (path.isEmpty())
            return;
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_).count();
        if (FILE* f = std::fopen(path.constData(), "a")) {
            std::fprintf(f, "steps %d wall_ms %.1f cpu_ms %.1f frames %d\n", steps, wall, CpuMs() - cpu_, frames);
            std::fclose(f);
        }
    }

private:
    static double CpuMs()
    {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
    }
    std::chrono::steady_clock::time_point wall_;
    double cpu_ = 0;
};

// One pixel wide outline of edges, in the overlay's coordinates.
QRegion Outline(const ExplodeEdges& e, QPoint origin)
{
    const QRect r(QPoint(e.left, e.top) - origin, QPoint(e.right - 1, e.bottom - 1) - origin);
    if (r.width() <= 0 || r.height() <= 0)
        return {};
    QRegion region(r);
    if (r.width() > 2 && r.height() > 2)
        region -= r.adjusted(1, 1, -1, -1);
    return region;
}

// The overlay is an opaque window holding one fixed dotted pattern; only its shape, the
// outlines drawn so far, changes from step to step. A step therefore costs one shape
// request to the X server and the painting of the few pixels it uncovers, not a repaint
// of a translucent window of the main window's size. Opaque also means no window of
// an unpainted (black) translucent visual is ever mapped.
class ExplodeOverlay final : public QWidget {
public:
    ExplodeOverlay(QPoint start, ExplodeEdges target, std::function<void()> done)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
                               | Qt::X11BypassWindowManagerHint | Qt::Tool),
          done_(std::move(done))
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        QRect bounds;
        for (int i = 0; i < kExplodeSteps; ++i) {
            steps_[i] = ExplodeRect(start, target, i + 1);
            const auto& e = steps_[i];
            bounds |= QRect(QPoint(std::min(e.left, e.right), std::min(e.top, e.bottom)),
                            QPoint(std::max(e.left, e.right), std::max(e.top, e.bottom)));
        }
        setGeometry(bounds);
        for (int i = 0; i < kExplodeSteps; ++i)
            outlines_[i] = Outline(steps_[i], bounds.topLeft());
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kStepMs);
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    }

    ~ExplodeOverlay() override { Finish(); }

    void Start()
    {
        report_.Start();
        clock_.start();
        // The shape is set before the window is mapped, so no square of it ever shows.
        winId();
        Tick();
        if (tick_ <= 2 * kExplodeSteps) {
            show();
            timer_.start();
        }
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        // A focus rectangle's look: dots alternating dark and light, visible on any background.
        QPainter p(this);
        p.fillRect(e->rect(), QBrush(Qt::black));
        p.fillRect(e->rect(), QBrush(Qt::white, Qt::Dense4Pattern));
    }

private:
    // Steps 1..40 draw rectangle i beside those before it; steps 41..80 erase them in the
    // same order. Each step has its time (kStepMs apart); a timer event that comes late on
    // a busy machine takes the steps due meanwhile together, so every rectangle is still
    // drawn and erased and the whole stays within 80 * kStepMs.
    void Tick()
    {
        const int due = 1 + static_cast<int>(clock_.elapsed() / kStepMs);
        tick_ = std::max(tick_ + 1, std::min(due, 2 * kExplodeSteps));
        ++frames_;
        // Never over a dialog: one that comes up meanwhile ends the animation.
        if (tick_ > 2 * kExplodeSteps || QApplication::activeModalWidget()) {
            tick_ = 2 * kExplodeSteps + 1;
            Finish();
            return;
        }
        const int first = tick_ <= kExplodeSteps ? 0 : tick_ - kExplodeSteps;
        const int last = std::min(tick_, kExplodeSteps);
        QRegion shape;
        for (int i = first; i < last; ++i)
            shape += outlines_[i];
        // An empty mask would show the whole window: with nothing left, hide it.
        if (shape.isEmpty())
            hide();
        else
            setMask(shape);
        if (tick_ == 2 * kExplodeSteps)
            report_.End(tick_, frames_);
    }

    void Finish()
    {
        timer_.stop();
        hide();
        if (auto done = std::exchange(done_, nullptr)) {
            deleteLater();
            done();
        }
    }

    std::array<ExplodeEdges, kExplodeSteps> steps_{};
    std::array<QRegion, kExplodeSteps> outlines_{};
    static constexpr int kStepMs = 7;
    QTimer timer_;
    QElapsedTimer clock_;
    int tick_ = 0;
    int frames_ = 0; // timer events that showed steps
    ExplodeReport report_;
    std::function<void()> done_;
};

} // namespace

QWidget* StartExplode(QWidget* window, std::function<void()> done)
{
    const auto finish = [done = std::move(done)] {
        if (done)
            done();
    };
    if (!window || !ExplodeSupported()) {
        finish();
        return nullptr;
    }
    const QRect frame = window->frameGeometry();
    const ExplodeEdges target{frame.x(), frame.y(), frame.x() + frame.width(), frame.y() + frame.height()};
    QPointer<QWidget> guard(window);
    auto* overlay = new ExplodeOverlay(QCursor::pos(), target, [guard, finish] {
        // Queued: the overlay is still inside its own tick or destructor here.
        if (guard)
            QTimer::singleShot(0, guard, finish);
    });
    QObject::connect(window, &QObject::destroyed, overlay, &QObject::deleteLater);
    overlay->Start();
    return overlay;
}

} // namespace torvella::ui
