// The pure part of a launcher refresh, as `show` pays it on the main thread: from the
// bundles a scan opened (300 in the folders, 20 of them background-only and 10 repeated
// identifiers, then 20 running applications' bundles) to the entries in launcher order
// and their sections. The comparison is made afresh for each refresh, as the launcher does.

#include <string>
#include <unordered_set>
#include <vector>

#include <benchmark/benchmark.h>

#include "DorvaneCore/Launcher/LauncherOrder.h"
#include "DorvaneCore/Launcher/LauncherScan.h"
#include "DorvaneCore/Launcher/LauncherSections.h"
#include "DorvaneCore/Support/LocalizedComparison.h"

namespace {

using namespace dorvane;

struct Machine {
    std::vector<ApplicationBundle> candidates;
    std::unordered_set<std::string> running;
    RecentApplications recent;
    LaunchCounts counts;
};

Machine machine() {
    Machine m;
    const char* stems[] = {"Demo", "应用", "Studio", "编辑器", "Player", "工具", "Notes", "浏览器"};
    for (int i = 0; i < 300; ++i) {
        const std::string name = std::string(stems[i % 8]) + " " + std::to_string(i);
        const std::string folder = i < 30 ? "/Applications/Utilities/" : "/Applications/";
        // The last ten repeat identifiers found earlier.
        const std::string id = "com.example.app" + std::to_string(i < 290 ? i : i - 200);
        m.candidates.push_back({folder + name + ".app", id, name, std::nullopt, i % 15 == 7});
    }
    for (int i = 0; i < 20; ++i) {
        const std::string id = "com.example.app" + std::to_string(i * 13);
        m.candidates.push_back({"/opt/Running/" + std::to_string(i) + ".app", id, "Run " + std::to_string(i),
                                std::nullopt, false});
        m.running.insert(id);
    }
    std::vector<std::string> recent;
    for (int i = 0; i < 40; ++i) recent.push_back("com.example.app" + std::to_string(i * 7));
    m.recent = RecentApplications(recent);
    for (int i = 0; i < 60; ++i) m.counts.increment("com.example.app" + std::to_string(i * 3));
    return m;
}

void LauncherRefreshOrder(benchmark::State& state) {
    const Machine m = machine();
    for (auto _ : state) {
        auto apps = launcherApps(m.candidates, m.running);
        LauncherOrder(m.recent, m.counts, text::LocalizedComparison()).sort(apps);
        auto sections = launcherSections(apps, m.recent);
        benchmark::DoNotOptimize(sections);
    }
}
BENCHMARK(LauncherRefreshOrder)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void LocalizedComparisonPerSort(benchmark::State& state) {
    for (auto _ : state) {
        text::LocalizedComparison compare;
        benchmark::DoNotOptimize(compare("Demo 2", "Demo 10"));
    }
}
BENCHMARK(LocalizedComparisonPerSort)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
