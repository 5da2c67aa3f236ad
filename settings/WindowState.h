#pragma once
// The main window's stored placement and the arithmetic that restores it.
//
// The placement is stored as the value "MainForm" of section "common": seven decimal
// integers joined by commas, "200,flags,show,left,top,right,bottom", where the
// rectangle is the window's normal (restored) frame rectangle, right and bottom
// exclusive (right = left + width). Flags and show command use the Windows values
// so a store moved between systems keeps its meaning; they are written but not
// applied on restore.
//
// These are pure functions; the window code reads the platform's state, calls
// RestorePlacement and applies the result.
#include <QMargins>
#include <QRect>
#include <QString>
#include <Qt>
#include <optional>

namespace torvella::settings {

inline constexpr int PlacementMarker = 200;
// smallest outer size the window may have or be dragged to
inline constexpr int MinTrackWidth = 750;
inline constexpr int MinTrackHeight = 480;

// show commands
inline constexpr int ShowNormal = 1;
inline constexpr int ShowMinimized = 2;
inline constexpr int ShowMaximized = 3;
// placement flag: a minimised window comes back maximised
inline constexpr int RestoreToMaximized = 2;

struct WindowPlacement {
    int flags = 0;
    int showCmd = ShowNormal;
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const WindowPlacement&) const = default;
};

// A screen or the whole desktop: origin and size in pixels.
struct ScreenArea {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const ScreenArea&) const = default;
};

// "200,flags,show,left,top,right,bottom", no blanks.
QString FormatPlacement(const WindowPlacement& placement);

// nullopt = nothing valid stored (the window is centred): not exactly seven items,
// first item not exactly "200", or one of the rectangle items not a decimal integer.
// Flags and show command that are no integers read as 0 and ShowNormal.
std::optional<WindowPlacement> ParsePlacement(const QString& text);

// Moves the normal rectangle back onto the desktop without changing its size, in
// this order: right edge, bottom edge, left edge, top edge. A rectangle with
// negative width or height has its edges swapped first, and one larger than the
// desktop is cut to the desktop's size, so what comes out always lies on it.
WindowPlacement ClampToDesktop(const WindowPlacement& placement, const ScreenArea& desktop);

// The same size, centred on the screen: left = screen.left + (screen width - width) / 2,
// top likewise, division truncating toward zero.
WindowPlacement CentreOnScreen(const WindowPlacement& placement, const ScreenArea& screen);

// Widens to MinTrackWidth and heightens to MinTrackHeight where smaller, keeping left
// and top.
WindowPlacement EnforceMinimumSize(const WindowPlacement& placement);

// The whole restore: the stored rectangle (clamped to the desktop) when the text is
// valid, else the current rectangle centred on the primary screen; flags and show
// command stay those of `current`; the minimum size applies when `current` is in its
// normal state.
WindowPlacement RestorePlacement(const QString& stored, const WindowPlacement& current,
                                 const ScreenArea& desktop, const ScreenArea& primaryScreen);

// For a window system where a window cannot choose or learn its position (Wayland): the
// placement to store is the current one moved to the stored position, so the position a
// player's other sessions keep is not overwritten with zeros; the size is the current
// one. Nothing valid stored: the current size centred on the primary screen, where the
// window would be put at its first start anyway.
WindowPlacement KeepStoredPosition(const WindowPlacement& current, const QString& stored,
                                   const ScreenArea& primaryScreen);

// The placement to store for a window whose client rectangle in the normal state is
// `normalClient` and whose frame there is `normalFrame` (the frame's widths left, top, right,
// bottom). The frame must be the normal state's: a window manager may draw a maximised
// window with a thinner frame, and that one would shift and shrink the window at each start.
WindowPlacement PlacementOf(const QRect& normalClient, const QMargins& normalFrame, Qt::WindowStates states);

// Qt's window state as the show command that is stored (minimised wins over
// maximised; full screen counts as maximised).
int ShowCommandFor(Qt::WindowStates states);
// RestoreToMaximized for a minimised window that was maximised before, else 0.
int PlacementFlagsFor(Qt::WindowStates states);

} // namespace torvella::settings
