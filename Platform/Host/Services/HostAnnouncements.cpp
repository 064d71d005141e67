#include "Platform/Host/Services/HostAnnouncements.h"

#include "DorvaneCore/Support/Timestamp.h"
#include "Platform/Host/Session/RefusableChange.h"
#include "Platform/Host/Machines/SystemMachine.h"

namespace dorvane::host {

void HostAnnouncements::announce(const std::string& text) {
    const auto time = iso8601UTC(session_->clock().wallTime());
    // A refused announcement is not heard; the program goes on.
    refusableChange(*session_, HostCall::announce, [&](HostData& data) {
        recordAnnouncement(data, session_->actor(), time, text);
        return true;
    });
}

}  // namespace dorvane::host
