#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dorvane::hosttool {

// Exit statuses of corvelle-host.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitHostError = 1;   // the host refused: unknown display, malformed folder, ...
inline constexpr int kExitUsage = 2;       // the command line itself is wrong

// Runs one command line (without the program name) against the host folder of the
// environment, writing results to `out` and errors to `err`.
int runHostCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace dorvane::hosttool
