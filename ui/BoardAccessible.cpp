#include "ui/BoardAccessible.h"

#include "ui/AccessTexts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace torvella::ui {

namespace {

// Every window's BoardAccess, for the factory and the interfaces, which Qt makes and keeps
// on its own and which therefore cannot hold one. Usually there is one.
QList<BoardAccess*>& Registry()
{
    static QList<BoardAccess*> all;
    return all;
}

BoardAccess* AccessFor(const QWidget* w)
{
    for (BoardAccess* a : Registry())
        if (a->Board() == w || a->ToolBar() == w)
            return a;
    return nullptr;
}

// The settings the game's window uses, for texts outside the board; the defaults (English)
// before a window is there.
const settings::GameSettings& LanguageNow()
{
    static const settings::GameSettings defaults;
    return Registry().isEmpty() ? defaults : Registry().front()->Settings();
}

void Tell(QAccessibleEvent& e) { QAccessible::updateAccessibility(&e); }

QRect GlobalSquare(const QWidget* w, const Point& centre, int radius)
{
    return {w->mapToGlobal(QPoint(centre.x - radius, centre.y - radius)), QSize(2 * radius + 1, 2 * radius + 1)};
}

// An image button is named by its hint. Qt tells a reader when an accessible name
// changes, not when a hint does (a new language): this tells it for the buttons a reader
// has asked about, and only when the words really changed.
class HintWatcher : public QObject {
public:
    using QObject::QObject;

    static void Watch(QWidget* button)
    {
        static QPointer<HintWatcher> watcher;
        if (!watcher)
            watcher = new HintWatcher(qApp);
        button->setProperty(kTold, button->toolTip());
        button->installEventFilter(watcher);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::ToolTipChange)
            return false;
        auto* button = static_cast<QWidget*>(watched);
        if (button->property(kTold).toString() == button->toolTip())
            return false;
        button->setProperty(kTold, button->toolTip());
        if (button->accessibleName().isEmpty() && QAccessible::isActive()) {
            QAccessibleEvent changed(button, QAccessible::NameChanged);
            Tell(changed);
        }
        return false;
    }

private:
    static constexpr const char* kTold = "torvellaHintTold";
};

// A child without a widget of its own, under `host`'s interface: no children, no writable
// text. Qt's cache holds it by its id; BoardAccess deletes it.
class Leaf : public QAccessibleInterface {
public:
    explicit Leaf(const QWidget* host) : host_(host) {}
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return host_->window()->windowHandle(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(const_cast<QWidget*>(host_));
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    const QWidget* host_;
};

// A cell, a hold place or plate, or the status line of the board.
class BoardItem : public Leaf, public QAccessibleTableCellInterface {
public:
    BoardItem(const BoardAccess& access, int index) : Leaf(access.Board()), a_(access), index_(index) {}

    QString text(QAccessible::Text t) const override
    {
        const settings::GameSettings& s = a_.Settings();
        const Tableau& b = a_.GameState().Position();
        if (IsCell()) {
            if (t == QAccessible::Description)
                return access::CellPlace(s, Col(), Row());
            if (t != QAccessible::Name)
                return {};
            // A paused game hides its cakes from every eye alike.
            if (a_.GameState().Phase() == GamePhase::Paused)
                return access::CoveredName(s);
            return access::CakeName(s, b.Colour(Col(), Row()), b.Slices(Col(), Row()));
        }
        if (t != QAccessible::Name)
            return {};
        if (index_ == BoardAccess::kStatusChild) {
            const QString status = a_.Status();
            return status.isEmpty() ? access::StatusName(s) : status;
        }
        const int colour = SlotColour();
        const Slot slot = SlotKind();
        return access::SlotName(s, slot, colour, slot == Slot::Plate ? b.PlateSlices[colour] : b.HoldSlices[colour]);
    }

