// What `show` pays on the main thread to list the applications: AppLauncher::refresh()
// over bundle folders on disk — 300 bundles in "/Applications", 30 of them in
// sub-folders, 20 background-only, 10 repeating an identifier found earlier — and 20
// running regular applications whose bundles lie outside the folders. Budget: 25 ms.

#include <string>

#include <benchmark/benchmark.h>

#include "Dorvane/Input/AppLauncher.h"
#include "tests/Support/ApplicationsHost.h"

namespace {

using namespace dorvane;

void LauncherScan(benchmark::State& state) {
    testing::ApplicationsHost machine;
    for (int i = 0; i < 300; ++i) {
        host::BundleInstall bundle;
        bundle.name = "App " + std::to_string(i);
        bundle.identifier = "com.example.app" + std::to_string(i < 290 ? i : i - 280);
        bundle.displayName = "应用 " + std::to_string(i);
        bundle.backgroundOnly = i >= 40 && i < 280 && i % 12 == 4;
        bundle.folder = i < 30 ? "Utilities" : "";
        machine.admin().install(bundle);
    }
    for (int i = 0; i < 20; ++i) {
        const auto path = (machine.folder.path() / "elsewhere" / ("Running " + std::to_string(i) + ".app")).string();
        machine.write(path, "Contents/Info.json",
                      R"({"CFBundleIdentifier":"com.example.running)" + std::to_string(i) + R"("})");
        machine.admin().open(path);
    }
    auto& files = machine.scheduler.makeSerialQueue("launcher-files");
    input::AppLauncher launcher(input::AppLauncher::Services{
        machine.folder.path() / "support", machine.scheduler.mainQueue(), &files, machine.app.applicationWorkspace(),
        machine.app.workspace(), machine.app.installedApplications(), machine.app.screens(), 0, nullptr, nullptr});
    machine.scheduler.runUntilIdle();
    for (auto _ : state) {
        launcher.refresh();
        benchmark::DoNotOptimize(launcher.model().apps().data());
    }
    state.counters["entries"] = static_cast<double>(launcher.model().apps().size());
}
BENCHMARK(LauncherScan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
