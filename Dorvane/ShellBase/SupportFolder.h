#pragma once

#include <filesystem>

namespace dorvane {

// Where the program keeps its files: "$HOME/Library/Application Support/Dorvane".
std::filesystem::path supportFolder();

}  // namespace dorvane
