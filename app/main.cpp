// Torvella: start-up and shutdown.
#include "generated/Version.h"
#include "help/hh_funcs.h"
#include "ui/Application.h"
#include "ui/GameRecords.h"
#include "ui/MainForm.h"
#include "ui/QuitSignals.h"
#include "ui/Windows.h"

#include <QFontDatabase>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "Usage: torvella [-debug] [--deal N | --daily]\n"
    "Torvella, a puzzle game: serve the 49 cakes of the tableau onto their plates.\n"
    "\n"
    "  -debug, /debug  write the diagnostic log HHDebug.txt into the program folder of\n"
    "                  a build of your own, else into $XDG_STATE_HOME/torvella\n"
    "  --deal N        start with the tableau of deal number N (0 to 4294967295)\n"
    "  --daily         start with the tableau of the day, the same for every player\n"
    "  -h, --help      show this help and exit\n"
    "  --version       show the version and exit\n"
    "\n"
    "Keys in the game: the arrows move the cursor over the tableau, Space or Enter lift\n"
    "and drop a cake, Escape puts it back. F2 or Ctrl+N new tableau, Ctrl+R the same\n"
    "tableau again, Ctrl+Z undo, H a hint, P or Pause pause, Ctrl+H high scores,\n"
    "Ctrl+O options, F1 rules, Ctrl+Q quit. Ctrl+T statistics, Ctrl+C copies the\n"
    "tableau's deal number, Ctrl+G deals a tableau by its number.\n";

// The options the game takes. Each is answered where it acts: -debug by the diagnostic
// log, the toolkit's own by the application object (a session manager restarts the game
// with -session), --help and --version below.
struct Option {
    const char* name;
    bool takesValue; // the next argument belongs to it
};
constexpr Option kOptions[] = {
    {"-debug", false}, {"/debug", false}, {"-h", false}, {"--help", false}, {"--version", false},
    {"--deal", true}, {"--daily", false},
    // Qt's, for any Qt program
    {"-platform", true}, {"-platformpluginpath", true}, {"-platformtheme", true}, {"-plugin", true},
    {"-qwindowgeometry", true}, {"-qwindowicon", true}, {"-qwindowtitle", true}, {"-reverse", false},
    {"-session", true}, {"-style", true}, {"-stylesheet", true}, {"-widgetcount", false},
    {"-display", true}, {"-geometry", true}, {"-name", true}, {"-title", true},
};

// Empty when every argument is an option the game knows, else what is wrong.
std::string UnknownArgument(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // "-style=fusion" and "--style fusion" are Qt's spellings too
        const std::string_view name = arg.substr(0, arg.find('='));
        auto named = [](std::string_view n) {
            return std::find_if(std::begin(kOptions), std::end(kOptions), [&](const Option& o) { return n == o.name; });
        };
        const Option* known = named(name);
        if (known == std::end(kOptions) && name.rfind("--", 0) == 0)
            known = named(name.substr(1));
        if (known == std::end(kOptions))
            return "unknown option '" + std::string(arg) + "'";
        if (known->takesValue && arg.find('=') == std::string_view::npos && ++i == argc)
            return "option '" + std::string(arg) + "' needs a value";
    }
    return {};
}

// --help and --version are answered before anything else starts: no window, no display,
// no settings and no log are needed for them. Returns false when the game is to start.
bool AnswerInformationOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("torvella %s\n", torvella::kVersion);
            return true;
        }
    }
    return false;
}

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
    if (const std::string wrong = UnknownArgument(argc, argv); !wrong.empty()) {
        std::fprintf(stderr, "torvella: %s\nUsage: torvella [-debug] [--deal N | --daily] [--help] [--version]\n", wrong.c_str());
        return 2;
    }
    if (AnswerInformationOptions(argc, argv)) {
        if (std::fflush(stdout) == 0 && !std::ferror(stdout))
            return EXIT_SUCCESS;
        std::fprintf(stderr, "torvella: cannot write to standard output: %s\n", std::strerror(errno));
        return EXIT_FAILURE;
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const torvella::ui::StartDeal startDeal = torvella::ui::StartDealFromArguments(arguments);
    if (!startDeal.error.isEmpty()) {
        std::fprintf(stderr, "torvella: %s\n", qPrintable(startDeal.error));
        return 2;
    }
    // Module initialisation comes before the application object: the help viewer and
    // the diagnostic log.
    std::unique_ptr<torvella::help::HelpRuntime> help = torvella::help::InitModules(argc, argv);
    int status = 0;
    {
        torvella::ui::TorvellaApplication app(argc, argv);
        // Reading the system's font configuration is the largest single piece of a start;
        // a thread of its own does it while the windows are built, and the first text
        // measured waits only for what is left of it. (Qt's font database serialises its
        // users; the thread is joined when it goes out of scope.)
        std::jthread fonts([] { QFontDatabase::families(); });
        torvella::ui::Windows windows;
        // Before any library starts: a quit signal closes the game without a question.
        torvella::ui::QuitSignals quitSignals([&windows](int) {
            if (windows.mainform)
                windows.mainform->CloseUnasked();
        });
        windows.Create(help.get());
        if (startDeal.number)
            windows.mainform->Records().DealAtStart(*startDeal.number);
        FirstPaintProbe probe;
        if (std::getenv("TORVELLA_EXIT_AFTER_FIRST_PAINT"))
            windows.mainform->Box()->installEventFilter(&probe);
        windows.mainform->show();
        status = app.exec();
        // The windows go here, the main window's placement is saved as it goes.
    }
    help.reset(); // module finalisation, after the windows
    return status;
}
