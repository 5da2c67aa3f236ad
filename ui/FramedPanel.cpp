#include "ui/FramedPanel.h"

#include <QPainter>

namespace torvella::ui {

FramedPanel::FramedPanel(QWidget* parent) : QWidget(parent) {}

void FramedPanel::SetPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void FramedPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    if (!picture_.isNull()) {
        // A 2x picture on a screen between the stored resolutions is scaled smoothly.
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (picture_.deviceIndependentSize().toSize() == r.size())
            p.drawImage(0, 0, picture_);
        else
            p.drawImage(r, picture_);
    } else {
        p.fillRect(r, QColor(0x5a, 0x3a, 0x22));
    }
    // Border, then the raised and sunken bevels inside it.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const int b = 3;
    p.drawRect(0, 0, r.width(), b);
    p.drawRect(0, r.height() - b, r.width(), b);
    p.drawRect(0, 0, b, r.height());
    p.drawRect(r.width() - b, 0, b, r.height());
    auto bevel = [&](int inset, bool raised) {
        const QColor light(255, 255, 255, 150), dark(0, 0, 0, 150);
        for (int i = 0; i < 2; ++i) {
            const QRect q = r.adjusted(inset + i, inset + i, -(inset + i) - 1, -(inset + i) - 1);
            p.setPen(raised ? light : dark);
            p.drawLine(q.topLeft(), q.topRight());
            p.drawLine(q.topLeft(), q.bottomLeft());
            p.setPen(raised ? dark : light);
            p.drawLine(q.bottomLeft(), q.bottomRight());
            p.drawLine(q.topRight(), q.bottomRight());
        }
    };
    bevel(b, true);
    bevel(b + 2, false);
}

} // namespace torvella::ui
