#pragma once

#include <cmath>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

// A length of time in the host's files: a finite number of seconds, zero or more.
inline double finiteSecondsFromJson(const json::Json& value) {
    const auto seconds = json::decode<double>(value);
    if (!std::isfinite(seconds) || seconds < 0) {
        throw json::DecodeError("must be a finite number of seconds, not negative");
    }
    return seconds;
}

}  // namespace dorvane::host
