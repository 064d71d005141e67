// A program that fits 1280×800 over the host in $CORVELLE_HOST_DIR and dies by SIGKILL
// at a chosen point: just before its Nth worker run, or once the fit is done.
//
//   corvelle-engine-crash-helper <support folder> <corvelle executable> <N>

#include <csignal>
#include <iostream>
#include <string>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/ProcessWorkerClient.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RunAndWait.h"

namespace {

class DyingWorkerClient final : public dorvane::WorkerClient {
public:
    DyingWorkerClient(dorvane::WorkerClient& inner, int dieBeforeRun) : inner_(inner), dieBeforeRun_(dieBeforeRun) {}
    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override {
        if (++runs_ == dieBeforeRun_) std::raise(SIGKILL);
        return inner_.run(executable, command, input, timeout);
    }

private:
    dorvane::WorkerClient& inner_;
    int dieBeforeRun_;
    int runs_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: corvelle-engine-crash-helper <support folder> <corvelle executable> <N>\n";
        return 2;
    }
    dorvane::dispatch::SystemClock clock;
    auto host = dorvane::host::SimulatedHost::openFolder(dorvane::host::defaultHostFolder(),
                                                         dorvane::processes::ProcessRole::application, clock);
    dorvane::dispatch::SerialQueue queue("engine");
    dorvane::ProcessWorkerClient processes(clock);
    DyingWorkerClient dying(processes, std::stoi(argv[3]));
    dorvane::DisplayEngine engine({argv[1], argv[2], queue, clock, host->virtualDisplays(), host->userActivity(), dying,
                                   dorvane::systemRandomSource()});
    const auto status = dorvane::testing::runAndWait(queue, [&] { return engine.applyNow({1280, 800}); });
    std::cout << status.title << std::endl;
    std::raise(SIGKILL);
    return 1;
}
