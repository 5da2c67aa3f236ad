#pragma once
// The framed panel of the dialogs: a background picture, a black border three pixels wide,
// a raised outer bevel and a sunken inner bevel, two pixels each.
#include <QImage>
#include <QWidget>

namespace torvella::ui {

class FramedPanel : public QWidget {
    Q_OBJECT
public:
    explicit FramedPanel(QWidget* parent = nullptr);
    // The picture is scaled to the panel when its (logical) size differs.
    void SetPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
};

} // namespace torvella::ui
