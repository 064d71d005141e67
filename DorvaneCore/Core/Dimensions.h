#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// A logical display size in points. No validation here: zero and negative
// sizes are carried and printed as they are.
struct Dimensions {
    std::int64_t width = 0;
    std::int64_t height = 0;

    constexpr Dimensions() = default;
    constexpr Dimensions(std::int64_t width, std::int64_t height) : width(width), height(height) {}

    friend bool operator==(const Dimensions&, const Dimensions&) = default;

    // "1280×720" with U+00D7, for people.
    std::string label() const;
    // "1280x720" with a plain x, for terminals.
    std::string cli() const;

    json::Json toJson() const;
    // "width" and "height" are required integers; other keys are ignored.
    static Dimensions fromJson(const json::Json& value);
};

}  // namespace dorvane

template <>
struct std::hash<dorvane::Dimensions> {
    std::size_t operator()(const dorvane::Dimensions& size) const noexcept {
        std::size_t seed = std::hash<std::int64_t>{}(size.width);
        seed ^= std::hash<std::int64_t>{}(size.height) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
        return seed;
    }
};
