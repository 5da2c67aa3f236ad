#include "ui/WindowPlacer.h"

#include "settings/Keys.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace torvella::ui {

settings::WindowPlacement WindowPlacer::Current() const
{
    if (settings::ShowCommandFor(window_.windowState()) == settings::ShowNormal)
        return settings::PlacementOf(window_.geometry(), FrameNow(), window_.windowState());
    // Not the frame of now: a maximised window's frame may be thinner than its normal one.
    return settings::PlacementOf(window_.normalGeometry(), normalFrame_.value_or(FrameNow()), window_.windowState());
}

QMargins WindowPlacer::FrameNow() const
{
    const QRect frame = window_.frameGeometry();
    const QRect client = window_.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void WindowPlacer::Moved()
{
    // The stored rectangle is the outer one. Until the window manager has framed the
    // window its frame is not known, and the first placement took the outer size for the
    // client's; once the frame is there, the same placement is made again with it.
    if (framePending_ && window_.frameGeometry() != window_.geometry()) {
        framePending_ = false;
        Apply();
    }
    if (settings::ShowCommandFor(window_.windowState()) == settings::ShowNormal &&
        window_.frameGeometry() != window_.geometry())
        normalFrame_ = FrameNow();
}

void WindowPlacer::Restore()
{
    stored_ = settings::Read(ini_, settings::keys::Placement);
    clientSizeAtShow_ = window_.size();
    framePending_ = true;
    Apply();
}

void WindowPlacer::Apply()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect virt = screen->virtualGeometry();
    const QRect prim = screen->geometry();
    const int dw = window_.frameGeometry().width() - window_.width();
    const int dh = window_.frameGeometry().height() - window_.height();
    // The window's own size with the frame as far as it is known.
    settings::WindowPlacement current = Current();
    current.right = current.left + clientSizeAtShow_.width() + dw;
    current.bottom = current.top + clientSizeAtShow_.height() + dh;
    const settings::WindowPlacement pl = settings::RestorePlacement(
        stored_, current, {virt.x(), virt.y(), virt.width(), virt.height()},
        {prim.x(), prim.y(), prim.width(), prim.height()});
    // The smallest outer size the player can drag the window to.
    window_.setMinimumSize(settings::MinTrackWidth - dw, settings::MinTrackHeight - dh);
    if (window_.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    window_.move(pl.left, pl.top); // the frame's position
    window_.resize(std::max(pl.Width() - dw, 1), std::max(pl.Height() - dh, 1));
}

void WindowPlacer::Save()
{
    settings::WindowPlacement placement = closedPlacement_.value_or(Current());
    // Under Wayland a window neither chooses nor learns its position: keep the one
    // stored, change only the size.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect prim = screen ? screen->geometry() : QRect();
        placement = settings::KeepStoredPosition(placement, settings::Read(ini_, settings::keys::Placement),
                                                 {prim.x(), prim.y(), prim.width(), prim.height()});
    }
    settings::Changes()
        .Set(settings::keys::Placement, settings::FormatPlacement(placement))
        .Remove(settings::keys::PlacementColour)
        .Remove(settings::keys::PlacementFont)
        .WriteTo(ini_);
}

} // namespace torvella::ui
