#include "ui/ImageButton.h"

#include <QBitmap>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

namespace torvella::ui {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(50, 50);
}

QPixmap ImageButton::WhiteTransparent(const QImage& face)
{
    if (face.isNull())
        return {};
    QImage img = face.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = 0;
    }
    return QPixmap::fromImage(img);
}

void ImageButton::SetFaces(const QImage& normal, const QImage& hover, const QImage& disabled)
{
    normalFace_ = normal;
    hoverFace_ = hover;
    disabledFace_ = disabled;
    normal_ = hover_ = disabled_ = QPixmap();
    update();
}

const QPixmap& ImageButton::Face()
{
    const auto made = [](const QImage& face, QPixmap& pixmap) -> const QPixmap& {
        if (pixmap.isNull())
            pixmap = WhiteTransparent(face);
        return pixmap;
    };
    if (!isEnabled() && !disabledFace_.isNull())
        return made(disabledFace_, disabled_);
    if (isEnabled() && hovered_ && !isDown() && !hoverFace_.isNull())
        return made(hoverFace_, hover_);
    return made(normalFace_, normal_);
}

bool ImageButton::event(QEvent* e)
{
    // A disabled button reacts to the pointer in no way, its hint included (Qt would
    // still show it).
    if (e->type() == QEvent::ToolTip && !isEnabled()) {
        e->ignore();
        return true;
    }
    return QAbstractButton::event(e);
}

void ImageButton::keyPressEvent(QKeyEvent* e)
{
    // Qt's buttons click on Space only (a push button in a dialog gets Enter from the
    // dialog as its default); a picture button with the focus takes Enter itself.
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(e);
}

void ImageButton::enterEvent(QEnterEvent* e)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(e);
}

void ImageButton::leaveEvent(QEvent* e)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPixmap& face = Face();
    // 2x faces on a screen between the stored resolutions are scaled smoothly.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!face.isNull())
        p.drawPixmap(0, 0, face);
}

} // namespace torvella::ui
