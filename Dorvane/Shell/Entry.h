#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace dorvane {

// Where the program keeps its files: "$HOME/Library/Application Support/Dorvane".
std::filesystem::path supportFolder();

// The program's own executable, absolute and normalised: /proc/self/exe, or
// `argv0` made absolute when that cannot be read.
std::string ownExecutablePath(const std::string& argv0);

// Reads the command line (without the program path) and runs one mode to its end;
// answers the process's exit status. The application mode returns when it quits.
int runEntry(const std::string& argv0, const std::vector<std::string>& arguments);

}  // namespace dorvane
