#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "Dorvane/ShellBase/SupportFolder.h"

namespace dorvane {

// The program's own executable, absolute and normalised: /proc/self/exe, or
// `argv0` made absolute when that cannot be read.
std::string ownExecutablePath(const std::string& argv0);

// Runs the status-bar application for the support folder and the own executable path;
// answers the exit status once it has quit.
using ApplicationRunner = std::function<int(const std::filesystem::path& root, const std::string& executable)>;

// Runs "--check-input-relay", printing its verdict; answers the exit status.
using InputRelayCheck = std::function<int(std::ostream& out)>;

// Reads the command line (without the program path) and runs one mode to its end;
// answers the process's exit status. No mode (or an unknown one) hands over to
// `runApplication`, which is the only part that may bring up the toolkit. Without
// `checkInputRelay` the relay counts as unavailable.
int runEntry(const std::string& argv0, const std::vector<std::string>& arguments,
             const ApplicationRunner& runApplication = nullptr, const InputRelayCheck& checkInputRelay = nullptr);

}  // namespace dorvane
