#include "Platform/Host/HostKeyPosting.h"

#include <cstdio>

#include "Platform/Host/WindowMachine.h"

namespace dorvane::host {

bool HostKeyPosting::postToProcess(pid_t pid, const events::KeyEvent& event) {
    FaultSubject subject;
    subject.call = HostCall::postEvent;
    subject.pid = pid;
    bool posted = false;
    callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
        posted = !(fault && fault->action == FaultAction::nothing);
        char flags[24];
        std::snprintf(flags, sizeof flags, "0x%llx", static_cast<unsigned long long>(event.flags));
        json::Json details = json::Json::object();
        details["pid"] = pid;
        details["code"] = event.code;
        details["flags"] = flags;
        details["down"] = event.down;
        details["posted"] = posted;
        data.record(session_->actor(), "postEvent", details);
        if (posted) deliverKey(data, pid, event.code, event.flags, event.down);
    });
    return posted;
}

}  // namespace dorvane::host
