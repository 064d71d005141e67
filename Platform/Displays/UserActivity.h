#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dorvane::displays {

using AssertionID = std::uint32_t;

// Declaring local user activity to the power manager wakes sleeping displays, as a key
// press would. The declaration holds an assertion until it is released.
class UserActivity {
public:
    virtual ~UserActivity() = default;

    // The assertion, or nothing when the power manager refused.
    virtual std::optional<AssertionID> declareUserActivity(const std::string& assertionName) = 0;

    // False for an assertion this process does not hold.
    virtual bool releaseAssertion(AssertionID assertion) = 0;
};

}  // namespace dorvane::displays
