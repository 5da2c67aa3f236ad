#pragma once
// What a screen reader says about the board, in the player's language: the cells, the
// hold places and plates, the score, the jumps and the outcome of a move. German and
// English side by side, chosen by the settings' language like every other text.
#include "core/GameView.h"
#include "settings/GameSettings.h"

#include <QString>

namespace torvella::ui::access {

// "rote Torte, 7 Stücke" / "red cake, 7 slices"; "gemischte Torte" / "mixed cake";
// "leer" / "empty" for a cell without a cake (colour -1 or no slices).
QString CakeName(const settings::GameSettings& s, int colour, int slices);
// "Reihe 2, Spalte 5" / "row 2, column 5", counted from 1 as the player sees them.
QString CellPlace(const settings::GameSettings& s, int col, int row);
// "roter Teller: 5 von 12" / "red plate: 5 of 12"; "roter Warteplatz: rote Torte, 7 Stücke"
// / "red hold place: red cake, 7 slices", or ": leer" / ": empty".
QString SlotName(const settings::GameSettings& s, Slot slot, int colour, int slices);
// "Punkte" / "Score" and "Sprünge" / "Jumps", the names of the two values in the tool bar.
QString ScoreName(const settings::GameSettings& s);
QString JumpsName(const settings::GameSettings& s);
// "Auslage" / "Tableau", the board's name.
QString BoardName(const settings::GameSettings& s);
// The covered cells while the game is paused: "verdeckt" / "covered".
QString CoveredName(const settings::GameSettings& s);

// The outcome of a step of a move, for the status line.
QString LiftedText(const settings::GameSettings& s, int colour, int slices);
QString RefusedText(const settings::GameSettings& s);
QString JumpText(const settings::GameSettings& s, int jumpsLeft);
QString SolvedText(const settings::GameSettings& s);
QString DeadEndText(const settings::GameSettings& s);
// The drop a hint shows: "Tipp: grüne Torte, 3 Stücke in Reihe 3, Spalte 2 auf rote Torte,
// 1 Stück in Reihe 3, Spalte 1" / "hint: green cake, 3 slices at row 3, column 2 onto red
// cake, 1 slice at row 3, column 1". Each cake as colour code and slices, as on the board.
struct PlacedCake {
    int colour, slices;
    Cell at;
};
QString HintText(const settings::GameSettings& s, const PlacedCake& lift, const PlacedCake& target);
// The name of a dialog's image button that has no hint, by its object name ("YesBtn",
// "NoBtn", "OkBtn", "CancelBtn", "CloseBtn", "GermanBtn", "EnglishBtn"); empty for others.
QString ButtonName(const settings::GameSettings& s, const QString& objectName);
// "Letzter Zug" / "Last move", the status line's name while nothing happened yet.
QString StatusName(const settings::GameSettings& s);

} // namespace torvella::ui::access
