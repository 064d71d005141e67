#include "Dorvane/Shell/WorkerMode.h"

#include <iostream>

#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Engine/WorkerProcessRole.h"
#include "Dorvane/ShellBase/ModeHost.h"
#include "Dorvane/ShellBase/SupportFolder.h"
#include "Platform/Dispatch/SystemClock.h"
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
    // The engine shows a failing worker's standard error whole: a lost file of the host's
    // memory goes to the log.
    try {
        host = openModeHost(workerProcessRole(command), clock, log);
    } catch (const std::exception& error) {
        DisplayWorker::reportFailure(error, std::cerr, detail);
        return 1;
    }
    return DisplayWorker(host->displays()).execute(arguments, std::cin, std::cout, std::cerr, detail);
}

int runCheckMode() {
    dispatch::SystemClock clock;
    // Only virtual displays the host does not give are "not supported"; any other failure
    // says what it was in the person's words, and the developer's account goes to the log.
    try {
        const auto host = openModeHost(processes::ProcessRole::application, clock);
        if (!host->virtualDisplays().isAvailable()) {
            std::cerr << "当前系统不支持虚拟屏幕\n";
            return 1;
        }
        const auto displays = DisplayWorker(host->displays()).snapshot();
        std::cout << "Native virtual display API: OK; displays: " << displays.size() << "\n";
        return 0;
    } catch (const std::exception& error) {
        EngineLog log(supportFolder(), clock);
        DisplayWorker::reportFailure(error, std::cerr,
                                     [&log](const std::string& text) { log.write("error_detail", text); });
        std::cerr << "\n";
        return 1;
    }
}

}  // namespace dorvane
