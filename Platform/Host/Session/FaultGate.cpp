#include "Platform/Host/Session/FaultGate.h"

namespace dorvane::host {

std::optional<FaultOutcome> FaultGate::match(HostData& data, FaultSubject subject) {
    if (data.faults().rules.empty()) return std::nullopt;
    subject.role = session_.role();
    std::optional<FaultOutcome> outcome;
    if (onlyReads(subject.call)) {
        std::lock_guard lock(mutex_);
        FaultRules counted = data.faults();
        for (auto& rule : counted.rules) {
            const auto found = readCounts_.find(rule.id);
            rule.matched = found == readCounts_.end() ? 0 : found->second.first;
            rule.applied = found == readCounts_.end() ? 0 : found->second.second;
        }
        outcome = counted.match(subject);
        for (const auto& rule : counted.rules) {
            if (rule.matched > 0) readCounts_[rule.id] = {rule.matched, rule.applied};
        }
    } else {
        outcome = data.faults().match(subject);
    }
    if (outcome) {
        json::Json details = json::Json::object();
        details["rule"] = outcome->ruleID;
        details["call"] = rawValue(subject.call);
        if (subject.pid) details["pid"] = *subject.pid;
        if (subject.window) details["window"] = *subject.window;
        if (subject.name) details["name"] = *subject.name;
        details["action"] = rawValue(outcome->action);
        data.record(session_.actor(), "fault", details);
    }
    return outcome;
}

void sleepOut(dispatch::Clock& clock, const FaultOutcome& outcome) {
    if (outcome.action == FaultAction::hang) {
        for (;;) clock.sleep(3600);
    }
    if (outcome.action == FaultAction::delay) clock.sleep(outcome.seconds);
}

void callWithFaults(HostSession& session, FaultGate& gate, const FaultSubject& subject,
                    const std::function<void(HostData&, const std::optional<FaultOutcome>&)>& act) {
    std::optional<FaultOutcome> waiting;
    session.access([&](HostData& data) {
        const auto fault = gate.match(data, subject);
        if (fault && (fault->action == FaultAction::delay || fault->action == FaultAction::hang)) {
            waiting = fault;
        } else {
            act(data, fault);
        }
    });
    if (!waiting) return;
    sleepOut(session.clock(), *waiting);
    session.access([&](HostData& data) { act(data, std::nullopt); });
}

}  // namespace dorvane::host