    QRect rect() const override
    {
        const Geometry& g = a_.GameState().Layout();
        if (IsCell())
            return GlobalSquare(a_.Board(), g.CellCentre(Col(), Row()), g.CakeRadius);
        if (index_ == BoardAccess::kStatusChild) {
            const Rect p = g.SidePanel();
            return {a_.Board()->mapToGlobal(QPoint(p.left, p.top + p.height)), QSize(p.width, g.CakeRadius)};
        }
        return GlobalSquare(a_.Board(), g.SlotCentre(ToInt(SlotKind()), SlotColour()), g.CakeRadius);
    }

    QAccessible::Role role() const override
    {
        if (IsCell())
            return QAccessible::Cell;
        return index_ == BoardAccess::kStatusChild ? QAccessible::StatusBar : QAccessible::StaticText;
    }

    QAccessible::State state() const override
    {
        QAccessible::State st;
        if (IsCell()) {
            const BoardCursor& c = a_.Cursor();
            st.focusable = true;
            st.focused = c.Visible() && c.Col() == Col() && c.Row() == Row();
        }
        if (!a_.Board()->isVisible())
            st.invisible = true;
        return st;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface && IsCell() ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return Col(); }
    int rowIndex() const override { return Row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    bool IsCell() const { return index_ < kCells; }
    int Col() const { return index_ % kCols; }
    int Row() const { return index_ / kCols; }
    int SlotColour() const { return (index_ - kCells) / 2 + 1; }
    Slot SlotKind() const { return static_cast<Slot>((index_ - kCells) % 2); }

    const BoardAccess& a_;
    int index_;
};

// The score or the jumps in the tool bar: a name and a number.
class ValueItem : public Leaf, public QAccessibleValueInterface {
public:
    ValueItem(const BoardAccess& access, int index) : Leaf(access.ToolBar()), a_(access), jumps_(index == 1) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return jumps_ ? access::JumpsName(a_.Settings()) : access::ScoreName(a_.Settings());
        if (t == QAccessible::Value)
            return QString::number(Now());
        return {};
    }
    QRect rect() const override
    {
        // Where the painter puts the digits and the icons.
        const QRect r = jumps_ ? QRect(382, 6, 141, 45) : QRect(282, 22, 100, 27);
        return {a_.ToolBar()->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State st;
        st.readOnly = true;
        if (!a_.ToolBar()->isVisible())
            st.invisible = true;
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    }

    QVariant currentValue() const override { return Now(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return jumps_ ? 3 : 99999; }
    QVariant minimumValue() const override { return jumps_ ? 0 : -9999; }
    QVariant minimumStepSize() const override { return 1; }

private:
    int Now() const
    {
        const Tableau& b = a_.GameState().Position();
        return jumps_ ? b.JumpsLeft : b.Score;
    }

    const BoardAccess& a_;
    bool jumps_;
};

// The board area: a table of the 49 cells, with the side panel and the status line after
// them.
class BoardTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardTable(QWidget* board) : QAccessibleWidget(board, QAccessible::Table) {}

    int childCount() const override { return A() ? BoardAccess::kBoardChildren : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return A() && index >= 0 && index < BoardAccess::kBoardChildren ? A()->BoardChild(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* item) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (child(i) == item)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (!A())
            return nullptr;
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        const Cell c = A()->GameState().Layout().CellUnder(local.x(), local.y());
        return c == kOffTableau ? nullptr : child(c.row * kCols + c.col);
    }
    QAccessibleInterface* focusChild() const override
    {
        if (!A() || !A()->Cursor().Visible())
            return nullptr;
        return child(A()->Cursor().Row() * kCols + A()->Cursor().Col());
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && A())
            return access::BoardName(A()->Settings());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State st = QAccessibleWidget::state();
        st.focusable = true;
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // QAccessibleTableInterface: a fixed 7 x 7, nothing selectable.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= kRows || column < 0 || column >= kCols)
            return nullptr;
        return child(row * kCols + column);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override
    {
        return A() ? access::CellPlace(A()->Settings(), column, 0).section(QLatin1String(", "), 1) : QString();
    }
    QString rowDescription(int row) const override
    {
        return A() ? access::CellPlace(A()->Settings(), 0, row).section(QLatin1String(", "), 0, 0) : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kCols; }
    int rowCount() const override { return kRows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    BoardAccess* A() const { return AccessFor(widget()); }
};

// The tool bar: its buttons and caption as Qt sees them, then the score and the jumps.
class ToolBarAccessible : public QAccessibleWidget {
public:
    explicit ToolBarAccessible(QWidget* toolBar) : QAccessibleWidget(toolBar, QAccessible::ToolBar) {}

    int childCount() const override { return QAccessibleWidget::childCount() + (A() ? BoardAccess::kToolBarValues : 0); }
    QAccessibleInterface* child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        return A() && index - widgets < BoardAccess::kToolBarValues ? A()->ToolBarValue(index - widgets) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* item) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        for (int i = 0; A() && i < BoardAccess::kToolBarValues; ++i)
            if (A()->ToolBarValue(i) == item)
                return widgets + i;
        return QAccessibleWidget::indexOfChild(item);
    }

private:
    BoardAccess* A() const { return AccessFor(widget()); }
};

// An image button has a picture and a hint but no text: its hint is its name.
class ImageButtonAccessible : public QAccessibleWidget {
public:
    explicit ImageButtonAccessible(QAbstractButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return widget()->toolTip().isEmpty() ? access::ButtonName(LanguageNow(), widget()->objectName())
                                                 : widget()->toolTip();
        // The hint is the name already; said twice it is noise.
        if (t == QAccessible::Description && widget()->accessibleName().isEmpty())
            return widget()->accessibleDescription();
        return own;
    }
    QAccessible::State state() const override
    {
        QAccessible::State st = QAccessibleWidget::state();
        st.pressed = Button()->isDown();
        return st;
    }
    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction()) {
            if (Button()->isEnabled())
                Button()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// The item at `index`, made and handed to Qt's cache when first asked for.
template <typename Item, size_t N>
QAccessibleInterface* Made(std::array<QAccessibleInterface*, N>& items, int index, const BoardAccess& access)
{
    QAccessibleInterface*& item = items[static_cast<size_t>(index)];
    if (!item) {
        item = new Item(access, index);
        QAccessible::registerAccessibleInterface(item);
    }
    return item;
}

QAccessibleInterface* Factory(const QString& key, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (key == QLatin1String("torvella::ui::ImageButton")) {
        HintWatcher::Watch(w);
        return new ImageButtonAccessible(static_cast<QAbstractButton*>(w));
    }
    if (BoardAccess* a = AccessFor(w))
        return a->Board() == w ? static_cast<QAccessibleInterface*>(new BoardTable(w)) : new ToolBarAccessible(w);
    return nullptr;
}

} // namespace

BoardAccess::BoardAccess(QWidget* board, QWidget* toolBar, const Game& game, const BoardCursor& cursor,
                         const settings::GameSettings& settings)
    : board_(board), toolBar_(toolBar), game_(game), cursor_(cursor), settings_(settings)
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
    Registry().append(this);
}

