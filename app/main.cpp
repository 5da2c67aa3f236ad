// Torvella: start-up and shutdown.
#include "help/hh_funcs.h"
#include "ui/Application.h"
#include "ui/MainForm.h"
#include "ui/Windows.h"

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
        windows.mainform->show();
        status = app.exec();
        // The windows go here, the main window's placement is saved as it goes.
    }
    torvella::help::FinalizeModules();
    return status;
}
