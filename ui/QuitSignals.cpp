#include "ui/QuitSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace torvella::ui {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnQuitSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal the loop has yet to see: nothing is lost.
    [[maybe_unused]] const ssize_t n = write(g_pipe[1], &number, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal))
{
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("torvella: no pipe for the quit signals");
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    delete notifier_;
    for (int& fd : g_pipe) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void QuitSignals::Drain()
{
    unsigned char number = 0;
    int last = 0;
    while (read(g_pipe[0], &number, 1) == 1)
        last = number;
    if (last && onSignal_)
        onSignal_(last);
}

} // namespace torvella::ui
