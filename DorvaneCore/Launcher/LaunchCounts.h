#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// How often each application was launched from the launcher, by application identifier.
class LaunchCounts {
public:
    using Counts = std::map<std::string, std::int64_t, std::less<>>;

    LaunchCounts() = default;
    // A negative count is taken as 0.
    explicit LaunchCounts(Counts counts);

    // 0 for an application never launched.
    std::int64_t count(std::string_view identifier) const;

    // One launch more; a count at the largest value stays there.
    void increment(const std::string& identifier);

    const Counts& counts() const { return counts_; }

    // "app-usage.json": one object, identifiers in sorted order, counts as integers.
    json::Json toJson() const;
    // Anything but an object of 64-bit integers fails.
    static LaunchCounts fromJson(const json::Json& value);

    friend bool operator==(const LaunchCounts&, const LaunchCounts&) = default;

private:
    Counts counts_;
};

}  // namespace dorvane
