#include "core/BoardCursor.h"

#include <algorithm>

namespace torvella {

bool BoardCursor::Key(Game& game, CursorKey key)
{
    if (game.Lifted().Dragging && !carrying_)
        return false;  // the mouse holds a cake
    if (!visible_) {
        if (key == CursorKey::Cancel)
            return false;
        visible_ = true;
        col_ = kCols / 2;
        row_ = kRows / 2;
        return true;
    }
    switch (key) {
    case CursorKey::Left:
    case CursorKey::Right:
    case CursorKey::Up:
    case CursorKey::Down: {
        const int col = std::clamp(col_ + (key == CursorKey::Right) - (key == CursorKey::Left), 0, kCols - 1);
        const int row = std::clamp(row_ + (key == CursorKey::Down) - (key == CursorKey::Up), 0, kRows - 1);
        if (col == col_ && row == row_)
            return false;
        col_ = col;
        row_ = row;
        if (carrying_)
            game.CarryOver({col_, row_});
        return true;
    }
    case CursorKey::Act:
        if (carrying_) {
            carrying_ = false;
            game.DropOn({col_, row_});
        } else {
            carrying_ = game.LiftAt({col_, row_});
        }
        return true;
    case CursorKey::Cancel:
        if (!carrying_)
            return false;
        PutBack(game);
        return true;
    }
    return false;
}

void BoardCursor::Hide()
{
    visible_ = false;
    carrying_ = false;
}

void BoardCursor::PutBack(Game& game)
{
    carrying_ = false;
    if (!game.Lifted().Dragging)
        return;
    if (visible_) {
        col_ = game.Lifted().From.col;
        row_ = game.Lifted().From.row;
    }
    game.PutBack();
}

} // namespace torvella
