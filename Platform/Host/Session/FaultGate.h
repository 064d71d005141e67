#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "Platform/Host/Session/HostSession.h"

namespace dorvane::host {

// Decides which fault rule, if any, a call meets, and logs it. Rules met by calls that
// only read count their matches here in the process, so that reading never writes the
// host (the counts in the host's file are those of the calls that change something).
class FaultGate {
public:
    explicit FaultGate(const HostSession& session) : session_(session) {}

    std::optional<FaultOutcome> match(HostData& data, FaultSubject subject);

private:
    const HostSession& session_;
    std::mutex mutex_;
    std::map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> readCounts_;  // rule -> matched, applied
};

// Sleeps out a delay, or for ever for a hang; other outcomes return at once. Never call
// it with the host's lock held.
void sleepOut(dispatch::Clock& clock, const FaultOutcome& outcome);

// One call under the fault rules: `act` runs once with exclusive access and the rule the
// call met, if any; after a delay (slept outside the lock) it runs without the rule.
void callWithFaults(HostSession& session, FaultGate& gate, const FaultSubject& subject,
                    const std::function<void(HostData&, const std::optional<FaultOutcome>&)>& act);

}  // namespace dorvane::host
