#include "Dorvane/Shell/WorkerMode.h"

#include <iostream>

#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/WorkerProcessRole.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {

int runWorkerMode(const std::vector<std::string>& arguments) {
    dispatch::SystemClock clock;
    const std::string command = arguments.empty() ? std::string() : arguments.front();
    std::unique_ptr<host::SimulatedHost> host;
    try {
        host = host::SimulatedHost::openFolder(host::defaultHostFolder(), workerProcessRole(command), clock);
    } catch (const std::exception& error) {
        DisplayWorker::reportFailure(error, std::cout, std::cerr);
        return 1;
    }
    return DisplayWorker(host->displays()).execute(arguments, std::cin, std::cout, std::cerr);
}

int runCheckMode() {
    dispatch::SystemClock clock;
    constexpr const char* unsupported = "当前系统不支持虚拟屏幕";
    std::unique_ptr<host::SimulatedHost> host;
    try {
        host = host::SimulatedHost::openFolder(host::defaultHostFolder(), processes::ProcessRole::application, clock);
        if (!host->virtualDisplays().isAvailable()) {
            std::cerr << unsupported << "\n";
            return 1;
        }
    } catch (const std::exception& error) {
        // A host that cannot be used says why.
        std::cerr << unsupported << "：" << error.what() << "\n";
        return 1;
    }
    try {
        const auto displays = DisplayWorker(host->displays()).snapshot();
        std::cout << "Native virtual display API: OK; displays: " << displays.size() << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}

}  // namespace dorvane
