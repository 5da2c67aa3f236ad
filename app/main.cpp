// Torvella: start-up and shutdown.
#include "help/hh_funcs.h"
#include "ui/Application.h"
#include "ui/MainForm.h"
#include "ui/Windows.h"

#include <QTimer>

#include <cstdlib>
#include <unistd.h>

namespace {

// For the start-up benchmark (bench/startup.sh): with TORVELLA_EXIT_AFTER_FIRST_PAINT set,
// the program ends as soon as the board area has finished its first paint.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { _exit(0); });
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    // Module initialisation comes before the application object: the help viewer and
    // the diagnostic log.
    torvella::help::InitModules(argc, argv);
    int status = 0;
    {
        torvella::ui::TorvellaApplication app(argc, argv);
        torvella::ui::Windows windows;
        windows.Create();
        FirstPaintProbe probe;
        if (std::getenv("TORVELLA_EXIT_AFTER_FIRST_PAINT"))
            windows.mainform->Box()->installEventFilter(&probe);
        windows.mainform->show();
        status = app.exec();
        // The windows go here, the main window's placement is saved as it goes.
    }
    torvella::help::FinalizeModules();
    return status;
}
