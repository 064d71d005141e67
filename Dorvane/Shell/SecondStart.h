#pragma once

#include <filesystem>
#include <string>

namespace dorvane {

// A start of the application while another instance holds the lock of `root`, made before
// anything of the application (the library, Qt) is loaded. As the platform's reopen event
// would, it asks the running instance to bring its settings window back (a start at login
// asks nothing), then ends silently: the answer is always status 0.
int runSecondStart(const std::filesystem::path& root, const std::string& executable);

}  // namespace dorvane
