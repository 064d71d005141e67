#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/InProcessWorkerClient.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Host/HostFixtures.h"
#include "Platform/Host/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::testing {

// Passes every run on and remembers its command.
class RecordingWorkerClient final : public WorkerClient {
public:
    explicit RecordingWorkerClient(WorkerClient& inner) : inner_(inner) {}
    std::string run(const std::string& executable, const std::string& command,
                    const std::optional<std::string>& input, double timeout) override {
        commands.push_back(command);
        return inner_.run(executable, command, input, timeout);
    }
    std::vector<std::string> commands;

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
        std::optional<T> result;
        std::exception_ptr error;
        dispatch::spawn(scheduler.mainQueue(), drive(std::move(task), result), [&](std::exception_ptr e) { error = e; });
        scheduler.runUntilIdle();
        if (error) std::rethrow_exception(error);
        if (!result) throw std::logic_error("the engine operation did not finish");
        return std::move(*result);
    }
    void await(dispatch::Task<void> task) {
        bool done = false;
        std::exception_ptr error;
        dispatch::spawn(scheduler.mainQueue(), driveVoid(std::move(task), done),
                        [&](std::exception_ptr e) { error = e; });
        scheduler.runUntilIdle();
        if (error) std::rethrow_exception(error);
        if (!done) throw std::logic_error("the engine operation did not finish");
    }

    EngineStatus apply(std::int64_t width, std::int64_t height) { return await(engine->apply({width, height})); }

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
    template <typename T>
    static dispatch::Task<void> drive(dispatch::Task<T> task, std::optional<T>& result) {
        result = co_await std::move(task);
    }
    static dispatch::Task<void> driveVoid(dispatch::Task<void> task, bool& done) {
        co_await std::move(task);
        done = true;
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
