#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// The content of "defaults.json": the user's defaults, keys sorted.
struct DefaultsState {
    static constexpr std::int32_t kFormat = 1;

    std::map<std::string, json::Json> values;

    friend bool operator==(const DefaultsState&, const DefaultsState&) = default;

    json::Json toJson() const;
    // Rejects what could not have been stored (an empty key, a null value).
    static DefaultsState fromJson(const json::Json& value);
};

}  // namespace dorvane::host
