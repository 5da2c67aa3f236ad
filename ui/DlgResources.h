#pragma once
// The shared picture lists of the dialogs (dlgs, opts) and of the main window's
// right-hand tool-bar buttons (btns), loaded once from the embedded pictures, plus the
// few small pieces every dialog builds itself from.
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QWidget>

namespace torvella::ui {

class FramedPanel;
class ImageButton;

class DlgResources {
public:
    // Decodes nothing yet: each picture is decoded the first time it is asked for, and
    // kept from then on.
    DlgResources();

    const QList<QImage>& dlgs() const { return All(Dlgs); }
    const QList<QImage>& opts() const { return All(Opts); }
    const QList<QImage>& btns() const { return All(Btns); }

    // One picture of a list; a null image for an index the list does not have.
    QImage Dlg(int index) const { return At(Dlgs, index); }
    QImage Opt(int index) const { return At(Opts, index); }
    QImage Btn(int index) const { return At(Btns, index); }
    // How many pictures have been decoded so far.
    int Decoded() const;

private:
    enum ListId { Dlgs, Opts, Btns, ListCount };
    QImage At(ListId list, int index) const;
    const QList<QImage>& All(ListId list) const;

    mutable QList<QImage> lists_[ListCount];
};

// The device pixel ratio the faces and dialog pictures are chosen for: the densest screen's,
// so that a window on it is sharp (on a plainer screen the painter scales them down smoothly).
qreal FaceRatio();

// Liberation Sans stands in for Arial (same metrics). Sizes are pixels, because every
// dialog places its controls at fixed pixel positions.
QFont DialogFont(int pixelSize, bool bold);

// A plain-text label in white on a transparent background, at a fixed place.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize, bool bold,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// Text turned by 90 degrees, reading upwards from the bottom of its box, white with a
// black edge above-left and a black shadow below-right so it stands out of the picture.
class RaisedVerticalLabel : public QWidget {
    Q_OBJECT
public:
    RaisedVerticalLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize);
    void setText(const QString& text);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};

// The face of a disabled button: the normal face in soft greys (pure white, which the
// button shows as transparent, stays white).
QImage GreyedFace(const QImage& face);

// A picture with an alpha channel drawn over whatever lies beneath it.
QLabel* MakePicture(QWidget* parent, const char* name, const QPoint& at, const QImage& picture);
// Puts a picture into such a label, sized to the picture; a missing picture changes nothing.
void ShowPicture(QLabel* label, const QImage& picture);

// What the options and information dialogs share: the framed back panel filling the
// 497 x 416 dialog, the picture at (0, 12), and the program name and version reading
// upwards at the left edge.
struct BrandSide {
    FramedPanel* backPanel = nullptr;
    QLabel* picture = nullptr;
    RaisedVerticalLabel* prog = nullptr;
    RaisedVerticalLabel* version = nullptr;
};
BrandSide MakeBrandSide(QWidget* dialog);
// "Version  V1.1", two blanks after "Version", with the project's version.
QString VersionText();

} // namespace torvella::ui
