#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Platform/Displays/DisplayAvailability.h"
#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Waits for the simulated host to let go on the session's catch-up: one empty access a try,
// which the host turns away while another program holds it; once one gets through, the
// wait's `then` runs. So the tries come when the catch-up's do: half a second after the
// wait began, then at growing intervals of at most 2 s, and at once after any access of
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
