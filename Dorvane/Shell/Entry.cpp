#include "Dorvane/Shell/Entry.h"

#include <cstdlib>
#include <iostream>
#include <system_error>

#include "Dorvane/Shell/DisplayModes.h"
#include "Dorvane/Shell/InstanceLock.h"
#include "Dorvane/Shell/RemoteStatusMode.h"
#include "Dorvane/Shell/SecondStart.h"
#include "Dorvane/Shell/WorkerMode.h"

namespace dorvane {

namespace fs = std::filesystem;

std::string ownExecutablePath(const std::string& argv0) {
    std::error_code error;
    const auto resolved = fs::read_symlink("/proc/self/exe", error);
    if (!error && !resolved.empty()) return resolved.lexically_normal().string();
    return fs::absolute(argv0, error).lexically_normal().string();
}

int runEntry(const std::string& argv0, const std::vector<std::string>& arguments,
             const ApplicationRunner& runApplication, const InputRelayCheck& checkInputRelay) {
    const std::string mode = arguments.empty() ? std::string() : arguments.front();

    if (mode == "--check-input-relay") {
        if (checkInputRelay) return checkInputRelay(std::cout);
        std::cout << "input-relay: unavailable\n";
        return 1;
    }
    if (mode == "--remote-status") return runRemoteStatusMode(std::cout, std::cerr);
    if (mode == "--worker") return runWorkerMode({arguments.begin() + 1, arguments.end()});

    const fs::path root = supportFolder();
    const std::string executable = ownExecutablePath(argv0);

    if (mode == "--check") return runCheckMode();
    if (mode == "--restore") return runRestoreMode(root, executable);
    if (mode == "--smoke") return runSmokeMode(root, executable, arguments);

    if (runApplication) {
        // A second start ends before it loads the application library, and Qt with it: Qt
        // would only warn of what it finds missing (no XDG_RUNTIME_DIR for root over ssh or
        // in a container) before the instance lock sent it away.
        if (InstanceLock::heldElsewhere(root)) return runSecondStart(root, executable);
        return runApplication(root, executable);
    }
    std::cerr << "Corvelle 状态栏应用尚未包含在此版本中。\n";
    return 2;
}

}  // namespace dorvane
