#include "ui/ModalDlg.h"

#include "ui/DlgResources.h"
#include "ui/FocusRing.h"
#include "ui/ImageButton.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace torvella::ui {

ModalDlg::ModalDlg(QWidget* mainWindow, const char* name, QSize size, Placement placement)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), mainWindow_(mainWindow), placement_(placement)
{
    setObjectName(QString::fromLatin1(name));
    setModal(true);
    setFixedSize(size);
    setFont(DialogFont(11, true));
    ring_ = new FocusRing(this);
}

ImageButton* ModalDlg::MakeButton(QWidget* parent, const char* name, QPoint at)
{
    auto* button = new ImageButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(QRect(at, QSize(50, 50)));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

bool ModalDlg::IsYesKey(const QKeyEvent* e)
{
    const QString t = e->text();
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || t == u"J" || t == u"j" || t == u"Y" ||
           t == u"y";
}

void ModalDlg::showEvent(QShowEvent* e)
{
    Place();
    FormActivate();
    if (QWidget* first = FirstFocus())
        first->setFocus(Qt::OtherFocusReason);
    ring_->Watch(true);
    QDialog::showEvent(e);
}

void ModalDlg::hideEvent(QHideEvent* e)
{
    ring_->Watch(false);
    QDialog::hideEvent(e);
}

void ModalDlg::Place()
{
    if (placement_ == Placement::OnScreen) {
        // Asked before the main window has shown anything.
        QScreen* screen = mainWindow_ ? mainWindow_->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->geometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
        return;
    }
    if (!mainWindow_ || (placement_ == Placement::OverShownClientArea && !mainWindow_->isVisible()))
        return;
    // Outer sizes of the main window, except its client height; C++ division truncates
    // toward zero, as the placement rules want.
    const QRect outer = mainWindow_->frameGeometry();
    const int left = outer.left() + (outer.width() - width()) / 2;
    if (placement_ == Placement::OverWindow)
        move(left, outer.top() + (outer.height() - height()) / 2 - 2);
    else
        move(left, outer.top() + outer.height() - (mainWindow_->height() + height()) / 2);
}

} // namespace torvella::ui
