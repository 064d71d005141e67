#pragma once

namespace dorvane::hosttool {

// Exit statuses of corvelle-host.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitHostError = 1;   // the host refused: unknown display, malformed folder, ...
inline constexpr int kExitUsage = 2;       // the command line itself is wrong

}  // namespace dorvane::hosttool
