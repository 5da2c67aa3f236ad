#pragma once
// The one message about a settings file that holds something the game cannot read.
#include "settings/IniFile.h"

#include <QList>
#include <QString>

namespace torvella::ui {

struct GameSettings;

QString StoreProblemsText(const GameSettings& settings, const QString& filePath,
                          const QList<settings::IniProblem>& problems);

} // namespace torvella::ui
