#pragma once

#include <functional>

namespace dorvane::power {

// The system-wide notice that some power assertion was created, changed or released.
class AssertionChangeNotifications {
public:
    virtual ~AssertionChangeNotifications() = default;

    // Calls `handler` on the main queue after each change until stop(). Stops an earlier
    // registration first. False when this system offers no such notice; then nothing is called.
    virtual bool start(std::function<void()> handler) = 0;
    virtual void stop() = 0;
};

}  // namespace dorvane::power
