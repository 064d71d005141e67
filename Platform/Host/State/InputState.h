#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Events/Event.h"
#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::host {

// How a tap is switched off from outside: as after a slow answer, or as by the user.
enum class TapDisabling { timeout, userInput };

// One event of an injection: when it happens after the owner picked the injection up,
// and, for a click's release, a window that comes forward just before it.
struct InjectedEvent {
    double offset = 0;
    events::Event event;
    std::optional<std::uint32_t> raiseBefore;

    friend bool operator==(const InjectedEvent&, const InjectedEvent&) = default;
    json::Json toJson() const;
    static InjectedEvent fromJson(const json::Json& value);
};

// Input from outside the program (a person at the machine, a remote viewer): events that
// enter as the hardware's, or a request to switch the taps off. The owner picks it up,
// plays it and marks it handled; whoever left it then takes it away.
struct Injection {
    enum class State { pending, picked, handled };

    std::uint64_t id = 0;
    State state = State::pending;
    std::vector<InjectedEvent> events;
    std::optional<TapDisabling> disableTaps;

    friend bool operator==(const Injection&, const Injection&) = default;
    json::Json toJson() const;
    static Injection fromJson(const json::Json& value);
};

// The content of "input.json": the process whose event stream takes input from outside
// (the application), what waits for it, and the double-click interval.
struct InputState {
    static constexpr std::int32_t kFormat = 1;
    static constexpr double kDefaultDoubleClickInterval = 0.5;

    // Grows with every change, so the owner learns of new injections.
    std::uint64_t generation = 1;
    std::optional<processes::ProcessIdentity> owner;
    double doubleClickInterval = kDefaultDoubleClickInterval;
    std::uint64_t nextInjection = 1;
    std::vector<Injection> injections;

    Injection* injection(std::uint64_t id);

    // Drops an owner that has ended; what it had not handled goes with it. True when it changed.
    bool settle(const std::function<bool(const processes::ProcessIdentity&)>& isAlive);

    friend bool operator==(const InputState&, const InputState&) = default;
    json::Json toJson() const;
    static InputState fromJson(const json::Json& value);
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::TapDisabling> {
    static constexpr std::array<std::pair<host::TapDisabling, std::string_view>, 2> table{{
        {host::TapDisabling::timeout, "timeout"},
        {host::TapDisabling::userInput, "user-input"},
    }};
};

template <>
struct EnumCases<host::Injection::State> {
    static constexpr std::array<std::pair<host::Injection::State, std::string_view>, 3> table{{
        {host::Injection::State::pending, "pending"},
        {host::Injection::State::picked, "picked"},
        {host::Injection::State::handled, "handled"},
    }};
};

}  // namespace dorvane
