#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "Dorvane/ShellBase/ApplicationPlatform.h"

class QSocketNotifier;

namespace dorvane::qthost {

// SIGTERM and SIGINT through a self-pipe: the signal handler only writes a byte, and a
// QSocketNotifier on the main thread calls the handler once per signal. The signals are
// caught, not ignored, so worker children started later get the default dispositions
// back on exec. One instance per process; once it is gone (the program is ending) the
// signals are caught and dropped, so that a late request does not kill the last steps.
class QtTerminationSignals final : public TerminationSignals {
public:
    QtTerminationSignals();
    ~QtTerminationSignals() override;

    // Terminate first, then interrupt.
    void install(std::function<void()> handler) override;

private:
    void drain();

    std::function<void()> handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace dorvane::qthost
