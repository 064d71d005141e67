#pragma once

#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::system {

// A notification sent to every running program of the user.
struct DistributedNotification {
    std::string name;
    std::optional<std::string> object;    // what the sender attached, when it is text
    std::optional<json::Json> userInfo;   // a JSON object

    friend bool operator==(const DistributedNotification&, const DistributedNotification&) = default;
};

// Why `notification` cannot be posted (an empty name, user info that is not an object);
// nothing when it can.
std::optional<std::string> unpostableNotification(const DistributedNotification& notification);

// The user's notification center, shared by all running programs.
class DistributedNotificationCenter {
public:
    using Handler = std::function<void(const DistributedNotification&)>;

    virtual ~DistributedNotificationCenter() = default;

    // Calls `handler` on `executor` for each notification named `name` that reaches this
    // program after the call, from whichever program posted it: once each, in the order
    // they were posted. A program started after a notification was posted never gets it.
    // Ending the observation on `executor` stops the calls at once, queued ones included.
    // `executor` must outlive the observation.
    virtual dispatch::Observation addObserver(const std::string& name, dispatch::Executor& executor,
                                              Handler handler) = 0;

    // Sends `notification` to its observers in every running program, this one included.
    // False when the system did not take it. Throws std::invalid_argument when
    // unpostableNotification() gives a reason.
    virtual bool post(const DistributedNotification& notification) = 0;
};

}  // namespace dorvane::system
