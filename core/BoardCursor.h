#pragma once
// Keyboard play: a cursor over the 7 x 7 cells. Its keys go through the same calls as the
// mouse: lifting the cake in the cursor's cell, carrying it over the cells the cursor
// moves to, dropping it on the cursor's cell. So a move by keyboard is a move by mouse in
// every respect: the same refusals, sounds, pauses and points, and the same drawing of the
// lifted cake (at the centre of the cell it is carried over).
#include "core/Game.h"

namespace torvella {

enum class CursorKey { Left, Right, Up, Down, Act, Cancel };

class BoardCursor {
public:
    bool Visible() const { return visible_; }
    int Col() const { return col_; }
    int Row() const { return row_; }
    // True while a cake lifted by the keys is up.
    bool Carrying() const { return carrying_; }

    // One key on the board. While the cursor is hidden any key but Cancel only shows it,
    // on the centre cell. Act lifts the cake under the cursor, or drops the carried one;
    // Cancel returns the carried cake to its cell as a release there would. A cake the
    // mouse holds is left alone. Answers whether the key was used.
    bool Key(Game& game, CursorKey key);

    // The mouse was used on the board: the cursor goes, and a cake the keys lifted is the
    // mouse's from now on.
    void Hide();

    // Returns any lifted cake to its cell, as a release on its own cell does, and leaves
    // the cursor there when it is shown. Used before a tool-bar action, which must never
    // find a cake in the air.
    void PutBack(Game& game);

private:
    bool visible_ = false;
    bool carrying_ = false;
    int col_ = kCols / 2;
    int row_ = kRows / 2;
};

} // namespace torvella
