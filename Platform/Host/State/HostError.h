#pragma once

#include <stdexcept>
#include <string>

namespace dorvane::host {

// A request the simulated host cannot carry out: a malformed host folder, an unknown
// display name, a bad fault rule. The text says what is wrong and where.
class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace dorvane::host
