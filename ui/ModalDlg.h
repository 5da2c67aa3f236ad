#pragma once
// What the game's dialogs share: a frameless modal window of a fixed size in the dialog
// font, owned by the main window (so a transient child of it, which a Wayland compositor
// places over the game); its place, found anew each time it is shown; the keys that
// answer Yes; and the keyboard focus with its ring.
#include <QDialog>

class QKeyEvent;

namespace torvella::ui {

class FocusRing;
class ImageButton;

class ModalDlg : public QDialog {
    Q_OBJECT
public:
    // Where the dialog appears.
    enum class Placement {
        // Centred across the main window, vertically over its client area (measured
        // from the bottom edge of the frame).
        OverClientArea,
        // The same, but only while the main window is visible.
        OverShownClientArea,
        // Centred over the main window's outer frame, two pixels higher.
        OverWindow,
        // Centred on the main window's screen.
        OnScreen,
    };

    // Enter, "J", "j", "Y" and "y".
    static bool IsYesKey(const QKeyEvent* e);

    // The ring around the keyboard focus (hidden until a key is pressed in the dialog).
    const FocusRing* Ring() const { return ring_; }

protected:
    ModalDlg(QWidget* mainWindow, const char* name, QSize size, Placement placement);

    QWidget* MainWindow() const { return mainWindow_; }

    // An image button of the dialog: reached by Tab and the arrows (a click leaves the
    // focus where it is), acting on Space and Enter.
    ImageButton* MakeButton(QWidget* parent, const char* name, QPoint at);

    // Each time the dialog is shown, after it is placed: its texts in the current language.
    virtual void FormActivate() {}
    // Where the keyboard starts each time the dialog is shown; null leaves it where it is.
    virtual QWidget* FirstFocus() const { return nullptr; }
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void Place();

    QWidget* mainWindow_;
    Placement placement_;
    FocusRing* ring_;
};

} // namespace torvella::ui
