#include "modules/ModuleLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace torvella::modules {

QStringList ModuleFolders(const QString& programFolder)
{
    QStringList folders{programFolder};
    const QString extra = qEnvironmentVariable("TORVELLA_MODULE_DIR");
    if (!extra.isEmpty())
        folders << extra;
    return folders;
}

void* FindModuleEntry(const QStringList& folders, const char* fileName, const char* symbol, const char* what,
                      QString& why)
{
    why = QStringLiteral("no folder to look in");
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(QLatin1String(fileName));
        if (!QFileInfo::exists(path)) {
            why = QStringLiteral("%1 is missing").arg(path);
            continue;
        }
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            why = QString::fromLocal8Bit(dlerror());
            continue;
        }
        if (void* entry = dlsym(handle, symbol)) {
            why.clear();
            return entry;
        }
        why = QStringLiteral("%1 is not the game's %2 module").arg(path, QLatin1String(what));
    }
    return nullptr;
}

} // namespace torvella::modules
