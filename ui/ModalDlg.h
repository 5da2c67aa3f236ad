#pragma once
// What the game's dialogs share: a frameless modal window of a fixed size in the dialog
// font, owned by the main window; its place, found anew each time it is shown; and the
// keys that answer Yes.
#include <QDialog>

class QKeyEvent;

namespace torvella::ui {

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

protected:
    ModalDlg(QWidget* mainWindow, const char* name, QSize size, Placement placement);

    QWidget* MainWindow() const { return mainWindow_; }

    // Each time the dialog is shown, after it is placed: its texts in the current language.
    virtual void FormActivate() {}
    void showEvent(QShowEvent* e) override;

private:
    void Place();

    QWidget* mainWindow_;
    Placement placement_;
};

} // namespace torvella::ui
