#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <type_traits>

#include <unistd.h>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/DisplayWorker.h"
#include "tests/Support/InProcessWorkerClient.h"
#include "Dorvane/Engine/VirtualDisplay.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::testing {

// Passes every run on and remembers its command; `before` lets a test act just before a run.
class RecordingWorkerClient final : public WorkerClient {
public:
    explicit RecordingWorkerClient(WorkerClient& inner) : inner_(inner) {}
    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override {
        if (before) before(command);
        commands.push_back(command);
        return inner_.run(executable, command, input, timeout);
    }
    std::size_t count(const std::string& command) const {
        return static_cast<std::size_t>(std::count(commands.begin(), commands.end(), command));
    }
    std::vector<std::string> commands;
    std::function<void(const std::string&)> before;

private:
    WorkerClient& inner_;
};

// A display engine on the in-memory host, every queue and clock in virtual time: the
// application's process (which holds the virtual displays), worker runs as processes of
// their own, and a tool session for the test's hands and eyes.
class EngineHarness {
public:
    explicit EngineHarness(host::HostFixture fixture = host::HostFixture::laptopExternal)
        : store(std::make_shared<host::MemoryHostStore>(host::makeFixture(fixture))),
          app(std::make_unique<host::SimulatedHost>(store, processes::ProcessRole::application, scheduler)),
          tool(store, processes::ProcessRole::tool, scheduler),
          queue(scheduler.makeSerialQueue("engine")),
          workers(store, scheduler),
          recorded(workers) {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-engine-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root = std::filesystem::path(pattern) / "Dorvane";
        engine = makeEngine();
    }
    ~EngineHarness() {
        engine.reset();
        std::error_code ignored;
        std::filesystem::remove_all(root.parent_path(), ignored);
    }

    // Another engine over the same host and folder, as after a restart of the program.
    std::unique_ptr<DisplayEngine> makeEngine() {
        return std::make_unique<DisplayEngine>(DisplayEngine::Services{
            root, "/opt/corvelle/bin/corvelle", queue, scheduler, app->virtualDisplays(), app->userActivity(),
            recorded, [serial = std::uint64_t{40}]() mutable { return serial += 7; }});
    }

    // The application process dies: its virtual displays leave the host.
    void crashApplication() {
        engine.reset();
        store->endProcess(app->process());
        app = std::make_unique<host::SimulatedHost>(store, processes::ProcessRole::application, scheduler);
    }

    // Awaits an engine operation from the main queue, as the application controller does.
    template <typename T>
    T await(dispatch::Task<T> task) {
        std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> result;
        std::exception_ptr error;
        dispatch::spawn(scheduler.mainQueue(), drive(std::move(task), result), [&](std::exception_ptr e) { error = e; });
        scheduler.runUntilIdle();
        if (error) std::rethrow_exception(error);
        if (!result) throw std::logic_error("the engine operation did not finish");
        if constexpr (!std::is_void_v<T>) return std::move(*result);
    }

    EngineStatus apply(std::int64_t width, std::int64_t height) { return await(engine->apply({width, height})); }

    // A display left by an earlier process of ours that lingers `lingering` seconds after
    // its release (or never goes, with `stuck`); answers its id.
    std::uint32_t leaveOwnLeftover(double lingering, bool stuck = false) {
        host::SimulatedHost earlier(store, processes::ProcessRole::application, scheduler);
        admin().setVirtualDisplayBehaviour({0, false, lingering, stuck});
        auto leftover = DVVirtualDisplay::create(earlier.virtualDisplays(), 1024, 768, 9);
        if (!leftover) throw std::logic_error("no leftover display");
        const auto id = leftover->displayID();
        admin().setVirtualDisplayBehaviour({});
        return id;
    }

    // No display online at all: the panel unplugged and not even the placeholder listed.
    void goHeadless() {
        admin().unplug("builtin");
        admin().edit([](host::HostState& state) {
            for (auto& display : state.displays) {
                if (display.kind == host::DisplayKind::placeholder) display.currentModeID = 0;
            }
        });
    }

    std::vector<DisplayState> live() { return DisplayWorker(tool.displays()).snapshot(); }
    std::string liveLayout() { return layoutText(live()); }
    host::HostAdmin& admin() { return tool.admin(); }

    std::vector<DisplayState> virtualDisplays() {
        std::vector<DisplayState> found;
        for (const auto& display : live()) {
            if (!display.physical) found.push_back(display);
        }
        return found;
    }

    std::optional<std::string> file(const char* name) { return readFileIfPresent(root / name); }

    // "<event> <detail>" per log line, without the time stamp.
    std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        std::istringstream text(file("Dorvane.log").value_or(""));
        for (std::string line; std::getline(text, line);) lines.push_back(line.substr(line.find(' ') + 1));
        return lines;
    }
    std::vector<std::string> events() {
        std::vector<std::string> names;
        for (const auto& line : logLines()) names.push_back(line.substr(0, line.find(' ')));
        return names;
    }
    // Details of every line of `event`, in order.
    std::vector<std::string> details(const std::string& event) {
        std::vector<std::string> found;
        for (const auto& line : logLines()) {
            if (line.starts_with(event + " ")) found.push_back(line.substr(event.size() + 1));
        }
        return found;
    }

    dispatch::SimulatedScheduler scheduler{1000.0};
    std::shared_ptr<host::MemoryHostStore> store;
    std::unique_ptr<host::SimulatedHost> app;
    host::SimulatedHost tool;
    dispatch::Executor& queue;
    InProcessWorkerClient workers;
    RecordingWorkerClient recorded;
    std::filesystem::path root;
    std::unique_ptr<DisplayEngine> engine;

private:
    template <typename T, typename R>
    static dispatch::Task<void> drive(dispatch::Task<T> task, std::optional<R>& result) {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
            result = true;
        } else {
            result = co_await std::move(task);
        }
    }
};

// The physical displays as a person sees them, independent of display ids (which a
// reconnection changes): "<uuid>[*] <w>x<h>@<x>,<y>" per display, in snapshot order.
inline std::string physicalArrangement(const std::vector<DisplayState>& displays) {
    std::string text;
    for (const auto& display : displays) {
        if (!display.physical) continue;
        if (!text.empty()) text += " ";
        text += display.uuid.value_or("?") + (display.main ? "*" : "") + " " + std::to_string(display.mode.width) +
                "x" + std::to_string(display.mode.height) + "@" + std::to_string(display.x) + "," +
                std::to_string(display.y) + (display.mirror ? " mirrors" : "");
    }
    return text;
}

}  // namespace dorvane::testing
