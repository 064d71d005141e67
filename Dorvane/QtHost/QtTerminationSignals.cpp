#include "Dorvane/QtHost/QtTerminationSignals.h"

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace dorvane::qthost {

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

// Once the handler is gone the program is ending, its quit done: a further request changes
// nothing, and the process is left to end in order rather than killed half way through its
// last steps. Caught rather than ignored, so that a child started now still gets the
// default disposition on exec.
extern "C" void afterTheQuit(int) {}

}  // namespace

QtTerminationSignals::QtTerminationSignals() = default;

QtTerminationSignals::~QtTerminationSignals() {
    if (!notifier_) return;
    struct sigaction fallback {};
    fallback.sa_handler = afterTheQuit;
    sigemptyset(&fallback.sa_mask);
    // As the live handler: a dropped request must not cut a slow call of the last steps short.
    fallback.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &fallback, nullptr);
    ::sigaction(SIGINT, &fallback, nullptr);
    notifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void QtTerminationSignals::install(std::function<void()> handler) {
    handler_ = std::move(handler);
    if (notifier_) return;
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("cannot create the signal pipe: " + std::to_string(errno));
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void QtTerminationSignals::drain() {
    char bytes[64];
    for (;;) {
        const ssize_t count = ::read(signalPipe[0], bytes, sizeof bytes);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;
        for (ssize_t index = 0; index < count; ++index) {
            if (handler_) handler_();
        }
    }
}

}  // namespace dorvane::qthost
