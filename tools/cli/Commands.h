#pragma once
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace torvella::cli {

// Bad arguments: unknown command, a number that does not parse, a step not understood.
class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs one command line (without the program name) and writes its output to out.
int Run(const std::vector<std::string>& args, std::FILE* out);

} // namespace torvella::cli
