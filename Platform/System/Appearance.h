#pragma once

#include <array>
#include <functional>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::system {

enum class InterfaceStyle { light, dark };

// What the user chose for how every program looks and moves.
struct AppearanceSettings {
    InterfaceStyle style = InterfaceStyle::light;
    bool reduceMotion = false;   // the accessibility setting: no animations that move or grow

    friend bool operator==(const AppearanceSettings&, const AppearanceSettings&) = default;
};

class AppearanceServices {
public:
    virtual ~AppearanceServices() = default;

    // The settings now; the defaults (light, motion not reduced) when they cannot be read.
    virtual AppearanceSettings current() = 0;

    // Calls `handler` on `executor` with the new settings after each change, whichever
    // program made it, until the observation ends. `executor` must outlive the observation.
    virtual dispatch::Observation observe(dispatch::Executor& executor,
                                          std::function<void(const AppearanceSettings&)> handler) = 0;
};

}  // namespace dorvane::system

namespace dorvane {

template <>
struct EnumCases<system::InterfaceStyle> {
    static constexpr std::array<std::pair<system::InterfaceStyle, std::string_view>, 2> table{{
        {system::InterfaceStyle::light, "light"},
        {system::InterfaceStyle::dark, "dark"},
    }};
};

}  // namespace dorvane
