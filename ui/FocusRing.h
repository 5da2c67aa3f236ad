#pragma once
// The keyboard focus of a dialog, made visible: a ring around the widget that has the focus,
// shown only once the player has pressed a key in the dialog (a click hides it again), so
// a dialog used by the mouse looks exactly as it always did. One ring per dialog, laid over
// its children and passing the mouse through.
#include <QPointer>
#include <QWidget>

namespace torvella::ui {

class FocusRing : public QWidget {
    Q_OBJECT
public:
    // Margin between the ring's outer edge and the widget it surrounds.
    static constexpr int kMargin = 4;

    explicit FocusRing(QWidget* dialog);

    // While the dialog is shown the ring listens to the keys and clicks inside it; each
    // showing starts without the ring.
    void Watch(bool on);
    // Whether the ring is up (the keyboard has been used since the dialog was shown or
    // last clicked).
    bool Shown() const { return keyboard_; }
    // The widget the ring surrounds; null while it is hidden.
    QWidget* Around() const { return isVisible() ? around_.data() : nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent*) override;

private:
    void Follow();

    QWidget* dialog_;
    QPointer<QWidget> around_;
    bool keyboard_ = false;
    bool watching_ = false;
};

} // namespace torvella::ui
