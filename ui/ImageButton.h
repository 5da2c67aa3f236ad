#pragma once
// A 50 x 50 button whose face is a picture: one for idle, one while the pointer is over
// it (and no mouse button is held), one while disabled; the idle face again while it is
// pressed. Pure white in a face is transparent, so the background shows in the corners.
// It takes no keyboard focus unless given a focus policy; with the focus, Space and Enter
// click it.
#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

namespace torvella::ui {

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);

    // A null disabled face falls back to the normal one.
    void SetFaces(const QImage& normal, const QImage& hover, const QImage& disabled = QImage());
    bool Hovered() const { return hovered_; }
    QSize sizeHint() const override { return {50, 50}; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    static QPixmap WhiteTransparent(const QImage& face);
    // The face for the button's state now, made from its picture when first shown: most
    // buttons never show all three, and a start shows one face of each.
    const QPixmap& Face();

    QImage normalFace_, hoverFace_, disabledFace_;  // as given; a null one is the normal face
    QPixmap normal_, hover_, disabled_;
    bool hovered_ = false;
};

} // namespace torvella::ui
