#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Dorvane/Input/InputRelayCheckMode.h"
#include "Dorvane/Shell/ApplicationLibrary.h"
#include "Dorvane/Shell/Entry.h"

// The executable links no toolkit: the display worker, started a dozen times for every fit,
// and the other command-line modes pay only for what they use. The status-bar application
// is loaded from the library built beside the executable when no mode is asked for.
int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return dorvane::runEntry(argc > 0 ? argv[0] : "corvelle", arguments,
                             [](const std::filesystem::path& root, const std::string& executable) {
                                 const auto library =
                                     std::filesystem::path(executable).parent_path() / CORVELLE_APPLICATION_LIBRARY;
                                 return dorvane::runApplicationLibrary(library, root, executable, std::cerr);
                             },
                             dorvane::runInputRelayCheckMode);
}
