#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace dorvane {

// Appends `line` to a log that keeps one previous generation: creates the folder, and
// first moves a file that holds more than `rotationLimit` bytes to `previous`, replacing
// it. Opens, writes and closes the file for this one line. Every file error is
// swallowed: a line that cannot be written is lost.
void appendLogLine(const std::filesystem::path& file, const std::filesystem::path& previous,
                   std::uintmax_t rotationLimit, std::string_view line);

}  // namespace dorvane
