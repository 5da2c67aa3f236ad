#include "tools/cli/Extensions.h"

namespace torvella::cli {

bool RunExtension(const std::string&, const std::vector<std::string>&, std::FILE*, int&)
{
    return false;
}

} // namespace torvella::cli
