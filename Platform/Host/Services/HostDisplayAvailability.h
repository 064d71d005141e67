#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Platform/Displays/DisplayAvailability.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Waits on the session's catch-up for the simulated host to let go. Each try is one empty
// access, which the host turns away while another program holds its lock; the first that
// gets through runs the wait's `then`, if the wait is still the newest of its key and was not
// cancelled. The tries come with the catch-up's others, on its executor (the main queue):
// when its next try is due (half a second after the wait began when nothing else waits; up to
// 2 s while a long run of refusals has stretched the pause) and at once after any access of
// this process got through.
class HostDisplayAvailability final : public displays::DisplayAvailability {
public:
    explicit HostDisplayAvailability(std::shared_ptr<HostSession> session);

    displays::AvailabilityWait whenAvailable(const std::string& key, std::function<void()> then) override;

private:
    // The newest wait of each key; shared with the tries and cancellations, which may
    // outlive this object.
    struct Waits {
        std::mutex mutex;
        std::map<std::string, std::uint64_t> newest;
        std::uint64_t next = 1;

        // Whether `ticket` is the newest wait of `key`; it is then no longer waiting.
        bool take(const std::string& key, std::uint64_t ticket);
    };

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<Waits> waits_;
};

}  // namespace dorvane::host
