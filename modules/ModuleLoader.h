#pragma once
// The program's optional modules are shared objects in the program folder that export one
// function creating their service. They are opened the first time the service is needed
// and never closed: what they leave behind (threads, plugins, database connections) must
// not point into unmapped code.
#include <QString>
#include <QStringList>

namespace torvella::modules {

// Where a module is looked for: the program folder, then $TORVELLA_MODULE_DIR (tests and
// benchmarks run programs that live elsewhere than the modules they load).
QStringList ModuleFolders(const QString& programFolder);

// The entry `symbol` of the first `fileName` among `folders` that opens and exports it (and
// `why` empty), or nullptr with `why` saying what went wrong with the last folder tried.
// `what` names the module in that message ("audio", "help").
void* FindModuleEntry(const QStringList& folders, const char* fileName, const char* symbol, const char* what,
                      QString& why);

} // namespace torvella::modules
