// The program's start-up around the tests: module initialisation (help viewer, diagnostic
// log) before the application object, the application with its error report, and
// finalisation after it. Headless wherever the tests run.
#include "help/hh_funcs.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<torvella::help::HelpRuntime> help = torvella::help::InitModules(argc, argv);
    int status = 0;
    {
        torvella::ui::TorvellaApplication app(argc, argv);
        status = RUN_ALL_TESTS();
    }
    help.reset();
    return status;
}
