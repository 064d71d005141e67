#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace dorvane {

// Supplies 64 random bits per call. Injected where tests need repeatable ids.
using RandomSource = std::function<std::uint64_t()>;

// Draws from a generator seeded from the operating system's entropy, one
// generator per thread so concurrent callers never share state.
RandomSource systemRandomSource();

// A random (version 4, RFC 4122 variant) UUID in upper-case canonical text,
// the form the rest of the system stores ids in: "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
std::string makeUUIDString(const RandomSource& random);
std::string makeUUIDString();

}  // namespace dorvane
