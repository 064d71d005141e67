#include "Dorvane/QtHost/GuardedApplication.h"

#include <utility>

namespace dorvane::qthost {

GuardedApplication::GuardedApplication(int& argc, char** argv, dispatch::UnhandledFailureHandler onUnhandled)
    : QApplication(argc, argv), onUnhandled_(std::move(onUnhandled)) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        dispatch::reportUnhandledFailure("main", onUnhandled_, std::current_exception());
        return false;
    }
}

}  // namespace dorvane::qthost
