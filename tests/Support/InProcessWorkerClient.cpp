#include "tests/Support/InProcessWorkerClient.h"

#include <filesystem>
#include <sstream>

#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/ProcessRunner.h"
#include "Dorvane/Engine/WorkerProcessRole.h"
#include "DorvaneCore/Core/FitError.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {

namespace {

// Unwinds a worker that outlived its deadline. Deliberately not a std::exception, so
// the worker's own error handling cannot mistake it for a failure it should report.
struct WorkerStopped {};

// The worker's view of time: the engine's clock until the deadline. A wait that would
// pass the deadline ends the run there; from then on the run may not even read the
// clock, so it can touch the host no more, as a killed process could not.
class DeadlineClock final : public dispatch::Clock {
public:
    DeadlineClock(dispatch::Clock& clock, double deadline) : clock_(clock), deadline_(deadline) {}

    double uptime() const override {
        if (stopped_) throw WorkerStopped{};
        return clock_.uptime();
    }
    std::chrono::system_clock::time_point wallTime() const override { return clock_.wallTime(); }
    void sleep(double seconds) override {
        if (stopped_) throw WorkerStopped{};
        const double now = clock_.uptime();
        if (now + seconds < deadline_) {
            clock_.sleep(seconds);
            return;
        }
        // The runner notices at the deadline, asks the child to stop and waits its grace period.
        clock_.sleep(deadline_ - now + ProcessRunner::terminateGrace);
        stopped_ = true;
        throw WorkerStopped{};
    }

private:
    dispatch::Clock& clock_;
    double deadline_;
    bool stopped_ = false;
};

}  // namespace

std::string InProcessWorkerClient::run(const std::string& executable, const std::string& command,
                                       const std::optional<std::string>& input, double timeout) {
    DeadlineClock clock(clock_, clock_.uptime() + timeout);
    host::SimulatedHost host(store_, workerProcessRole(command), clock);
    // The simulated process ends with the run, whichever way it ends.
    struct ProcessEnd {
        host::HostStore& store;
        const processes::ProcessIdentity& process;
        ~ProcessEnd() {
            if (auto* memory = dynamic_cast<host::MemoryHostStore*>(&store)) memory->endProcess(process);
        }
    } end{*store_, host.process()};

    std::istringstream in(input.value_or(""));
    std::ostringstream out;
    std::ostringstream errors;
    int status = 0;
    try {
        status = DisplayWorker(host.displays()).execute({command}, in, out, errors);
    } catch (const WorkerStopped&) {
        throw FitError::message("操作超时：" + std::filesystem::path(executable).filename().string());
    }
    if (status != 0) ProcessRunner::throwChildFailure(status, errors.str());
    return out.str();
}

}  // namespace dorvane
