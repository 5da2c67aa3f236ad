#include "help/HelpReader.h"

#include "modules/ModuleLoader.h"

namespace torvella::help {

std::unique_ptr<HelpReader> LoadHelpReader(const QStringList& folders, QString& why)
{
    auto create = reinterpret_cast<CreateHelpReaderFn>(
        modules::FindModuleEntry(folders, kHelpModuleName, kCreateHelpReaderSymbol, "help", why));
    return std::unique_ptr<HelpReader>(create ? create() : nullptr);
}

} // namespace torvella::help
