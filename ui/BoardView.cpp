#include "ui/BoardView.h"

#include "paint/BoardMarks.h"
#include "paint/BoardPainter.h"
#include "ui/HintSearch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <optional>

namespace torvella::ui {

BoardView::BoardView(Game& game, const settings::GameSettings& settings, const HintSearch& hints,
                     const QImage& sheet, QWidget* parent)
    : QWidget(parent), game_(game), settings_(settings), hints_(hints), sheet_(sheet)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

// ---------------------------------------------------------------- pictures

void BoardView::Render()
{
    dotShown_.fill(false);
    dotOnly_.fill(false);
    changed_ = rect();
    renderPending_ = true;
    dropped_ = false;
}

void BoardView::RenderNow() const
{
    if (!renderPending_)
        return;
    renderPending_ = false;
    shown_ = game_.Position();
}

const QImage& BoardView::Bitmap() const
{
    RenderNow();
    paint::RenderBoard(picture_, size(), sheet_, settings_.BackMode, game_.Layout(), shown_, settings_.CakeLabels);
    return picture_;
}

void BoardView::RepaintAll()
{
    dotShown_.fill(false);
    Invalidate(rect());
}

void BoardView::DropPictures()
{
    picture_ = QImage();
    renderPending_ = false;
    dropped_ = true;
}

void BoardView::Invalidate(const QRect& r)
{
    changed_ += r;
    update(r);
}

QRect BoardView::CakeRect(int x, int y) const
{
    const int r = game_.Layout().CakeRadius + 2;
    return {x - r, y - r, 2 * r + 1, 2 * r + 1};
}

QRect BoardView::DotRect(const Point& c) const
{
    const int r = game_.Layout().CakeRadius / 5 + 2;
    return {c.x - r, c.y - r, 2 * r + 2, 2 * r + 2};
}

QRect BoardView::CarriedRect() const
{
    // A cake over the cursor's cell stands raised in the ring's square, beyond its own.
    const QRect cake = CakeRect(carried_.at.x(), carried_.at.y());
    return cursor_.Visible() ? cake | paint::CursorRingRect(game_.Layout(), carried_.at.x(), carried_.at.y()) : cake;
}

void BoardView::paintEvent(QPaintEvent* e)
{
    emit Painting();
    RenderNow();
    QPainter p(this);
    const QRegion& dirty = e->region();
    if (dropped_) {
        for (const QRect& r : dirty)
            p.fillRect(r, Qt::black);
        return;
    }
    const QRegion board = BoardToPaint(dirty);
    if (board != dirty)
        p.setClipRegion(board);
    if (!board.isEmpty())
        paint::PaintBoardPart(p, board, size(), sheet_, settings_.BackMode, game_.Layout(), shown_,
                              settings_.CakeLabels);
    p.setClipping(false);
    PaintScreenOnly(p, dirty);
    dotOnly_.fill(false);
    changed_ = QRegion();
    if (!firstPaintDone_) {
        firstPaintDone_ = true;
        emit FirstFramePainted();
    }
}

QRegion BoardView::BoardToPaint(const QRegion& dirty) const
{
    // A tick changes the colour of a few pulse dots. The new dot covers the old one pixel
    // for pixel, so where nothing but a dot's colour changed, the cake under it stays as
    // it is on the screen. Not where anything drawn on the screen alone lies over the dot:
    // drawn twice without the board between, its soft edges would darken.
    QRegion flagged;
    for (int i = 0; i < kCells; ++i)
        if (dotOnly_[i])
            flagged += DotRect(game_.Layout().CellCentre(i / kRows, i % kRows));
    // A repaint nobody here asked for (the window shown or uncovered, a child moved) may
    // find anything on the screen there: then all of it is painted.
    if (flagged.isEmpty() || !(dirty - changed_ - flagged).isEmpty())
        return dirty;
    QRegion dotsOnly = flagged - changed_;
    if (carried_.shown)
        dotsOnly -= CarriedRect();
    dotsOnly -= ringRect_;
    if (hints_.MarksShown()) {
        const Geometry& g = game_.Layout();
        const Move shown = hints_.Shown();
        dotsOnly -= paint::HintMarksRect(g, g.CellCentre(shown.from.col, shown.from.row),
                                         g.CellCentre(shown.to.col, shown.to.row));
    }
    return dirty - dotsOnly;
}

void BoardView::PaintScreenOnly(QPainter& p, const QRegion& dirty)
{
    const Tableau& t = game_.Position();
    const Geometry& g = game_.Layout();
    const GamePhase phase = game_.Phase();
    if (phase == GamePhase::Paused) {
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row) {
                const Point c = g.CellCentre(col, row);
                paint::DrawEmptyCell(p, g, c.x, c.y);
            }
    }
    if (phase == GamePhase::Dealt || phase == GamePhase::Playing) {
        for (int i = 0; i < kCells; ++i)
            if (dotShown_[i] && t.CellColour[i] > 0) {
                const Point c = g.CellCentre(i / kRows, i % kRows);
                if (dirty.intersects(DotRect(c)))
                    paint::DrawPulseDot(p, g, c.x, c.y, dotColour_[i]);
            }
    }
    if (hints_.MarksShown()) {
        const Move shown = hints_.Shown();
        paint::DrawHintMarks(p, g, g.CellCentre(shown.from.col, shown.from.row),
                             g.CellCentre(shown.to.col, shown.to.row));
    }
    if (carried_.shown && cursor_.Carrying()) {
        // The keys' cake stays at its cell's centre: it has to look lifted.
        paint::DrawCarriedCake(p, g, carried_.at.x(), carried_.at.y(), carried_.slices, carried_.colour,
                               settings_.CakeLabels);
    } else {
        if (carried_.shown)
            paint::DrawCake(p, g, carried_.at.x(), carried_.at.y(), carried_.slices, carried_.colour,
                            settings_.CakeLabels);
        if (cursor_.Visible()) {
            const Point c = g.CellCentre(cursor_.Col(), cursor_.Row());
            paint::DrawCursorRing(p, g, c.x, c.y);
        }
    }
}