BoardAccess::~BoardAccess()
{
    Registry().removeAll(this);
    for (QAccessibleInterface* item : boardItems_)
        if (item)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
    for (QAccessibleInterface* item : values_)
        if (item)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
}

QAccessibleInterface* BoardAccess::BoardChild(int index) { return Made<BoardItem>(boardItems_, index, *this); }

QAccessibleInterface* BoardAccess::ToolBarValue(int index) { return Made<ValueItem>(values_, index, *this); }

void BoardAccess::NameChanged(QAccessibleInterface* item)
{
    QAccessibleEvent e(item, QAccessible::NameChanged);
    Tell(e);
}

void BoardAccess::NamesChanged(int first, int end)
{
    if (!QAccessible::isActive())
        return;
    for (int i = first; i < end; ++i)
        NameChanged(BoardChild(i));
}

QString BoardAccess::Status() const
{
    QStringList lines;
    for (const Line& line : status_)
        lines << line();
    return lines.join(QLatin1String("; "));
}

void BoardAccess::SetStatus(Line line, bool append)
{
    if (!append)
        status_.clear();
    status_.push_back(std::move(line));
    NamesChanged(kStatusChild, kStatusChild + 1);
}

void BoardAccess::CellChanged(int col, int row)
{
    // A cake that lands, or comes back, ends the lift that was told.
    if (!game_.Lifted().Dragging)
        liftTold_ = false;
    if (QAccessible::isActive())
        NameChanged(BoardChild(row * kCols + col));
}

