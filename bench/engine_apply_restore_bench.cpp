// One apply of 1400×630 and its restore, as the program does them: real
// `corvelle --worker` children over a host folder in a temporary directory, in real time.
//
// Reported per apply-and-restore:
//   engine_waits_ms  the engine's own pauses (verification, restore and reassertion waits)
//   poll_waits_ms    the process runner's 20 ms polls while a worker runs
//   worker_runs      worker processes started
//   worker_ms        wall time spent inside worker runs (polls included)
//   overhead_ms      wall time minus both kinds of waits: process start-up, the workers'
//                    host access, files and the engine's own work

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/ProcessWorkerClient.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RunAndWait.h"

namespace {

namespace fs = std::filesystem;
using namespace dorvane;

// The real clock, adding up the time spent sleeping on it.
class WaitCountingClock final : public dispatch::Clock {
public:
    double uptime() const override { return clock_.uptime(); }
    std::chrono::system_clock::time_point wallTime() const override { return clock_.wallTime(); }
    void sleep(double seconds) override {
        const double start = clock_.uptime();
        clock_.sleep(seconds);
        slept += clock_.uptime() - start;
    }
    bool sleepUnlessReadable(int fd, double seconds) override {
        const double start = clock_.uptime();
        const bool early = clock_.sleepUnlessReadable(fd, seconds);
        slept += clock_.uptime() - start;
        return early;
    }
    double slept = 0;

private:
    dispatch::SystemClock clock_;
};

class CountingWorkerClient final : public WorkerClient {
public:
    explicit CountingWorkerClient(WorkerClient& inner) : inner_(inner) {}
    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override {
        const auto start = std::chrono::steady_clock::now();
        auto output = inner_.run(executable, command, input, timeout);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
        return output;
    }
    int runs = 0;
    double seconds = 0;

private:
    WorkerClient& inner_;
};

void ApplyAndRestore(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "corvelle-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    const fs::path scratch = pattern;
    ::setenv("CORVELLE_HOST_DIR", (scratch / "host").c_str(), 1);

    WaitCountingClock engineClock;
    WaitCountingClock pollClock;
    {
        auto host = host::SimulatedHost::openFolder(scratch / "host", processes::ProcessRole::application, engineClock);
        host->admin().reset(host::HostFixture::laptopExternal);
        dispatch::SerialQueue queue("engine");
        ProcessWorkerClient processes(pollClock);
        CountingWorkerClient workers(processes);
        DisplayEngine engine({scratch / "Dorvane", CORVELLE_EXECUTABLE, queue, engineClock, host->virtualDisplays(),
                              host->userActivity(), workers, systemRandomSource()});

        double wall = 0;
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            const auto status = testing::runAndWait(queue, [&] { return engine.applyNow({1400, 630}); });
            if (status.detail) {
                state.SkipWithError(("apply failed: " + *status.detail).c_str());
                break;
            }
            if (!testing::runAndWait(queue, [&] { return engine.restoreNow(); })) {
                state.SkipWithError("restore deferred");
                break;
            }
            wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        const auto average = benchmark::Counter::kAvgIterations;
        state.counters["engine_waits_ms"] = benchmark::Counter(engineClock.slept * 1000, average);
        state.counters["poll_waits_ms"] = benchmark::Counter(pollClock.slept * 1000, average);
        state.counters["worker_runs"] = benchmark::Counter(workers.runs, average);
        state.counters["worker_ms"] = benchmark::Counter(workers.seconds * 1000, average);
        state.counters["overhead_ms"] =
            benchmark::Counter((wall - engineClock.slept - pollClock.slept) * 1000, average);
    }
    fs::remove_all(scratch);
}

BENCHMARK(ApplyAndRestore)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
