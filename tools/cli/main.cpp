// torvella-cli: a headless command-line tool over the game core. No display, no sound,
// no settings. Exit status 0 on success, 2 with one line on standard error for bad input.
#include "tools/cli/Commands.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr const char* kHelp =
    "Usage: torvella-cli COMMAND [ARGUMENT...]\n"
    "The rules of Torvella without a window; answers are lines of JSON.\n"
    "\n"
    "Commands:\n"
    "  deal STATE                        the tableau dealt from a generator state\n"
    "  play [--size WxH] STATE STEP...   play steps (C,R>C,R, @X,Y>@X,Y, undo, again, new, tick N)\n"
    "  solve [--size WxH] STATE [STEP...]  whether and how the tableau can be cleared\n"
    "  layout W H                        the board geometry for a board area\n"
    "  colours                           the cake colours and pulse shades\n"
    "  encrypt TEXT, decrypt TEXT        scramble or unscramble a high-score entry\n"
    "  render [--size WxH] [--backmode N] [--scale S] STATE OUT.png\n"
    "                                    paint the tableau into a picture\n"
    "  help                              show this help\n"
    "\n"
    "See torvella-cli(6) for the details.\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "help" || args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    try {
        return torvella::cli::Run(args, stdout);
    } catch (const torvella::cli::UsageError& e) {
        std::fprintf(stderr, "torvella-cli: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torvella-cli: %s\n", e.what());
        return 1;
    }
}
