#pragma once
// Driving modal dialogs from a test: the action is queued before exec() starts and runs
// inside the dialog's own event loop, on whatever modal window is open at that moment.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace torvella::testing {

inline void WhenModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, qApp, [action = std::move(action)] { action(QApplication::activeModalWidget()); });
}

// Runs the queued actions that did not find a dialog to act on.
inline void FlushQueued()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    return parent ? parent->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

} // namespace torvella::testing
