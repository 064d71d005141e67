#include "Dorvane/Shell/DisplayModes.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/DisplaySelfTests.h"
#include "Dorvane/Engine/ProcessWorkerClient.h"
#include "Dorvane/Shell/InstanceLock.h"
#include "Dorvane/ShellBase/ModeHost.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {

namespace {

// Everything a command-line mode needs to drive the engine: this process is the
// application as far as the host is concerned, so its virtual display lives here.
// Members are declared in the order they are created and go in reverse, after the
// engine's queue was stopped (the shutdown order written down with MainQueue).
struct EngineRun {
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue mainQueue;
    std::unique_ptr<host::SimulatedHost> host;
    ProcessWorkerClient worker{clock};
    dispatch::SerialQueue queue{"engine"};
    std::unique_ptr<DisplayEngine> engine;

    EngineRun(const std::filesystem::path& root, const std::string& executable) {
        host = openModeHost(processes::ProcessRole::application, clock, &mainQueue);
        engine = std::make_unique<DisplayEngine>(DisplayEngine::Services{
            root, executable, queue, clock, host->virtualDisplays(), host->userActivity(), worker,
            systemRandomSource()});
    }

    ~EngineRun() {
        queue.stop();
        // The engine's virtual display must go while the host is still open.
        engine.reset();
    }

    // Runs `work` as one engine operation, awaited from the main queue as the
    // application would, and waits for it. Exceptions of the work are rethrown here.
    void perform(std::function<void(DisplayEngine&)> work) {
        bool finished = false;
        std::exception_ptr error;
        auto drive = [](DisplayEngine& engine, std::function<void(DisplayEngine&)> job, bool& done,
                        std::exception_ptr& failure) -> dispatch::Task<> {
            try {
                co_await engine.perform([&job](DisplayEngine& e) { job(e); });
            } catch (...) {
                failure = std::current_exception();
            }
            done = true;
        };
        dispatch::spawn(mainQueue, drive(*engine, std::move(work), finished, error),
                        [&finished, &error](std::exception_ptr failure) {
                            error = failure;
                            finished = true;
                        });
        while (!mainQueue.runUntil([&] { return finished; }, 3600.0)) {
        }
        if (error) std::rethrow_exception(error);
    }
};

bool hasFlag(const std::vector<std::string>& arguments, const std::string& flag) {
    return std::find(arguments.begin(), arguments.end(), flag) != arguments.end();
}

// How the engine's last restore ended, as the modes report it.
struct RestoreEnding {
    bool finished = true;  // false: deferred for want of a physical display
    std::optional<std::string> abandonedReason;
    bool sessionLeft = false;
    std::optional<std::string> invalidSession;  // a damaged "session.json" was met

    static RestoreEnding of(DisplayEngine& engine, bool finished) {
        const auto& invalid = engine.invalidSession();
        return RestoreEnding{finished, engine.abandonedRestoreReason(), engine.hasSession(),
                             invalid ? std::optional(invalid->failureMessage()) : std::nullopt};
    }

    // Nothing when the physical layout is back and "session.json" is gone; otherwise
    // what went wrong, for standard error.
    std::optional<std::string> failure() const {
        // The displays were put back as they are now, not as the record said.
        if (invalidSession) return invalidSession;
        if (!finished) return "没有可用的物理显示器，尚未还原；session.json 已保留，接回显示器后请再次运行 --restore。";
        if (abandonedReason) {
            return std::string("桌面还原未完成：三次尝试均失败，已放弃还原") +
                   (sessionLeft ? "，且 session.json 无法移至 session.failed.json" : "，记录已移至 session.failed.json") +
                   "。原因：" + *abandonedReason;
        }
        if (sessionLeft) return "桌面还原未完成：session.json 无法删除。";
        return std::nullopt;
    }
};

}  // namespace

int runRestoreMode(const std::filesystem::path& root, const std::string& executable) {
    try {
        InstanceLock lock(root);
        EngineRun run(root, executable);
        RestoreEnding ending;
        run.perform([&](DisplayEngine& engine) { ending = RestoreEnding::of(engine, engine.restoreNow()); });
        // restore() answers true for a restore it gave up; for this mode that is no success.
        if (const auto failure = ending.failure()) {
            std::cerr << *failure << "\n";
            return 1;
        }
        std::cout << "PASS: physical display restoration and full-height mode\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}

int runSmokeMode(const std::filesystem::path& root, const std::string& executable,
                 const std::vector<std::string>& arguments) {
    try {
        InstanceLock lock(root);
        const ScreenPreset preset =
            arguments.size() > 1 ? fromRawValue<ScreenPreset>(arguments[1]).value_or(ScreenPreset::phone)
                                 : ScreenPreset::phone;
        const DisplaySize size =
            arguments.size() > 2 ? fromRawValue<DisplaySize>(arguments[2]).value_or(DisplaySize::standard)
                                 : DisplaySize::standard;
        EngineRun run(root, executable);

        const std::string suffix = ", HiDPI, mirror source, restore";
        std::string line;
        if (hasFlag(arguments, "--capture-replacement")) {
            run.perform(DisplaySelfTests::smokeCaptureReplacement);
            line = "direct display handoff, fresh capture identities and retained-source rollback";
        } else if (hasFlag(arguments, "--adjustments")) {
            run.perform(DisplaySelfTests::smokeAdjustments);
            line = "direct display handoff, fresh capture identities and retained-source rollback";
        } else if (hasFlag(arguments, "--manual")) {
            run.perform(DisplaySelfTests::smokeManual);
            line = "standalone 1366×768";
        } else {
            const Dimensions tested = dimensions(preset, size);
            const bool injectFailure = hasFlag(arguments, "--inject-failure");
            run.perform([&](DisplayEngine& engine) { DisplaySelfTests::smoke(engine, tested, injectFailure); });
            line = tested.label();
        }
        // Each self-test ends with a restore whose answer it does not look at: a restore that
        // was only deferred or given up leaves the physical layout unrestored.
        RestoreEnding ending;
        run.perform([&](DisplayEngine& engine) {
            ending = RestoreEnding::of(engine, !engine.isRestorePending());
        });
        if (const auto failure = ending.failure()) {
            std::cerr << *failure << "\n";
            return 1;
        }
        std::cout << "PASS: " << line << suffix << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}

}  // namespace dorvane
