// What the installed-application picker's scan pays off the main thread: 1,000 bundles in
// nested folders across the three application folders, each bundle holding 200 files that
// the scan must never open. Budget: 100 ms warm. Reports the bundles read and the entries
// the picker lists.

#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "Dorvane/Editors/InstalledShortcutApplications.h"
#include "Platform/Host/Machines/BundleReader.h"
#include "tests/Support/ApplicationsHost.h"

namespace {

using namespace dorvane;

// Counts the bundles the scan reads; everything else is the machine's own.
class CountingApplications final : public workspace::InstalledApplications {
public:
    explicit CountingApplications(workspace::InstalledApplications& inner) : inner_(inner) {}

    std::vector<std::string> applicationFolders() override { return inner_.applicationFolders(); }
    std::vector<std::string> bundlesIn(const std::string& folder) override { return inner_.bundlesIn(folder); }
    std::optional<ApplicationBundle> readBundle(const std::string& path) override {
        ++read;
        return inner_.readBundle(path);
    }
    std::optional<std::string> applicationPath(const std::string& identifier) override {
        return inner_.applicationPath(identifier);
    }
    std::filesystem::path iconFile(const std::string& path) override { return inner_.iconFile(path); }
    void openApplication(const std::string& path, bool activates,
                         std::function<void(const workspace::OpenApplicationResult&)> completion) override {
        inner_.openApplication(path, activates, std::move(completion));
    }

    long read = 0;

private:
    workspace::InstalledApplications& inner_;
};

// The machine, made once for every repetition: writing its 200,000 files takes a while.
testing::ApplicationsHost& machineWithBundles() {
    static testing::ApplicationsHost machine;
    static const bool written = [] {
        // By hand, without the host's synced writes; the 200 files of a bundle share one inode.
        const std::string places[] = {machine.folders.homeApplications(), "/Applications", "/System/Applications"};
        for (int i = 0; i < 1000; ++i) {
            const std::string bundle = places[i % 3] + "/Group " + std::to_string(i % 10) + "/Set " +
                                       std::to_string(i % 7) + "/App " + std::to_string(i) + ".app";
            const auto folder = *machine.folders.onDisk(bundle);
            const auto resources = folder / "Contents" / "Resources";
            std::filesystem::create_directories(resources);
            std::ofstream(folder / host::kBundleInfoFile) << R"({"CFBundleIdentifier":"com.example.app)" << i
                                                           << R"(","CFBundleName":"App )" << i << R"("})";
            std::ofstream(resources / "part0.dat") << i;
            for (int file = 1; file < 200; ++file) {
                std::filesystem::create_hard_link(resources / "part0.dat", resources / ("part" + std::to_string(file) + ".dat"));
            }
        }
        return true;
    }();
    benchmark::DoNotOptimize(written);
    return machine;
}

void ApplicationScan(benchmark::State& state) {
    testing::ApplicationsHost& machine = machineWithBundles();
    CountingApplications installed(machine.app.installedApplications());
    std::size_t entries = 0;
    for (auto _ : state) {
        installed.read = 0;
        const auto found = InstalledShortcutApplications::load(installed, {});
        entries = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["bundles read"] = static_cast<double>(installed.read);
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(ApplicationScan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
