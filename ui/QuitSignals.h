#pragma once
// SIGTERM, SIGINT and SIGHUP end the program the way a close that cannot be asked does.
// A signal handler may do next to nothing, so it only writes the signal's number into a
// pipe; the event loop reads it there and calls the handler on the user-interface thread.
//
// The handlers are installed before any library starts (the sound library would
// otherwise put its own in their place and keep the signals to itself).
#include <QObject>

#include <csignal>
#include <functional>

class QSocketNotifier;

namespace torvella::ui {

class QuitSignals : public QObject {
public:
    // Only one may live at a time; destroying it puts the default actions back.
    explicit QuitSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

private:
    void Drain();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace torvella::ui
