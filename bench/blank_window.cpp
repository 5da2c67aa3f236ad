// The floor for the footprint benchmark (bench/footprint.sh): the least any Qt 6 Widgets
// program does to show a window of the game's size. It paints one plain colour and
// nothing else; with TORVELLA_EXIT_AFTER_FIRST_PAINT set it ends right after that first
// paint, exactly as the game does for the same probe. With TORVELLA_BLANK_PULSE set it
// also repaints four small dots in a new colour every 100 ms, as the game's pulse does,
// which is the floor for the game's idle processor time. With TORVELLA_BLANK_TEXT set it
// also shows one line of text in a label, as the game's score does: the floor of any
// window that shows text at all, since the first text measured makes Qt read the system's
// font configuration.
#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <unistd.h>

namespace {

class Blank : public QWidget {
public:
    Blank()
    {
        if (!std::getenv("TORVELLA_BLANK_PULSE"))
            return;
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            step_ = (step_ + 1) % 16;
            for (const QPoint& c : kDots)
                update(c.x() - 6, c.y() - 6, 12, 12);
        });
        timer->start(100);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        for (const QRect& r : e->region())
            p.fillRect(r, QColor(40, 90, 60));
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(step_ * 16, step_ * 16, step_ * 16));
        for (const QPoint& c : kDots)
            if (e->region().intersects(QRect(c.x() - 6, c.y() - 6, 12, 12)))
                p.drawEllipse(c, 4, 4);
        if (std::getenv("TORVELLA_EXIT_AFTER_FIRST_PAINT"))
            QTimer::singleShot(0, [] { _exit(0); });
    }

private:
    static constexpr QPoint kDots[] = {{100, 100}, {300, 150}, {150, 350}, {450, 300}};
    int step_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Blank w;
    w.resize(702, 462);
    if (std::getenv("TORVELLA_BLANK_TEXT")) {
        auto* label = new QLabel(QStringLiteral("Score: 0"), &w);
        label->move(600, 10);
        label->adjustSize();
    }
    w.show();
    return app.exec();
}
