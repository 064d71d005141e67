#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/State/StatusBarState.h"

namespace dorvane::host {

// The status bar from outside the program: what it shows, and choosing a menu entry as
// a person would. An item whose owner has ended is dropped first. Throws HostError.
class StatusBarAdmin {
public:
    explicit StatusBarAdmin(std::shared_ptr<HostSession> session) : session_(std::move(session)) {}

    StatusBarState state();

    // Leaves a click on the entry titled `title` for the owner; answers its id. Throws
    // HostError when there is no item, no such entry, or the entry is a disabled one.
    std::uint64_t click(const std::string& title);
    // Nothing once the click is gone (its owner ended).
    std::optional<StatusBarClick::State> clickState(std::uint64_t id);
    // Takes back an unanswered click (the chooser gave up) and forgets answered ones. Answers
    // how far it had got then (nothing once it is gone): a chooser that gives up learns in the
    // same step whether the answer came after all, or whether the owner had taken it already.
    std::optional<StatusBarClick::State> forget(std::uint64_t id);

private:
    void settled(const std::function<void(HostData&)>& body);

    std::shared_ptr<HostSession> session_;
};

}  // namespace dorvane::host
