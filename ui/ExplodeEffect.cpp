#include "ui/ExplodeEffect.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>

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

class ExplodeOverlay final : public QWidget {
public:
    ExplodeOverlay(QPoint start, ExplodeEdges target)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
                               | Qt::X11BypassWindowManagerHint | Qt::Tool)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        QRect bounds;
        for (int i = 0; i < kExplodeSteps; ++i) {
            steps_[i] = ExplodeRect(start, target, i + 1);
            const auto& e = steps_[i];
            bounds |= QRect(QPoint(std::min(e.left, e.right), std::min(e.top, e.bottom)),
                            QPoint(std::max(e.left, e.right), std::max(e.top, e.bottom)));
        }
        setGeometry(bounds);
        timer_.setInterval(6);
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    }

    void Start()
    {
        Tick();
        show();
        timer_.start();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // A focus rectangle's look: dots alternating dark and light, visible on any background.
        QPainter p(this);
        p.setClipRegion(shape_);
        p.fillRect(rect(), QBrush(Qt::black));
        p.fillRect(rect(), QBrush(Qt::white, Qt::Dense4Pattern));
    }

private:
    // Ticks 1..40 draw rectangle i beside those before it; ticks 41..80 erase them in the same order.
    void Tick()
    {
        ++tick_;
        if (tick_ > 2 * kExplodeSteps) {
            timer_.stop();
            hide();
            deleteLater();
            return;
        }
        const int first = tick_ <= kExplodeSteps ? 0 : tick_ - kExplodeSteps;
        const int last = std::min(tick_, kExplodeSteps);
        QRegion shape;
        for (int i = first; i < last; ++i)
            shape += Outline(steps_[i], pos());
        shape_ = shape;
        // An empty mask would show the whole window: with nothing left, hide it.
        if (shape_.isEmpty())
            hide();
        else {
            setMask(shape_);
            update();
        }
    }

    std::array<ExplodeEdges, kExplodeSteps> steps_{};
    QRegion shape_;
    QTimer timer_;
    int tick_ = 0;
};

} // namespace

QWidget* StartExplode(QWidget* window)
{
    if (!window || !ExplodeSupported())
        return nullptr;
    const QRect frame = window->frameGeometry();
    const ExplodeEdges target{frame.x(), frame.y(), frame.x() + frame.width(), frame.y() + frame.height()};
    auto* overlay = new ExplodeOverlay(QCursor::pos(), target);
    QObject::connect(window, &QObject::destroyed, overlay, &QObject::deleteLater);
    overlay->Start();
    return overlay;
}

} // namespace torvella::ui
