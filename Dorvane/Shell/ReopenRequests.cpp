#include "Dorvane/Shell/ReopenRequests.h"

#include <exception>
#include <system_error>

namespace dorvane {

bool ReopenRequests::send() {
    try {
        return center_.post(system::DistributedNotification{notificationName, root_.string(), std::nullopt});
    } catch (const std::exception&) {
        return false;
    }
}

bool ReopenRequests::namesFolder(const std::optional<std::string>& sent, const std::filesystem::path& root) {
    if (!sent || sent->empty()) return false;
    if (*sent == root.string()) return true;
    // Another spelling of the same folder (a link, "//", "/./"): the same file.
    std::error_code error;
    return std::filesystem::equivalent(*sent, root, error) && !error;
}

dispatch::Observation ReopenRequests::observe(dispatch::Executor& executor, std::function<void()> handler) {
    return center_.addObserver(notificationName, executor,
                               [root = root_, handler = std::move(handler)](
                                   const system::DistributedNotification& notification) {
                                   if (namesFolder(notification.object, root)) handler();
                               });
}

}  // namespace dorvane
