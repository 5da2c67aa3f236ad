#pragma once
// The board area of the main window: the board picture with the cakes, the pulse dots, the
// hint's marks, the lifted cake and the keyboard cursor's ring; the mouse and the board's
// keys. The game tells the window what changed (GameView); the window passes the board's
// part of it on to here, and this view redraws only what changed.
//
// What stands on each cell, in the hold places and on the plates, the score and the jumps
// left are the game's (GameState); where the keyboard cursor stands is Cursor's.
// CursorMoved and CellChanged say when either changes, for whoever describes the board in
// other ways than pixels.
#include "core/BoardCursor.h"
#include "core/Game.h"
#include "settings/GameSettings.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>

class QKeyEvent;

namespace torvella::ui {

class HintSearch;

class BoardView : public QWidget {
    Q_OBJECT
public:
    // All of them outlive the view; `sheet` is the background sheet for the screen's
    // device pixel ratio, which the window loads anew when the ratio changes.
    BoardView(Game& game, const settings::GameSettings& settings, const HintSearch& hints, const QImage& sheet,
              QWidget* parent);

    // --- what a reader of the board needs besides the picture
    const Game& GameState() const { return game_; }
    const BoardCursor& Cursor() const { return cursor_; }
    // Where the lifted cake stands on the screen: at the pointer, or over the cursor's cell.
    QPoint CarriedCakeAt() const { return carried_.at; }
    // The board as drawn without what stands on the screen only (dots, marks, ring, the
    // cake in the air), drawn anew into a picture of its own at each call: the window
    // keeps no picture of the board beside the one on the screen.
    const QImage& Bitmap() const;

    // --- the pictures
    // The whole board is to be drawn anew for the size, background and tableau of now:
    // the tableau is taken when the board is next painted, read or changed, and the
    // caller repaints. The window is resized to its real size only as it is shown, so the
    // first frame is drawn once, at that size.
    void Render();
    // Everything is to be painted anew, the pulse dots gone until the next tick.
    void RepaintAll();
    // Closing: the pictures go, the area paints black.
    void DropPictures();

    // --- the game's view calls for the board
    void CellEmptied(int col, int row);
    void CellCake(int col, int row, int colour, int slices);
    void SlotChanged(Slot slot, int colour, int slices);
    void LiftedCakeDrawn(int colour, int slices);
    void LiftedCakeErased();
    void PulseDot(int col, int row, uint32_t colour);

    // --- the keyboard
    // An arrow, Space, Enter or Escape moves the cursor or lifts, drops, puts back;
    // answers whether the key was the board's.
    bool BoardKeyPress(QKeyEvent* e);
    // A tool-bar action never finds a cake in the air: one the keys lifted (or the mouse
    // holds while a shortcut comes) goes back to its cell first.
    void PutBackLiftedCake();
    // The ring's square is repainted where it was and where it is.
    void UpdateRing();
    // The hint's marks came or went.
    void HintMarksChanged();

signals:
    // Before each paint: the window makes its pictures anew if the screen's density changed.
    void Painting();
    // The first frame of the board is on the screen.
    void FirstFramePainted();
    // The keyboard cursor moved, showed or went.
    void CursorMoved();
    // A cake is about to be lifted or dropped (mouse press, Space or Enter): a move's
    // sound may follow.
    void MoveStarting();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void PaintScreenOnly(QPainter& p, const QRegion& dirty);
    // What of `dirty` needs the board itself painted: all of it but the pulse dots that
    // only changed their colour.
    QRegion BoardToPaint(const QRegion& dirty) const;
    // A Render waiting for its first use takes the game's tableau now.
    void RenderNow() const;
    // Everything in r is to be painted anew.
    void Invalidate(const QRect& r);
    void Key(CursorKey key);
    QRect CakeRect(int x, int y) const;
    QRect DotRect(const Point& centre) const;
    QRect CarriedRect() const;

    Game& game_;
    const settings::GameSettings& settings_;
    const HintSearch& hints_;
    const QImage& sheet_;

    // What every cell, hold place and plate shows: the game's tableau at the last Render,
    // with each change the game has told since (while a move counts slices up, the
    // screen is behind the tableau). Painted straight onto the screen where it is
    // exposed; every drawing step is opaque, or blends over what the same step sequence
    // drew just before, so a part painted alone looks as it does in the whole.
    mutable Tableau shown_;
    mutable bool renderPending_ = false;
    bool dropped_ = false;    // closing: the area paints black
    mutable QImage picture_;  // Bitmap()'s, for readers of the board's pixels
    bool firstPaintDone_ = false;
    // Asked to be painted since the last paint: everything there (changed_), or only the
    // colour of a cell's pulse dot (dotOnly_).
    QRegion changed_;
    std::array<bool, kCells> dotOnly_{};
    // The pulse dots stand on the screen only; a cell's dot goes when the cell is redrawn.
    std::array<uint32_t, kCells> dotColour_{};
    std::array<bool, kCells> dotShown_{};
    // The lifted cake is the view's to place: the game says what it is and when it shows.
    struct CarriedCake {
        bool shown = false;
        QPoint at;
        int colour = 0, slices = 0;
    } carried_;
    QPoint pointer_;  // the mouse on the board area
    // The keyboard cursor, drawn on the screen only; ringRect_ is where it was last drawn.
    BoardCursor cursor_;
    QRect ringRect_;
};

} // namespace torvella::ui
