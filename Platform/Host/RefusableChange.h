#pragma once

#include <functional>

#include "Platform/Host/HostSession.h"

namespace dorvane::host {

// One service call that changes the host, under the fault rules, for services whose
// callers only learn whether it happened: answers what `change` answers, and false when
// a rule makes the call fail or answer nothing or when the host cannot be accessed.
inline bool refusableChange(HostSession& session, HostCall call, const std::function<bool(HostData&)>& change) {
    try {
        return session.call<bool>(call, 0, change, [](HostData&, const FaultOutcome&) { return false; });
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace dorvane::host
