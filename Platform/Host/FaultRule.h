#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Core/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Displays/DisplayError.h"
#include "Platform/Host/HostCall.h"
#include "Platform/Host/HostState.h"
#include "Platform/Processes/ProcessRole.h"

namespace dorvane::host {

enum class FaultAction {
    fail,      // answer `code` (calls that answer a DisplayError only)
    nothing,   // answer nothing: no transaction, no display, false, 0, empty
    hang,      // never answer
    delay,     // answer normally after `seconds`
};

// Makes matching calls misbehave. A call matches when its kind is `call` and, where
// given, the display it is about is selected by `display` and the calling process has
// `role`. The first `skip` matches pass untouched; the rule then acts `times` times
// (absent: for ever).
struct FaultRule {
    std::uint32_t id = 0;
    HostCall call = HostCall::onlineDisplayList;
    std::optional<std::string> display;
    std::optional<processes::ProcessRole> role;
    FaultAction action = FaultAction::fail;
    displays::DisplayError code = displays::DisplayError::failure;
    double seconds = 0;                  // delay only
    bool ignoreTerminate = false;        // hang and delay: the process ignores SIGTERM meanwhile
    std::uint32_t skip = 0;
    std::optional<std::uint32_t> times;
    std::uint32_t matched = 0;           // matches seen so far
    std::uint32_t applied = 0;           // times it acted

    // Throws HostError for a rule that cannot act as asked (fail on a call without an
    // error code, fail with success, a negative delay, ...).
    void validate() const;

    // "#3 completeConfiguration role=worker-commit fail 1004 skip=1 times=2 (matched 0, applied 0)".
    std::string describe() const;

    json::Json toJson() const;
    static FaultRule fromJson(const json::Json& value);

    friend bool operator==(const FaultRule&, const FaultRule&) = default;
};

// What a call must do instead of its normal work.
struct FaultOutcome {
    std::uint32_t ruleID = 0;
    FaultAction action = FaultAction::fail;
    displays::DisplayError code = displays::DisplayError::failure;
    double seconds = 0;
    bool ignoreTerminate = false;
};

// The content of "faults.json".
struct FaultRules {
    std::uint32_t nextID = 1;
    std::vector<FaultRule> rules;

    // Validates, numbers and appends the rule; answers its id.
    std::uint32_t add(FaultRule rule);
    bool remove(std::uint32_t id);

    // Rules are tried in order; each rule the call matches counts the match, and the
    // first one that acts decides (later rules do not see the call).
    std::optional<FaultOutcome> match(HostCall call, const DisplayRecord* display, processes::ProcessRole role);

    json::Json toJson() const;
    static FaultRules fromJson(const json::Json& value);

    friend bool operator==(const FaultRules&, const FaultRules&) = default;
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::FaultAction> {
    static constexpr std::array<std::pair<host::FaultAction, std::string_view>, 4> table{{
        {host::FaultAction::fail, "fail"},
        {host::FaultAction::nothing, "nothing"},
        {host::FaultAction::hang, "hang"},
        {host::FaultAction::delay, "delay"},
    }};
};

}  // namespace dorvane
