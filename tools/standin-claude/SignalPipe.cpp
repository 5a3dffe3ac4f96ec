#include "SignalPipe.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {
int pipeFds[2] = {-1, -1};

void onSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const auto written = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}
}  // namespace

SignalPipe::SignalPipe(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGUSR1, &action, nullptr);
    ::sigaction(SIGUSR2, &action, nullptr);
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalPipe::drain);
}

void SignalPipe::drain() {
    char bytes[64];
    ssize_t count;
    while ((count = ::read(pipeFds[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            if (bytes[i] == SIGTERM)
                emit terminateRequested();
            else if (bytes[i] == SIGUSR1)
                emit reopenRequested();
            else if (bytes[i] == SIGUSR2)
                emit closeRequested();
        }
    }
}
