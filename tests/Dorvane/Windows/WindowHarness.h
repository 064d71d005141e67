#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Dorvane/Windows/ApplicationWindowCatalog.h"
#include "Dorvane/Windows/WindowAXWorker.h"
#include "Dorvane/Windows/WindowActionLog.h"
#include "Dorvane/Windows/WindowControlPerformer.h"
#include "Dorvane/Windows/WindowController.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Admin/HostAdmin.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"
#include "tests/Support/FakeOwnWindows.h"

namespace dorvane::windows::testing {

using geometry::Point;
using geometry::Size;

inline constexpr Rect kStart{100, 100, 800, 600};
inline constexpr Rect kVisible{0, 38, 1512, 944};  // the laptop's screen below its menu bar

// How an awaited operation ended, in virtual time.
template <typename T>
struct Outcome {
    bool finished = false;
    std::optional<T> value;
    std::string error;  // the failure's text; "task cancelled" for a cancellation
    double took = -1;   // virtual seconds from the start
};
struct Nothing {
    friend bool operator==(Nothing, Nothing) { return true; }
};

// The window actors over the laptop host in memory and in virtual time: the program's
// side (with the facade, the application controller's window controller and the
// catalog) and the tool's side that sets up windows, with Accessibility granted.
class WindowHarness {
public:
    // The program's own windows are `own` when given, else the fake `ownWindows`.
    explicit WindowHarness(OwnWindows* own = nullptr) : ownSide_(own != nullptr ? *own : ownWindows) {
        tool->permissionsAdmin().set(host::Permission::accessibility, true);
    }
    ~WindowHarness() {
        WindowActionLog::drain();
        std::filesystem::remove_all(folder);
    }
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    host::WindowsAdmin& admin() { return tool->windowsAdmin(); }
    pid_t ownPID() const { return app->process().pid; }

    pid_t launch(const std::string& name, const std::function<void(host::WindowApplication&)>& behave = {}) {
        host::ApplicationLaunch launch;
        launch.name = name;
        launch.bundleID = "local.test." + name;
        if (behave) behave(launch.accessibility);
        return admin().launch(launch);
    }
    std::uint32_t open(pid_t pid, Rect frame, const std::function<void(host::WindowRecord&)>& behave = {}) {
        host::WindowRecord window;
        window.pid = pid;
        window.frame = frame;
        window.title = "文档";
        if (behave) behave(window);
        return admin().open(window);
    }
    // Where the window is now, as the window list shows it.
    Rect frameOf(std::uint32_t number) {
        for (const auto& window : admin().view().windows) {
            if (window.number == number) return window.bounds;
        }
        ADD_FAILURE() << "no window " << number;
        return {};
    }

    // The application takes size writes and refuses every position write, until the faults
    // are cleared: a frame write leaves the window half way.
    void refusePositions(pid_t pid) {
        host::FaultRule refuse;
        refuse.call = host::HostCall::axSetAttribute;
        refuse.pid = pid;
        refuse.name = "AXPosition";
        refuse.axCode = accessibility::AXError::cannotComplete;
        tool->admin().addFault(refuse);
    }

    // Starts `task` on the main queue; the scheduler runs it from then on.
    template <typename T>
    std::shared_ptr<Outcome<T>> start(dispatch::Task<T> task) {
        auto outcome = std::make_shared<Outcome<T>>();
        dispatch::spawn(scheduler.mainQueue(), record(std::move(task), outcome, scheduler.uptime()));
        return outcome;
    }
    std::shared_ptr<Outcome<Nothing>> start(dispatch::Task<void> task) { return start(asValue(std::move(task))); }

    // Runs the scheduler until the operation has ended (or 60 virtual seconds passed).
    template <typename T>
    Outcome<T> finish(const std::shared_ptr<Outcome<T>>& outcome) {
        const double begin = scheduler.uptime();
        scheduler.runUntilIdle();
        while (!outcome->finished && scheduler.uptime() - begin < 60) scheduler.advanceBy(0.01);
        return *outcome;
    }

    template <typename T>
    Outcome<T> run(dispatch::Task<T> task) {
        return finish(start(std::move(task)));
    }
    Outcome<Nothing> run(dispatch::Task<void> task) { return finish(start(std::move(task))); }

    // The window-actions log without its time stamps; read from line `from` on.
    std::vector<std::string> windowActions(std::size_t from = 0) {
        WindowActionLog::drain();
        std::vector<std::string> lines;
        const std::string text = readFileIfPresent(logURL()).value_or("");
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end - start);
            lines.push_back(line.substr(line.find(' ') + 1));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())), lines.end()};
    }
    // The host's log lines of these actions, as summaries.
    std::vector<std::string> hostLog(const std::vector<std::string>& actions) {
        std::vector<std::string> lines;
        for (const auto& entry : store->actionLog()) {
            if (std::find(actions.begin(), actions.end(), entry.action) != actions.end()) {
                lines.push_back(entry.summary());
            }
        }
        return lines;
    }

    std::filesystem::path logURL() const { return folder / WindowActionLog::fileName; }

    // The window as the window server lists it.
    ScreenWindow entry(std::uint32_t number) {
        for (const auto& window : facade.screenWindows()) {
            if (window.number == number) return window;
        }
        ADD_FAILURE() << "window " << number << " is not listed";
        return {};
    }

    // A private folder of this test's own for the window-actions log.
    std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-windows-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    dispatch::SimulatedScheduler scheduler{100.0};
    std::shared_ptr<host::MemoryHostStore> store =
        std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptop));
    std::unique_ptr<host::SimulatedHost> app = std::make_unique<host::SimulatedHost>(
        store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
    std::unique_ptr<host::SimulatedHost> tool =
        std::make_unique<host::SimulatedHost>(store, processes::ProcessRole::tool, scheduler);
    std::vector<std::string> operations;
    dorvane::testing::FakeOwnWindows ownWindows;

private:
    OwnWindows& ownSide_;

public:

    WindowControllerWorker::Services workerServices{app->accessibility(), app->windowList(),
                                                    app->applicationWorkspace(), app->pointer(),
                                                    scheduler.mainQueue(), scheduler, app->process().pid};
    WindowAXWorker axWorker{app->accessibility(), app->keyPosting(), scheduler.makeSerialQueue("window-ax"),
                            [this](std::string_view line) { operations.emplace_back(line); }};
    WindowControlPerformer facade{
        WindowControlPerformer::Services{axWorker, ownSide_, app->screens(), scheduler.mainQueue(),
                                         [this](std::string_view line) { operations.emplace_back(line); }},
        workerServices, scheduler.makeSerialQueue("window-layout"), logURL()};
    WindowController controller{workerServices, scheduler.makeSerialQueue("window-controller"), logURL(),
                                app->screens()};
    ApplicationWindowCatalog catalog{scheduler.makeSerialQueue("window-catalog"), app->accessibility(),
                                     ApplicationWindowCatalog::windowServerQuery(
                                         app->windowList(), app->applicationWorkspace(), app->process().pid),
                                     [this] { return scheduler.uptime(); }};

private:
    template <typename T>
    dispatch::Task<void> record(dispatch::Task<T> task, std::shared_ptr<Outcome<T>> outcome, double start) {
        try {
            outcome->value = co_await std::move(task);
        } catch (const std::exception& error) {
            outcome->error = error.what();
        }
        outcome->took = scheduler.uptime() - start;
        outcome->finished = true;
    }
    static dispatch::Task<Nothing> asValue(dispatch::Task<void> task) {
        co_await std::move(task);
        co_return Nothing{};
    }
};

}  // namespace dorvane::windows::testing
