#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

namespace dorvane {

// The status-bar application lives in a library beside the executable, so that the display
// worker and the other command-line modes start without loading the toolkit. The library
// exports one C function of this type under this name.
using ApplicationLibraryEntry = int(const char* root, const char* executable);
inline constexpr const char* applicationLibraryEntryName = "corvelle_run_application";

// Loads `library` by its path (never through the library search path) and runs the
// application through its entry with the support folder and the own executable path;
// answers the entry's exit status. A library that is missing, cannot be loaded or lacks the
// entry gives one line on `errors` and status 1. The library stays loaded until the process
// ends: the toolkit's exit handlers still need it.
int runApplicationLibrary(const std::filesystem::path& library, const std::filesystem::path& root,
                          const std::string& executable, std::ostream& errors);

}  // namespace dorvane
