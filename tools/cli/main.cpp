// torvella-cli: a headless command-line tool over the game core. No display, no sound,
// no settings. Exit status 0 on success, 2 with one line on standard error for bad input.
#include "tools/cli/Commands.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
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
