#include "settings/WindowState.h"

#include "settings/Decimal.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace torvella::settings {

QString FormatPlacement(const WindowPlacement& p)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
        .arg(PlacementMarker)
        .arg(p.flags)
        .arg(p.showCmd)
        .arg(p.left)
        .arg(p.top)
        .arg(p.right)
        .arg(p.bottom);
}

std::optional<WindowPlacement> ParsePlacement(const QString& text)
{
    const QStringList items = text.split(u',');
    if (items.size() != 7 || items[0] != QStringLiteral("200"))
        return std::nullopt;
    int rect[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<int32_t> v = ParseDecimal(items[3 + i]);
        if (!v)
            return std::nullopt;
        rect[i] = *v;
    }
    WindowPlacement p;
    p.flags = ParseDecimal(items[1]).value_or(0);
    p.showCmd = ParseDecimal(items[2]).value_or(ShowNormal);
    p.left = rect[0];
    p.top = rect[1];
    p.right = rect[2];
    p.bottom = rect[3];
    return p;
}

WindowPlacement ClampToDesktop(const WindowPlacement& placement, const ScreenArea& desktop)
{
    // 64 bits: stored edges may be anywhere in the 32-bit range
    int64_t l = placement.left, t = placement.top, r = placement.right, b = placement.bottom;
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    int64_t w = r - l, h = b - t;
    const int64_t deskW = std::max(desktop.width, 0), deskH = std::max(desktop.height, 0);
    if (w > deskW) {
        w = deskW;
        r = l + w;
    }
    if (h > deskH) {
        h = deskH;
        b = t + h;
    }
    const int64_t deskRight = int64_t(desktop.left) + deskW;
    const int64_t deskBottom = int64_t(desktop.top) + deskH;
    if (r > deskRight) {
        l = deskRight - w;
        r = deskRight;
    }
    if (b > deskBottom) {
        t = deskBottom - h;
        b = deskBottom;
    }
    if (l < desktop.left) {
        r = desktop.left + w;
        l = desktop.left;
    }
    if (t < desktop.top) {
        b = desktop.top + h;
        t = desktop.top;
    }
    WindowPlacement out = placement;
    out.left = int(l);
    out.top = int(t);
    out.right = int(r);
    out.bottom = int(b);
    return out;
}

WindowPlacement CentreOnScreen(const WindowPlacement& placement, const ScreenArea& screen)
{
    const int w = placement.Width(), h = placement.Height();
    WindowPlacement out = placement;
    out.left = screen.left + (screen.width - w) / 2;
    out.top = screen.top + (screen.height - h) / 2;
    out.right = out.left + w;
    out.bottom = out.top + h;
    return out;
}

WindowPlacement EnforceMinimumSize(const WindowPlacement& placement)
{
    WindowPlacement out = placement;
    if (out.Width() < MinTrackWidth)
        out.right = out.left + MinTrackWidth;
    if (out.Height() < MinTrackHeight)
        out.bottom = out.top + MinTrackHeight;
    return out;
}

WindowPlacement KeepStoredPosition(const WindowPlacement& current, const QString& stored,
                                   const ScreenArea& primaryScreen)
{
    const std::optional<WindowPlacement> kept = ParsePlacement(stored);
    if (!kept)
        return CentreOnScreen(current, primaryScreen);
    WindowPlacement out = current;
    out.left = kept->left;
    out.top = kept->top;
    out.right = kept->left + current.Width();
    out.bottom = kept->top + current.Height();
    return out;
}

WindowPlacement RestorePlacement(const QString& stored, const WindowPlacement& current,
                                 const ScreenArea& desktop, const ScreenArea& primaryScreen)
{
    WindowPlacement result;
    if (const std::optional<WindowPlacement> saved = ParsePlacement(stored)) {
        result = current;
        result.left = saved->left;
        result.top = saved->top;
        result.right = saved->right;
        result.bottom = saved->bottom;
        result = ClampToDesktop(result, desktop);
    } else {
        result = CentreOnScreen(current, primaryScreen);
    }
    if (current.showCmd == ShowNormal)
        result = EnforceMinimumSize(result);
    return result;
}

WindowPlacement PlacementOf(const QRect& normalClient, const QMargins& normalFrame, Qt::WindowStates states)
{
    const QRect outer = normalClient.marginsAdded(normalFrame);
    WindowPlacement p;
    p.flags = PlacementFlagsFor(states);
    p.showCmd = ShowCommandFor(states);
    p.left = outer.left();
    p.top = outer.top();
    p.right = outer.left() + outer.width();
    p.bottom = outer.top() + outer.height();
    return p;
}

int ShowCommandFor(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return ShowMinimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return ShowMaximized;
    return ShowNormal;
}

int PlacementFlagsFor(Qt::WindowStates states)
{
    if ((states & Qt::WindowMinimized) && (states & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return RestoreToMaximized;
    return 0;
}

} // namespace torvella::settings
