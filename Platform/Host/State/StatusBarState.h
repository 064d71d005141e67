#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Processes/ProcessIdentity.h"
#include "Platform/StatusBar/StatusItem.h"

namespace dorvane::host {

// A menu entry chosen from outside the program, and how far it got: waiting for the owner,
// taken by it (handed to its menu, the answer to follow), or answered.
struct StatusBarClick {
    enum class State { pending, taken, done, refused };

    std::uint64_t id = 0;
    std::string title;
    State state = State::pending;

    friend bool operator==(const StatusBarClick&, const StatusBarClick&) = default;
};

// The content of "statusbar.json": the item as its owner last set it, with the owner,
// and the clicks waiting for the owner or answered by it.
struct StatusBarState {
    static constexpr std::int32_t kFormat = 1;

    // Grows with every change, so a watching owner learns of new clicks.
    std::uint64_t generation = 1;
    std::optional<statusbar::StatusItem> item;
    processes::ProcessIdentity owner;  // meaningful while `item` is present
    std::vector<StatusBarClick> clicks;
    std::uint64_t nextClick = 1;

    friend bool operator==(const StatusBarState&, const StatusBarState&) = default;

    // Drops the item, and the clicks still waiting, once its owner has ended. True when it
    // changed.
    bool settle(const std::function<bool(const processes::ProcessIdentity&)>& isAlive);
    // Drops the clicks no owner will answer now (waiting or taken). Answered ones stay until
    // their chooser has read them: an owner that quits at once must not take its answer with it.
    void dropWaitingClicks();

    // A taken click is written as "pending" with "taken": true, which a reader of the previous
    // release takes for a waiting click; both that shape and a plain "taken" state read as taken.
    json::Json toJson() const;
    static StatusBarState fromJson(const json::Json& value);
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::StatusBarClick::State> {
    static constexpr std::array<std::pair<host::StatusBarClick::State, std::string_view>, 4> table{{
        {host::StatusBarClick::State::pending, "pending"},
        {host::StatusBarClick::State::taken, "taken"},
        {host::StatusBarClick::State::done, "done"},
        {host::StatusBarClick::State::refused, "refused"},
    }};
};

}  // namespace dorvane
