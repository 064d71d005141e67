#include "Dorvane/Shell/ReopenRequests.h"

#include <exception>

namespace dorvane {

bool ReopenRequests::send() {
    try {
        return center_.post(system::DistributedNotification{notificationName, root_.string(), std::nullopt});
    } catch (const std::exception&) {
        return false;
    }
}

dispatch::Observation ReopenRequests::observe(dispatch::Executor& executor, std::function<void()> handler) {
    return center_.addObserver(notificationName, executor,
                               [root = root_.string(), handler = std::move(handler)](
                                   const system::DistributedNotification& notification) {
                                   if (notification.object == root) handler();
                               });
}

}  // namespace dorvane
