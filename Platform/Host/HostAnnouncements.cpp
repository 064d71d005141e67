#include "Platform/Host/HostAnnouncements.h"

#include "DorvaneCore/Support/Timestamp.h"
#include "Platform/Host/SystemMachine.h"

namespace dorvane::host {

void HostAnnouncements::announce(const std::string& text) {
    const auto time = iso8601UTC(session_->clock().wallTime());
    try {
        session_->call<bool>(
            HostCall::announce, 0,
            [&](HostData& data) {
                recordAnnouncement(data, session_->actor(), time, text);
                return true;
            },
            [](HostData&, const FaultOutcome&) { return false; });
    } catch (const std::exception&) {
        // Nobody hears it; the program goes on.
    }
}

}  // namespace dorvane::host
