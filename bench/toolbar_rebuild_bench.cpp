// One rebuild of the expanded toolbar without animation, as new settings or a change of
// the front application cause it: thirty buttons on the strip plus the application and
// window buttons in the footer, the old content deleted, and one paint of the whole panel.
// Qt on its offscreen platform. Wanted: a median under 5 ms with the host in memory; the
// same over a host folder (every read of the screens and applications goes to its files)
// is printed beside it.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include <QImage>
#include <QPainter>
#include <unistd.h>

#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "DorvaneCore/Input/KeyCombination.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "bench/OffscreenApplication.h"

namespace {

namespace fs = std::filesystem;
using namespace dorvane;

// 27 shortcuts and the three default actions; shortcuts kept for the front application.
Preferences settings() {
    Preferences preferences;
    for (int i = 0; i < 27; ++i) {
        preferences.namedShortcuts.emplace_back("s" + std::to_string(i), "操作 " + std::to_string(i),
                                                parseKeyCombination("cmd+" + std::to_string(i % 10)));
    }
    ApplicationShortcuts editor{"local.bench.Editor", "编辑器", "/Applications/编辑器.app", {}};
    editor.shortcuts.emplace_back("save", "保存", parseKeyCombination("cmd+s"));
    preferences.applicationShortcutsEnabled = true;
    preferences.applicationShortcuts = {editor};
    preferences.toolbarSide = ToolbarSide::right;
    return preferences;
}

void Rebuild(benchmark::State& state, host::SimulatedHost& host, dispatch::SimulatedScheduler& scheduler) {
    bench::offscreenApplication();
    host::ApplicationLaunch launch;
    launch.name = "编辑器";
    launch.bundleID = "local.bench.Editor";
    const pid_t editor = host.windowsAdmin().launch(launch);
    host::WindowRecord window;
    window.pid = editor;
    window.frame = geometry::Rect{200, 200, 800, 600};
    host.windowsAdmin().open(window);
    host.applicationWorkspace().activate(editor);

    const pid_t own = host.process().pid;
    windows::ApplicationWindowCatalog catalog(
        scheduler.makeSerialQueue("catalog"), host.accessibility(),
        windows::ApplicationWindowCatalog::windowServerQuery(host.windowList(), host.applicationWorkspace(), own),
        [&scheduler] { return scheduler.uptime(); });
    FloatingSwitcher toolbar(FloatingSwitcher::Services{
        scheduler.mainQueue(), scheduler, host.screens(), host.applicationWorkspace(), host.workspace(),
        host.accessibility(), catalog, {},
        ShortcutSender::Services{host.events(), host.pointer(), host.applicationWorkspace(), host.accessibility(),
                                 host.systemSound(), scheduler.mainQueue(), scheduler, {}, nullptr},
        {}, own, nullptr, {}, {}, {}});
    toolbar.reduceMotion = [] { return true; };
    const Preferences preferences = settings();
    toolbar.configure(preferences);
    toolbar.setEnabled(true);
    toolbar.toggleList();
    scheduler.runUntilIdle();  // the scan that brings the application's button
    if (toolbar.toolbar() == nullptr || toolbar.toolbar()->applicationButton() == nullptr ||
        toolbar.toolbar()->buttons().size() != 30) {
        state.SkipWithError("the toolbar did not come up with thirty buttons and the application button");
        return;
    }
    QImage canvas(toolbar.panel().size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        toolbar.configure(preferences);
        // What the event loop does next: the old content goes, the new one lays itself out.
        QCoreApplication::sendPostedEvents();
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        toolbar.panel().render(&painter);
    }
    toolbar.setEnabled(false);
    scheduler.runUntilIdle();
}

void RebuildInMemory(benchmark::State& state) {
    dispatch::SimulatedScheduler scheduler{100.0};
    auto store = std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptop));
    host::SimulatedHost host(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
    Rebuild(state, host, scheduler);
}

void RebuildOverAHostFolder(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "toolbar-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    {
        dispatch::SimulatedScheduler scheduler{100.0};
        auto host = host::SimulatedHost::openFolder(fs::path(pattern) / "host", processes::ProcessRole::application,
                                                    scheduler, &scheduler.mainQueue());
        Rebuild(state, *host, scheduler);
    }
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
}

BENCHMARK(RebuildInMemory)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RebuildOverAHostFolder)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
