// The floor for the footprint benchmark (bench/footprint.sh): the least any Qt 6 Widgets
// program does to show a window of the game's size. It paints one plain colour and
// nothing else; with TORVELLA_EXIT_AFTER_FIRST_PAINT set it ends right after that first
// paint, exactly as the game does for the same probe.
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <unistd.h>

namespace {

class Blank : public QWidget {
protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.fillRect(e->rect(), QColor(40, 90, 60));
        if (std::getenv("TORVELLA_EXIT_AFTER_FIRST_PAINT"))
            QTimer::singleShot(0, [] { _exit(0); });
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Blank w;
    w.resize(702, 462);
    w.show();
    return app.exec();
}