void BoardView::HintMarksChanged()
{
    const Geometry& g = game_.Layout();
    const Move shown = hints_.Shown();
    Invalidate(paint::HintMarksRect(g, g.CellCentre(shown.from.col, shown.from.row),
                                    g.CellCentre(shown.to.col, shown.to.row)));
}

// ---------------------------------------------------------------- mouse and keys

void BoardView::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    // The mouse is used on the board: the keyboard cursor goes.
    cursor_.Hide();
    UpdateRing();
    emit MoveStarting();
    pointer_ = pos;
    game_.LiftAt(game_.Layout().CellUnder(pos.x(), pos.y()));
}

void BoardView::mouseMoveEvent(QMouseEvent* e)
{
    if (!game_.Lifted().Dragging)
        return;
    pointer_ = e->position().toPoint();
    game_.CarryOver(game_.Layout().CellUnder(pointer_.x(), pointer_.y()));
}

void BoardView::mouseReleaseEvent(QMouseEvent* e)
{
    pointer_ = e->position().toPoint();
    game_.DropOn(game_.Layout().CellUnder(pointer_.x(), pointer_.y()));
}

bool BoardView::BoardKeyPress(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    std::optional<CursorKey> key;
    if (mods == Qt::NoModifier) {
        switch (e->key()) {
        case Qt::Key_Left: key = CursorKey::Left; break;
        case Qt::Key_Right: key = CursorKey::Right; break;
        case Qt::Key_Up: key = CursorKey::Up; break;
        case Qt::Key_Down: key = CursorKey::Down; break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: key = CursorKey::Act; break;
        case Qt::Key_Escape: key = CursorKey::Cancel; break;
        default: break;
        }
    }
    if (!key)
        return false;
    e->accept();
    // A held key repeats the cursor's steps, never a lift and its drop.
    if (!(e->isAutoRepeat() && (*key == CursorKey::Act || *key == CursorKey::Cancel)))
        Key(*key);
    return true;
}

void BoardView::Key(CursorKey key)
{
    if (key == CursorKey::Act)
        emit MoveStarting();
    cursor_.Key(game_, key);
    UpdateRing();
}

void BoardView::PutBackLiftedCake()
{
    cursor_.PutBack(game_);
    UpdateRing();
}

void BoardView::UpdateRing()
{
    // The ring stands on the screen only: where it was comes back from the board picture.
    Invalidate(ringRect_);
    ringRect_ = QRect();
    if (cursor_.Visible()) {
        const Point c = game_.Layout().CellCentre(cursor_.Col(), cursor_.Row());
        ringRect_ = paint::CursorRingRect(game_.Layout(), c.x, c.y);
        Invalidate(ringRect_);
    }
    emit CursorMoved();
}

// ---------------------------------------------------------------- the game's view calls

void BoardView::CellEmptied(int col, int row)
{
    const Point c = game_.Layout().CellCentre(col, row);
    RenderNow();
    shown_.Colour(col, row) = kEmpty;
    shown_.Slices(col, row) = 0;
    dotShown_[CellIndex(col, row)] = false;
    Invalidate(CakeRect(c.x, c.y));
}

void BoardView::CellCake(int col, int row, int colour, int slices)
{
    const Point c = game_.Layout().CellCentre(col, row);
    RenderNow();
    shown_.Colour(col, row) = colour;
    shown_.Slices(col, row) = slices;
    dotShown_[CellIndex(col, row)] = false;
    Invalidate(CakeRect(c.x, c.y));
}

void BoardView::SlotChanged(Slot slot, int colour, int slices)
{
    const int column = ToInt(slot);
    const Point c = game_.Layout().SlotCentre(column, colour);
    RenderNow();
    (slot == Slot::Hold ? shown_.HoldSlices : shown_.PlateSlices)[colour] = slices;
    Invalidate(CakeRect(c.x, c.y));
}

void BoardView::LiftedCakeDrawn(int colour, int slices)
{
    // The keys carry the cake over the cursor's cell; the mouse carries it at the pointer.
    QPoint at = pointer_;
    if (cursor_.Visible()) {
        const Point c = game_.Layout().CellCentre(game_.Lifted().Over.col, game_.Lifted().Over.row);
        at = QPoint(c.x, c.y);
    }
    carried_ = {true, at, colour, slices};
    Invalidate(CarriedRect());
}

void BoardView::LiftedCakeErased()
{
    carried_.shown = false;
    Invalidate(CarriedRect());
}

void BoardView::PulseDot(int col, int row, uint32_t colour)
{
    const int i = CellIndex(col, row);
    if (dotShown_[i] && dotColour_[i] == colour)
        return;
    dotColour_[i] = colour;
    dotShown_[i] = true;
    const QRect r = DotRect(game_.Layout().CellCentre(col, row));
    // Only a dot's colour changes in a dealt or running game; anything else is painted
    // as a whole.
    const GamePhase phase = game_.Phase();
    if (phase == GamePhase::Dealt || phase == GamePhase::Playing) {
        dotOnly_[i] = true;
        update(r);
    } else {
        Invalidate(r);
    }
}

} // namespace torvella::ui
