#pragma once

#include <memory>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/System/SpokenAnnouncements.h"

namespace dorvane::host {

// Announcements are not spoken here: the host keeps the last ones in
// "announcements.jsonl" with the wall time of the session's clock, and logs each. A fault
// rule on announce drops one; so does a host that cannot be written.
class HostAnnouncements final : public system::SpokenAnnouncements {
public:
    explicit HostAnnouncements(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    void announce(const std::string& text) override;

private:
    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
