#pragma once

#include <cstdint>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/System/Appearance.h"

namespace dorvane::host {

// The content of "appearance.json".
struct AppearanceState {
    static constexpr std::int32_t kFormat = 1;

    // Grows with every change; the change observers compare it.
    std::uint64_t generation = 1;
    system::AppearanceSettings settings;

    friend bool operator==(const AppearanceState&, const AppearanceState&) = default;

    json::Json toJson() const;
    static AppearanceState fromJson(const json::Json& value);
};

}  // namespace dorvane::host
