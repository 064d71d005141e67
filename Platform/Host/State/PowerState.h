#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::host {

// A power assertion as the simulated power manager keeps it: which process holds it
// (pid plus start time, so a reused pid does not inherit it), and what it asserts.
struct PowerAssertionRecord {
    std::uint32_t id = 0;
    processes::ProcessIdentity holder;
    std::string type;
    std::string name;
    std::int64_t level = 255;

    friend bool operator==(const PowerAssertionRecord&, const PowerAssertionRecord&) = default;

    json::Json toJson() const;
    static PowerAssertionRecord fromJson(const json::Json& value);
};

// The content of "power.json".
struct PowerState {
    static constexpr std::int32_t kFormat = 1;

    // Grows with every change; the change notification compares it.
    std::uint64_t generation = 1;
    std::uint32_t nextAssertionID = 1;
    bool notificationsAvailable = true;  // the system offers the "assertions changed" notice
    bool listingMalformed = false;       // the list is answered in a shape no reader expects
    std::vector<PowerAssertionRecord> assertions;

    friend bool operator==(const PowerState&, const PowerState&) = default;

    json::Json toJson() const;
    static PowerState fromJson(const json::Json& value);
};

}  // namespace dorvane::host
