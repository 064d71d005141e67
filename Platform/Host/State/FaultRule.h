#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Accessibility/AXError.h"
#include "Platform/Displays/DisplayError.h"
#include "Platform/Host/State/HostCall.h"
#include "Platform/Host/State/HostState.h"
#include "Platform/Processes/ProcessRole.h"

namespace dorvane::host {

enum class FaultAction {
    fail,      // answer `code` (display calls) or `axCode` (Accessibility calls)
    nothing,   // answer nothing: no transaction, no display, false, 0, empty, no list
    hang,      // never answer (an Accessibility call times out)
    delay,     // answer normally after `seconds`
    value,     // answer a malformed `value` (attribute copies and the window list)
};

// The malformed answers a rule can give.
enum class FaultValue {
    wrongType,  // a value of another type
    nan,        // numbers that are not numbers
    zero,       // zero numbers, an empty size
};

// What a call is about, for matching rules.
struct FaultSubject {
    HostCall call = HostCall::onlineDisplayList;
    const DisplayRecord* display = nullptr;
    processes::ProcessRole role = processes::ProcessRole::application;
    std::optional<std::int32_t> pid;      // the application asked
    std::optional<std::uint32_t> window;  // the window asked about
    std::optional<std::string> name;      // the attribute, action or notification
};

// Makes matching calls misbehave. A call matches when its kind is `call` and, where
// given, the display it is about is selected by `display`, the calling process has
// `role`, and the call is about application `pid`, window `window` and the attribute,
// action or notification `name`. The first `skip` matches pass untouched; the rule then
// acts `times` times (absent: for ever).
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
    std::optional<std::int32_t> pid;
    std::optional<std::uint32_t> window;
    std::optional<std::string> name;
    accessibility::AXError axCode = accessibility::AXError::failure;  // fail, Accessibility calls
    FaultValue valueKind = FaultValue::wrongType;                      // value only

    bool selects(const FaultSubject& subject) const;

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
    accessibility::AXError axCode = accessibility::AXError::failure;
    FaultValue valueKind = FaultValue::wrongType;
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
    std::optional<FaultOutcome> match(const FaultSubject& subject);

    json::Json toJson() const;
    static FaultRules fromJson(const json::Json& value);

    friend bool operator==(const FaultRules&, const FaultRules&) = default;
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::FaultAction> {
    static constexpr std::array<std::pair<host::FaultAction, std::string_view>, 5> table{{
        {host::FaultAction::fail, "fail"},
        {host::FaultAction::nothing, "nothing"},
        {host::FaultAction::hang, "hang"},
        {host::FaultAction::delay, "delay"},
        {host::FaultAction::value, "value"},
    }};
};

template <>
struct EnumCases<host::FaultValue> {
    static constexpr std::array<std::pair<host::FaultValue, std::string_view>, 3> table{{
        {host::FaultValue::wrongType, "wrong-type"},
        {host::FaultValue::nan, "nan"},
        {host::FaultValue::zero, "zero"},
    }};
};

}  // namespace dorvane
