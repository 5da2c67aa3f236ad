#pragma once
// The one message about a settings file that holds something the game cannot read.
#include "settings/IniFile.h"

#include <QList>
#include <QString>

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {


QString StoreProblemsText(const settings::GameSettings& settings, const QString& filePath,
                          const QList<settings::IniProblem>& problems);

} // namespace torvella::ui
