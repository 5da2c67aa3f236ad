#include "ui/StoreProblems.h"

#include "ui/GameSettings.h"

namespace torvella::ui {

QString StoreProblemsText(const GameSettings& settings, const QString& filePath,
                          const QList<settings::IniProblem>& problems)
{
    QString text = settings.Text("Nicht alles in der Einstellungsdatei ist lesbar:", "Not everything in the settings file can be read:") +
                   QLatin1Char('\n') + filePath + QLatin1Char('\n');
    for (const settings::IniProblem& p : problems) {
        text += QLatin1Char('\n') + settings.Text("Zeile ", "Line ") + QString::number(p.line) + QStringLiteral(": ");
        if (p.kind == settings::IniProblem::NotText)
            text += settings.Text("Der Wert \"%1\" ist kein Text; es gilt seine Vorgabe.",
                                  "the value \"%1\" is no text; its default is used.").arg(p.text);
        else
            text += settings.Text("\"%1\" ist keine Einstellung (kein \"=\") und wird beim nächsten Speichern weggelassen.",
                                  "\"%1\" is no setting (no \"=\") and is left out when the settings are next saved.")
                        .arg(p.text);
    }
    return text;
}

} // namespace torvella::ui
