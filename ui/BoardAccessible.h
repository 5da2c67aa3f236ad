#pragma once
// The board and the tool bar as a screen reader finds them on the desktop's accessibility
// bus. The board is painted, so Qt knows nothing of its cells; this gives it a table of
// 7 x 7 cells named by their cakes, the hold places and plates named by what they hold, and
// a status line with the outcome of the last move. The tool bar gets the score and the
// jumps as named values, and every image button is named by its hint.
//
// The keyboard cursor is the accessible focus: where it moves, the screen reader speaks
// the cell. Changes reach the reader as the events Qt passes on to the bus: a name that
// changed, a value that changed, a focus that moved.
//
// Everything here is read from the game when a reader asks, and no event is made while no
// reader listens (QAccessible::isActive), so a player without one pays nothing.
#include "core/BoardCursor.h"
#include "core/Game.h"
#include "core/GameView.h"
#include "settings/GameSettings.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

class QAccessibleInterface;
class QWidget;

namespace torvella::ui {

class BoardAccess {
public:
    // The board area and the tool bar of the window that shows `game`; all five outlive
    // this object.
    BoardAccess(QWidget* board, QWidget* toolBar, const Game& game, const BoardCursor& cursor,
                const settings::GameSettings& settings);
    ~BoardAccess();
    BoardAccess(const BoardAccess&) = delete;
    BoardAccess& operator=(const BoardAccess&) = delete;

    // The window's view calls, passed on as they come.
    void CellChanged(int col, int row);
    void SlotChanged(Slot slot, int colour, int slices);
    void Lifted(int colour, int slices);
    void ScoreChanged();
    void JumpsChanged(int jumpsLeft);
    void Sounded(Sound sound);
    // The whole board was dealt or restored: every cell and slot anew.
    void Renewed();
    // The window was drawn anew: a pause that began or ended covers or uncovers the cells.
    void Repainted();
    // A new language: every name that speaks it, the status line and the tool bar's buttons
    // included.
    void LanguageChanged();
    // The keyboard cursor moved, showed or went.
    void CursorMoved();
    // The hint shows this drop; the status line says it in words.
    void HintShown(Move move);
    // A message the player is shown about the game (no hint to give); the status line says
    // it too. Asked again when the language changes.
    void Told(std::function<QString()> text);

    // The status line: the outcome of the last move, step by step, in today's language.
    QString Status() const;

    // For the accessible interfaces.
    const Game& GameState() const { return game_; }
    const BoardCursor& Cursor() const { return cursor_; }
    const settings::GameSettings& Settings() const { return settings_; }
    QWidget* Board() const { return board_; }
    QWidget* ToolBar() const { return toolBar_; }
    // Children of the board: 49 cells by rows (row · 7 + column), then the hold place and
    // the plate of each colour, then the status line. Made when first asked for.
    static constexpr int kBoardChildren = kCells + 2 * kColours + 1;
    static constexpr int kStatusChild = kBoardChildren - 1;
    QAccessibleInterface* BoardChild(int index);
    // Children the tool bar gets besides its widgets: the score and the jumps.
    static constexpr int kToolBarValues = 2;
    QAccessibleInterface* ToolBarValue(int index);

private:
    // A line of the status, made in the language of the moment it is read.
    using Line = std::function<QString()>;

    void NameChanged(QAccessibleInterface* item);
    // Each board child from `first` up to, not including, `end`.
    void NamesChanged(int first, int end);
    void SetStatus(Line line, bool append);
    void Outcome(Line line);

    QWidget* board_;
    QWidget* toolBar_;
    const Game& game_;
    const BoardCursor& cursor_;
    const settings::GameSettings& settings_;
    std::array<QAccessibleInterface*, kBoardChildren> boardItems_{};
    std::array<QAccessibleInterface*, kToolBarValues> values_{};
    std::vector<Line> status_;
    bool covered_ = false;       // the cells were last told covered (a pause)
    bool liftTold_ = false;      // the cake in the air was announced
    bool outcomeTold_ = false;   // the status line holds an outcome of this move already
    bool jumpPending_ = false;   // the jumps changed and the jump's sound is to come
    Cell focusCell_ = kOffTableau;  // where the focus event last went
};

// Names a slot child of the board: index kCells + 2 · (colour - 1) + slot.
constexpr int SlotChildIndex(Slot slot, int colour) { return kCells + 2 * (colour - 1) + ToInt(slot); }

} // namespace torvella::ui
