#include "ui/AccessTexts.h"

#include "core/Tableau.h"

namespace torvella::ui::access {

namespace {

struct Pair {
    const char* german;
    const char* english;
};

// Colour words by colour code 1..4; German declines them: "rote Torte", "roter Teller".
constexpr Pair kCakeColour[kColours + 1] = {{"", ""}, {"rote", "red"}, {"grüne", "green"}, {"blaue", "blue"}, {"gelbe", "yellow"}};
constexpr Pair kSlotColour[kColours + 1] = {{"", ""}, {"roter", "red"}, {"grüner", "green"}, {"blauer", "blue"}, {"gelber", "yellow"}};

QString T(const settings::GameSettings& s, const Pair& p) { return s.Text(p.german, p.english); }

bool ColourCode(int colour) { return colour >= 1 && colour <= kColours; }

} // namespace

QString CakeName(const settings::GameSettings& s, int colour, int slices)
{
    if (colour == kMixedCake && slices > 0)
        return s.Text("gemischte Torte", "mixed cake");
    if (!ColourCode(colour) || slices <= 0)
        return s.Text("leer", "empty");
    const QString count = slices == 1 ? s.Text("1 Stück", "1 slice")
                                      : QString::number(slices) + s.Text(" Stücke", " slices");
    return T(s, kCakeColour[colour]) + s.Text(" Torte, ", " cake, ") + count;
}

QString CellPlace(const settings::GameSettings& s, int col, int row)
{
    return s.Text("Reihe ", "row ") + QString::number(row + 1) + s.Text(", Spalte ", ", column ") +
           QString::number(col + 1);
}

QString SlotName(const settings::GameSettings& s, Slot slot, int colour, int slices)
{
    if (!ColourCode(colour))
        return {};
    const QString owner = T(s, kSlotColour[colour]);
    if (slot == Slot::Plate)
        return owner + s.Text(" Teller: ", " plate: ") + QString::number(slices) + s.Text(" von 12", " of 12");
    return owner + s.Text(" Warteplatz: ", " hold place: ") + CakeName(s, slices > 0 ? colour : kEmpty, slices);
}

QString ScoreName(const settings::GameSettings& s) { return s.Text("Punkte", "Score"); }
QString JumpsName(const settings::GameSettings& s) { return s.Text("Sprünge", "Jumps"); }
QString BoardName(const settings::GameSettings& s) { return s.Text("Auslage", "Tableau"); }
QString CoveredName(const settings::GameSettings& s) { return s.Text("verdeckt", "covered"); }

QString LiftedText(const settings::GameSettings& s, int colour, int slices)
{
    return s.Text("aufgehoben: ", "lifted: ") + CakeName(s, colour, slices);
}

QString RefusedText(const settings::GameSettings& s)
{
    return s.Text("abgelehnt, die Torte kehrt zurück", "refused, the cake goes back");
}

QString JumpText(const settings::GameSettings& s, int jumpsLeft)
{
    return s.Text("Sprung, noch ", "jump, ") + QString::number(jumpsLeft) +
           (jumpsLeft == 1 ? s.Text(" Sprung", " jump left") : s.Text(" Sprünge", " jumps left"));
}

QString SolvedText(const settings::GameSettings& s) { return s.Text("Auslage gelöst!", "Tableau solved!"); }

QString DeadEndText(const settings::GameSettings& s)
{
    return s.Text("Sackgasse: keine Torte kann mehr ziehen", "dead end: no cake can move");
}

QString HintText(const settings::GameSettings& s, const PlacedCake& lift, const PlacedCake& target)
{
    const auto placed = [&s](const PlacedCake& c) {
        return CakeName(s, c.colour, c.slices) + s.Text(" in ", " at ") + CellPlace(s, c.at.col, c.at.row);
    };
    return s.Text("Tipp: ", "hint: ") + placed(lift) + s.Text(" auf ", " onto ") + placed(target);
}

QString ButtonName(const settings::GameSettings& s, const QString& objectName)
{
    // The pictures say it on screen: a tick, a cross, a flag.
    static const struct {
        const char* object;
        Pair name;
    } kButtons[] = {
        {"YesBtn", {"Ja", "Yes"}},         {"NoBtn", {"Nein", "No"}},
        {"OkBtn", {"OK", "OK"}},           {"CancelBtn", {"Abbrechen", "Cancel"}},
        {"CloseBtn", {"Schließen", "Close"}}, {"GermanBtn", {"Deutsch", "Deutsch"}},
        {"EnglishBtn", {"English", "English"}},
    };
    for (const auto& b : kButtons)
        if (objectName == QLatin1String(b.object))
            return T(s, b.name);
    return {};
}

QString StatusName(const settings::GameSettings& s) { return s.Text("Letzter Zug", "Last move"); }

} // namespace torvella::ui::access
