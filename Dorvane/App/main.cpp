#include <string>
#include <vector>

#include "Dorvane/App/Neighbours.h"
#include "Dorvane/Input/InputRelayCheckMode.h"
#include "Dorvane/QtHost/ApplicationRunner.h"
#include "Dorvane/Shell/Entry.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // Only the application mode touches Qt; the worker and the other modes never do.
    return dorvane::runEntry(argc > 0 ? argv[0] : "corvelle", arguments,
                             [](const std::filesystem::path& root, const std::string& executable) {
                                 return dorvane::qthost::runApplication(root, executable, dorvane::makeNeighbours);
                             },
                             dorvane::runInputRelayCheckMode);
}