void BoardAccess::SlotChanged(Slot slot, int colour, int slices)
{
    if (colour < 1 || colour > kColours)
        return;
    if (QAccessible::isActive())
        NameChanged(BoardChild(SlotChildIndex(slot, colour)));
    // A hold place that empties does so because its cake followed onto the plate, which
    // was told just before.
    if (slices > 0)
        Outcome([this, slot, colour, slices] { return access::SlotName(settings_, slot, colour, slices); });
}

void BoardAccess::Lifted(int colour, int slices)
{
    // The cake in the air is drawn again at every step and tick: told once per lift.
    if (liftTold_)
        return;
    liftTold_ = true;
    outcomeTold_ = false;
    jumpPending_ = false;
    SetStatus([this, colour, slices] { return access::LiftedText(settings_, colour, slices); }, false);
}

void BoardAccess::Outcome(Line line)
{
    // The first outcome of a move replaces the lift's line, the next ones are added to it.
    SetStatus(std::move(line), outcomeTold_);
    outcomeTold_ = true;
}

void BoardAccess::ScoreChanged()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent e(ToolBarValue(0), game_.Position().Score);
    Tell(e);
}

void BoardAccess::JumpsChanged(int jumpsLeft)
{
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent e(ToolBarValue(1), jumpsLeft);
        Tell(e);
    }
    // A jump's sound follows at once; a hint plays the same sound without a jump.
    jumpPending_ = true;
}

void BoardAccess::Sounded(Sound sound)
{
    const auto text = [this](QString (*words)(const settings::GameSettings&)) {
        return [this, words] { return words(settings_); };
    };
    switch (sound) {
    case Sound::Refused: Outcome(text(access::RefusedText)); break;
    case Sound::Solved: Outcome(text(access::SolvedText)); break;
    case Sound::DeadEnd: Outcome(text(access::DeadEndText)); break;
    case Sound::Jump:
        if (jumpPending_)
            Outcome([this, left = game_.Position().JumpsLeft] { return access::JumpText(settings_, left); });
        break;
    default: break;  // plates and hold places tell their own outcome
    }
    jumpPending_ = false;
}

void BoardAccess::Renewed()
{
    liftTold_ = false;
    outcomeTold_ = false;
    NamesChanged(0, kStatusChild);
}

void BoardAccess::Repainted()
{
    // The pause draws every cell empty and leaves the plates and hold places in view.
    const bool covered = game_.Phase() == GamePhase::Paused;
    if (covered == covered_)
        return;
    covered_ = covered;
    NamesChanged(0, kCells);
}

void BoardAccess::LanguageChanged()
{
    NamesChanged(0, kBoardChildren);
    if (!QAccessible::isActive())
        return;
    NameChanged(QAccessible::queryAccessibleInterface(board_));
    for (int i = 0; i < kToolBarValues; ++i)
        NameChanged(ToolBarValue(i));
    // The buttons' names are their hints, which the tool bar has just set anew; a reader
    // learns of those through the hint watcher.
}

void BoardAccess::HintShown(Move move)
{
    const Tableau& b = game_.Position();
    const auto placed = [&b](Cell c) { return access::PlacedCake{b.Colour(c.col, c.row), b.Slices(c.col, c.row), c}; };
    SetStatus([this, lift = placed(move.from), target = placed(move.to)] {
        return access::HintText(settings_, lift, target);
    }, false);
}

void BoardAccess::Told(std::function<QString()> text)
{
    SetStatus(std::move(text), false);
}

void BoardAccess::CursorMoved()
{
    if (!cursor_.Visible()) {
        focusCell_ = kOffTableau;
        return;
    }
    const Cell now{cursor_.Col(), cursor_.Row()};
    if (now == focusCell_)
        return;
    focusCell_ = now;
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent e(BoardChild(now.row * kCols + now.col), QAccessible::Focus);
    Tell(e);
}

} // namespace torvella::ui
