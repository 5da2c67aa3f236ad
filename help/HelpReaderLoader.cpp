#include "help/HelpReader.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace torvella::help {

std::unique_ptr<HelpReader> LoadHelpReader(const QStringList& folders, QString& why)
{
    why = QStringLiteral("no folder to look in");
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = folder + QLatin1Char('/') + QLatin1String(kHelpModuleName);
        if (!QFileInfo::exists(path)) {
            why = QStringLiteral("%1 is missing").arg(path);
            continue;
        }
        // Never closed: Qt Help leaves its database connection and plugins behind,
        // which must not point into an unmapped module.
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            why = QString::fromLocal8Bit(dlerror());
            continue;
        }
        auto create = reinterpret_cast<CreateHelpReaderFn>(dlsym(handle, kCreateHelpReaderSymbol));
        if (!create) {
            why = QStringLiteral("%1 is not the game's help module").arg(path);
            continue;
        }
        return std::unique_ptr<HelpReader>(create());
    }
    return nullptr;
}

} // namespace torvella::help
