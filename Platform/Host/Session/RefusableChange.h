#pragma once

#include <functional>
#include <utility>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Session/HostSession.h"

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

// A service call whose platform counterpart answers rather than throws: when the host
// cannot be accessed (a host file that cannot be read or written, the host's lock not
// taken in time) the call fails as a system call does, answering `failed`.
template <typename R, typename Call>
R answerOr(R failed, Call&& call) {
    try {
        return std::forward<Call>(call)();
    } catch (const HostError&) {
        return failed;
    }
}

}  // namespace dorvane::host
