#pragma once
// Commands that need more than the core: the scrambler and the board renderer.
#include <cstdio>
#include <string>
#include <vector>

namespace torvella::cli {

// Runs cmd when it is one of these commands and sets status; false when it is not.
bool RunExtension(const std::string& cmd, const std::vector<std::string>& args, std::FILE* out, int& status);

} // namespace torvella::cli
