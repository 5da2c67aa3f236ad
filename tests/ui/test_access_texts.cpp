// What a screen reader says about cells, hold places, plates and moves, in both languages.
#include "ui/AccessTexts.h"

#include <gtest/gtest.h>

namespace torvella::ui::access {
namespace {

TEST(AccessTexts, NamesInBothLanguages)
{
    settings::GameSettings de, en;
    de.Tongue = 1;
    en.Tongue = -1;  // not chosen yet: English
    const struct {
        QString got_de, got_en;
        const char* de;
        const char* en;
    } cases[] = {
        {CakeName(de, 1, 7), CakeName(en, 1, 7), "rote Torte, 7 Stücke", "red cake, 7 slices"},
        {CakeName(de, 4, 1), CakeName(en, 4, 1), "gelbe Torte, 1 Stück", "yellow cake, 1 slice"},
        {CakeName(de, 0, 1), CakeName(en, 0, 1), "gemischte Torte", "mixed cake"},
        {CakeName(de, -1, 0), CakeName(en, -1, 0), "leer", "empty"},
        {CakeName(de, 2, 0), CakeName(en, 2, 0), "leer", "empty"},
        {CellPlace(de, 4, 2), CellPlace(en, 4, 2), "Reihe 3, Spalte 5", "row 3, column 5"},
        {SlotName(de, Slot::Plate, 1, 5), SlotName(en, Slot::Plate, 1, 5), "roter Teller: 5 von 12", "red plate: 5 of 12"},
        {SlotName(de, Slot::Hold, 3, 9), SlotName(en, Slot::Hold, 3, 9), "blauer Warteplatz: blaue Torte, 9 Stücke",
         "blue hold place: blue cake, 9 slices"},
        {SlotName(de, Slot::Hold, 2, 0), SlotName(en, Slot::Hold, 2, 0), "grüner Warteplatz: leer", "green hold place: empty"},
        {JumpText(de, 1), JumpText(en, 1), "Sprung, noch 1 Sprung", "jump, 1 jump left"},
        {JumpText(de, 0), JumpText(en, 0), "Sprung, noch 0 Sprünge", "jump, 0 jumps left"},
        {ButtonName(de, QStringLiteral("YesBtn")), ButtonName(en, QStringLiteral("YesBtn")), "Ja", "Yes"},
        {ButtonName(de, QStringLiteral("CloseBtn")), ButtonName(en, QStringLiteral("CloseBtn")), "Schließen", "Close"},
        {ButtonName(de, QStringLiteral("Unknown")), ButtonName(en, QStringLiteral("Unknown")), "", ""},
        {LiftedText(de, 3, 12), LiftedText(en, 3, 12), "aufgehoben: blaue Torte, 12 Stücke", "lifted: blue cake, 12 slices"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got_de, QString::fromUtf8(c.de));
        EXPECT_EQ(c.got_en, QString::fromUtf8(c.en));
    }
}

} // namespace
} // namespace torvella::ui::access
