#include "Platform/Host/Services/HostSystemLinks.h"

#include "Platform/Host/Session/RefusableChange.h"
#include "Platform/Host/Machines/SystemSettingsApp.h"

namespace dorvane::host {

bool HostURLOpener::open(const std::string& url) {
    return answerOr(false, [&] {
        FaultSubject subject;
        subject.call = HostCall::openURL;
        subject.name = url;
        bool opened = false;
        callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
            opened = !fault;
            json::Json details = json::Json::object();
            details["url"] = url;
            details["opened"] = opened;
            data.record(session_->actor(), "openURL", details);
            if (opened && isSystemSettingsURL(url)) showSystemSettings(data, session_->actor());
        });
        return opened;
    });
}

void HostSystemSound::beep() {
    // A beep the host cannot record is simply not heard.
    answerOr(false, [&] {
        session_->access([&](HostData& data) { data.record(session_->actor(), "beep"); });
        return true;
    });
}

}  // namespace dorvane::host
