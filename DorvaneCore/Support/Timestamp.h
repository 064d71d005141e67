#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// ISO 8601 in UTC to the second, as log lines carry it: 2025-03-01T08:15:30Z.
std::string iso8601UTC(std::chrono::system_clock::time_point time);

// The same instant in a form that is safe inside a file name: 20250301T081530Z.
std::string compactUTC(std::chrono::system_clock::time_point time);

// Reads back the form iso8601UTC() writes; anything else, or a time the system clock cannot
// hold (before 1678 or after 2262), gives nullopt.
std::optional<std::chrono::system_clock::time_point> parseISO8601UTC(std::string_view text);

}  // namespace dorvane
