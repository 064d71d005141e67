#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/System/DistributedNotifications.h"

namespace dorvane {

// What opening the program again while it runs tells the running instance: bring the
// settings window back. The start that finds the instance lock held sends the request
// through the user's notification center, naming its support folder; only the instance
// of that folder answers. The lock file itself carries nothing.
//
//   ReopenRequests requests(center, root);
//   auto watch = requests.observe(mainQueue, [&] { controller.applicationShouldHandleReopen(); });
//   ReopenRequests(center, root).send();   // from the second start, which then ends
class ReopenRequests {
public:
    static constexpr const char* notificationName = "com.corvelle.application.reopen";

    ReopenRequests(system::DistributedNotificationCenter& center, std::filesystem::path root)
        : center_(center), root_(std::move(root)) {}

    // False when the request could not be sent; the sender ends silently either way.
    bool send();
    // Calls `handler` on `executor` for each request to this support folder, however the
    // sender spelled it.
    dispatch::Observation observe(dispatch::Executor& executor, std::function<void()> handler);

    // Whether a request's folder `sent` is `root`: the same text, or a path to the same
    // folder (through a link, with "//" or "/./" in it).
    static bool namesFolder(const std::optional<std::string>& sent, const std::filesystem::path& root);

private:
    system::DistributedNotificationCenter& center_;
    std::filesystem::path root_;
};

}  // namespace dorvane
