// What OperationDiagnostics::append() costs its caller: the time stamp, the line and
// one post to the log's serial queue; the file work happens on that queue's thread.
// Target: under 5 µs per call.

#include <benchmark/benchmark.h>

#include <filesystem>

#include <unistd.h>

#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"

namespace {

namespace fs = std::filesystem;

void BM_AppendCostToCaller(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / ("corvelle-oplog-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    dorvane::dispatch::SystemClock clock;
    {
        dorvane::dispatch::SerialQueue queue(dorvane::OperationDiagnostics::queueRole);
        dorvane::OperationDiagnostics log(folder / dorvane::OperationDiagnostics::fileName, clock, queue);
        for (auto _ : state) {
            log.append("layout-placed pid=4242 slot=1 arrangement=halves");
        }
        log.flush();  // after the timed loop: the queue's own work is not the caller's
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_AppendCostToCaller)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace

BENCHMARK_MAIN();
