#pragma once

#include <memory>

#include "Platform/Events/KeyPosting.h"
#include "Platform/Host/Services/HostEvents.h"

namespace dorvane::host {

// Key events handed to one process through this process's event stream: logged, and
// Command-W closes the focused window of an application that closes on it.
class HostKeyPosting final : public events::KeyPosting {
public:
    explicit HostKeyPosting(std::shared_ptr<HostEvents> events) : events_(std::move(events)) {}

    bool postToProcess(pid_t pid, const events::KeyEvent& event) override;

private:
    std::shared_ptr<HostEvents> events_;
};

}  // namespace dorvane::host
