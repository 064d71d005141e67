#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dorvane {

// "--restore": the physical displays back from "session.json", under the instance lock.
int runRestoreMode(const std::filesystem::path& root, const std::string& executable);

// "--smoke [preset] [size] [--capture-replacement|--adjustments|--manual|--inject-failure]":
// the display self-tests, under the instance lock. `arguments` starts with "--smoke".
int runSmokeMode(const std::filesystem::path& root, const std::string& executable,
                 const std::vector<std::string>& arguments);

}  // namespace dorvane
