#include "ui/StoreProblems.h"

#include "settings/GameSettings.h"
#include "settings/IniCtrl.h"

#include <QFileInfo>

#include <algorithm>

namespace torvella::ui {

namespace {

// Lines named one by one; the message box must fit a 768-pixel screen, OK button and all.
constexpr qsizetype kLinesNamed = 5;

} // namespace

QString StoreProblemsText(const settings::GameSettings& settings, const QString& filePath,
                          const QList<settings::IniProblem>& problems)
{
    const QString copy = QFileInfo(settings::IniCtrl::UnreadableCopyPath(filePath)).fileName();
    if (std::any_of(problems.begin(), problems.end(),
                    [](const settings::IniProblem& p) { return p.kind == settings::IniProblem::NoTextFile; }))
        return settings.Text("Die Einstellungsdatei %1 ist keine Textdatei; das Spiel nimmt, was davon lesbar ist, "
                             "und bewahrt die Datei beim nächsten Speichern als %2 auf.",
                             "The settings file %1 is not a text file; the game takes what it can read of it "
                             "and keeps the file as %2 when it next saves the settings.")
            .arg(filePath, copy);

    QString text = settings.Text("Nicht alles in der Einstellungsdatei ist lesbar:", "Not everything in the settings file can be read:") +
                   QLatin1Char('\n') + filePath + QLatin1Char('\n');
    bool dropped = false;
    for (qsizetype i = 0; i < problems.size(); ++i) {
        const settings::IniProblem& p = problems[i];
        dropped = dropped || p.kind == settings::IniProblem::NotASetting;
        if (i >= kLinesNamed)
            continue;
        text += QLatin1Char('\n') + settings.Text("Zeile ", "Line ") + QString::number(p.line) + QStringLiteral(": ");
        if (p.kind == settings::IniProblem::NotText)
            text += settings.Text("Der Wert \"%1\" ist kein Text; es gilt seine Vorgabe.",
                                  "the value \"%1\" is no text; its default is used.").arg(p.text);
        else
            text += settings.Text("\"%1\" ist keine Einstellung (kein \"=\") und wird beim nächsten Speichern weggelassen.",
                                  "\"%1\" is no setting (no \"=\") and is left out when the settings are next saved.")
                        .arg(p.text);
    }
    if (problems.size() > kLinesNamed) {
        const qsizetype more = problems.size() - kLinesNamed;
        text += QLatin1Char('\n') + (more == 1 ? settings.Text("Dazu eine weitere Zeile.", "And one more line.")
                                               : settings.Text("Dazu %1 weitere Zeilen.", "And %1 more lines.")
                                                     .arg(QString::number(more)));
    }
    if (dropped)
        text += QStringLiteral("\n\n") +
                settings.Text("Vor dem nächsten Speichern wird die Datei, wie sie ist, als %1 aufbewahrt.",
                              "Before the settings are next saved, the file as it is now is kept as %1.")
                    .arg(copy);
    return text;
}

} // namespace torvella::ui
