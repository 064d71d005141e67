// What the window commands pay to read other applications' windows on the simulated host:
// one Accessibility attribute read and one window-list read, against a host folder (file
// lock, file stamps, no parsing while nothing changed) holding 40 windows of four
// applications. Wanted: a read under 0.5 ms, a list under 1 ms.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "Platform/Accessibility/AXNames.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"

namespace {

namespace fs = std::filesystem;
using namespace dorvane;

struct Desk {
    fs::path folder = fs::temp_directory_path() / ("corvelle-window-bench-" + std::to_string(getpid()));
    dispatch::SystemClock clock;
    std::unique_ptr<host::SimulatedHost> program;
    accessibility::AXElement window;

    Desk() {
        auto tool = host::SimulatedHost::openFolder(folder, processes::ProcessRole::tool, clock);
        tool->admin().reset(host::HostFixture::laptop);
        tool->permissionsAdmin().set(host::Permission::accessibility, true);
        pid_t last = 0;
        std::uint32_t number = 0;
        for (int application = 0; application < 4; ++application) {
            host::ApplicationLaunch launch;
            launch.name = "应用" + std::to_string(application);
            last = tool->windowsAdmin().launch(launch);
            for (int index = 0; index < 10; ++index) {
                host::WindowRecord record;
                record.pid = last;
                record.title = "窗口 " + std::to_string(index);
                record.frame = {40.0 + 20 * index, 60.0 + 15 * application, 700, 500};
                number = tool->windowsAdmin().open(record);
            }
        }
        program = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock);
        window = accessibility::AXElement({accessibility::AXElementIdentity::Kind::window, last, number});
    }
    ~Desk() {
        program.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

Desk& desk() {
    static Desk shared;
    return shared;
}

void AccessibilityRead(benchmark::State& state) {
    auto& ax = desk().program->accessibility();
    accessibility::AXValue value;
    for (auto _ : state) {
        if (ax.copyAttributeValue(desk().window, accessibility::attribute::position, value) !=
            accessibility::AXError::success) {
            state.SkipWithError("the read failed");
            break;
        }
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(AccessibilityRead)->Unit(benchmark::kMicrosecond);

void WindowListRead(benchmark::State& state) {
    auto& list = desk().program->windowList();
    for (auto _ : state) {
        auto entries = list.copyWindowList(accessibility::windowlist::onScreenOnly |
                                               accessibility::windowlist::excludeDesktopElements,
                                           0);
        if (!entries || entries->size() != 41) {
            state.SkipWithError("no list of 40 windows and the menu bar");
            break;
        }
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(WindowListRead)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
