#pragma once

#include <QApplication>

#include "Platform/Dispatch/Executor.h"

namespace dorvane::qthost {

// The program's QApplication: an exception that escapes an event handler (a click whose
// callback met a host error, say) goes to the program's last resort, reported as on
// "main", instead of through Qt's event loop, which cannot carry one. Events it stopped
// count as not handled.
class GuardedApplication final : public QApplication {
public:
    GuardedApplication(int& argc, char** argv, dispatch::UnhandledFailureHandler onUnhandled);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    dispatch::UnhandledFailureHandler onUnhandled_;
};

}  // namespace dorvane::qthost
