// The explode animation played when the main window comes up: a rectangle outline grows in
// 40 steps from the mouse pointer to the window's outer rectangle, stays drawn as a trail,
// and is then erased step by step. The screen itself cannot be drawn on under X11, so the
// outlines live in a short-lived click-through top-level overlay whose shape is the outlines
// alone (no compositor needed). Whatever the program asks first (the language question)
// waits until the animation has ended. Where the platform cannot show such a window (Wayland, the
// offscreen and minimal platforms, no screen) nothing is created.
#pragma once

#include <QPoint>

#include <functional>

class QWidget;

namespace torvella::ui {

constexpr int kExplodeSteps = 40;

// Edges of a rectangle as the animation counts them: right and bottom lie one past the
// last pixel column and row.
struct ExplodeEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ExplodeEdges&, const ExplodeEdges&) = default;
};

// Step i (1..kExplodeSteps) of the animation from start to target; the last step is the target.
ExplodeEdges ExplodeRect(QPoint start, ExplodeEdges target, int i);

// Whether this platform can show the overlay at all.
bool ExplodeSupported();

// Plays the animation from the pointer to window's frame and then calls done (from the
// event loop, and only while window exists; at once when there is no animation). A modal
// dialog that comes up meanwhile ends the animation at once. Returns the overlay (it
// deletes itself when done or when window goes), or nullptr when the platform cannot
// show it.
QWidget* StartExplode(QWidget* window, std::function<void()> done = {});

} // namespace torvella::ui
