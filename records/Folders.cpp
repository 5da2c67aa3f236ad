#include "records/Folders.h"

#include <QDir>

namespace torvella::records {

namespace {

QString Xdg(const char* variable, const char* fallback)
{
    const QString set = qEnvironmentVariable(variable);
    const QString base = QDir::isAbsolutePath(set) ? set : QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
    return QDir::cleanPath(base + QStringLiteral("/torvella"));
}

} // namespace

QString StateFolder() { return Xdg("XDG_STATE_HOME", ".local/state"); }
QString DataFolder() { return Xdg("XDG_DATA_HOME", ".local/share"); }

} // namespace torvella::records
