#include "Dorvane/Shell/WorkerMode.h"

#include <iostream>

#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Engine/WorkerProcessRole.h"
#include "Dorvane/ShellBase/SupportFolder.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {

int runWorkerMode(const std::vector<std::string>& arguments) {
    dispatch::SystemClock clock;
    // The developer's account of a failure goes to the program's engine log, beside the
    // program's own lines; standard output is the answer alone, standard error the
    // person's text alone.
    EngineLog log(supportFolder(), clock, EngineLog::SkippedNotice::none);
    const DisplayWorker::FailureDetail detail = [&log](const std::string& text) { log.write("error_detail", text); };
    const std::string command = arguments.empty() ? std::string() : arguments.front();
    std::unique_ptr<host::SimulatedHost> host;
    try {
        host = host::SimulatedHost::openFolder(host::defaultHostFolder(), workerProcessRole(command), clock);
    } catch (const std::exception& error) {
        DisplayWorker::reportFailure(error, std::cerr, detail);
        return 1;
    }
    return DisplayWorker(host->displays()).execute(arguments, std::cin, std::cout, std::cerr, detail);
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
