#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace dorvane {

// Moves a file (or whatever stands in its place: a folder, a pipe) that cannot be used
// out of the way, to "<stem>.invalid-<UTC>.json" in the same folder, for example
// "session.invalid-20250301T081530Z.json", so that it can still be looked at by hand.
// Never replaces an earlier copy: within the same second the name gets "-2", "-3", ….
// Answers the new path. Throws FileError (a std::system_error) when the move fails; the file then
// stays where it was.
std::filesystem::path moveAside(const std::filesystem::path& file, std::string_view stem,
                                std::chrono::system_clock::time_point now);

}  // namespace dorvane
