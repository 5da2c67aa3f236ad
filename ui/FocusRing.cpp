#include "ui/FocusRing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace torvella::ui {

FocusRing::FocusRing(QWidget* dialog) : QWidget(dialog), dialog_(dialog)
{
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (watching_)
            Follow();
    });
}

void FocusRing::Watch(bool on)
{
    if (on == watching_)
        return;
    watching_ = on;
    keyboard_ = false;
    // Only while shown: a filter on the application sees every event of the program.
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    Follow();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != dialog_)
        return false;
    // A key that moves the focus moves the ring through focusChanged; any other shows
    // it where the focus already is.
    keyboard_ = type == QEvent::KeyPress;
    Follow();
    return false;
}

void FocusRing::Follow()
{
    QWidget* focus = dialog_->focusWidget();
    if (!watching_ || !keyboard_ || !focus || focus == dialog_ || !focus->isVisible() || focus->window() != dialog_) {
        around_ = nullptr;
        hide();
        return;
    }
    around_ = focus;
    const QRect target(focus->mapTo(dialog_, QPoint(0, 0)), focus->size());
    setGeometry(target.adjusted(-kMargin, -kMargin, kMargin, kMargin));
    raise();
    show();
    update();
}

void FocusRing::paintEvent(QPaintEvent*)
{
    // A bright band between two dark lines, legible on light and dark pictures alike.
    QPainter p(this);
    const QRect r = rect();
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.drawRect(r.adjusted(3, 3, -4, -4));
    p.setPen(QColor(255, 214, 0));
    p.drawRect(r.adjusted(1, 1, -2, -2));
    p.drawRect(r.adjusted(2, 2, -3, -3));
}

} // namespace torvella::ui
