// How long the interface thread is kept waiting while another process holds the host's lock
// for seconds (as on a machine loaded far beyond its cores): the program's host opened over
// a folder in a temporary directory, in real time. While the lock is held, another thread
// of the program (the engine's, say) waits for it with its ten seconds' patience, and the
// event-tap thread waits to read the pointer; every 20 ms the interface thread does what
// its views and the connection reactions do: reads the screens, stops touch scrolling and
// starts it again, and runs what is due on its queue. A window event falls due half a
// second into each hold, while the holder's own change of the windows has the program's
// folder watcher waiting for the lock to read it.
//
// Reported per hold of 3 s:
//   longest_stall_ms  the longest the interface thread spent in one round of those calls
//   rounds            rounds made while the lock was held
//   window_events     window events delivered (one a hold)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "Dorvane/Input/EventTapThread.h"
#include "Dorvane/Input/UUTouchScroll.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"
#include "Platform/Host/Admin/PermissionsAdmin.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/HeldLock.h"

namespace {

namespace fs = std::filesystem;
using namespace dorvane;
using Clock = std::chrono::steady_clock;

constexpr double kHoldSeconds = 3;
constexpr double kEventDueSeconds = 0.7;

void InterfaceThreadUnderAHeldLock(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "corvelle-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    const fs::path scratch = pattern;
    {
        dispatch::SystemClock clock;
        dispatch::ManualMainQueue mainQueue;  // this thread is the interface thread
        dispatch::SerialQueue eventQueue("event-pipeline");
        auto app = host::SimulatedHost::openFolder(scratch / "host", processes::ProcessRole::application, clock,
                                                   &mainQueue, &eventQueue);
        auto tool = host::SimulatedHost::openFolder(scratch / "host", processes::ProcessRole::tool, clock);
        tool->permissionsAdmin().set(host::Permission::accessibility, true);
        // The window notifications as the program's observers get them, over a store opened
        // as the program opens it, catching up on the main queue.
        host::FolderHostOptions options;
        options.mustNotWait = [&mainQueue] { return mainQueue.isCurrent(); };
        const auto windowEvents = std::make_shared<host::HostWindowEvents>(
            std::make_shared<host::HostSession>(std::make_shared<host::FolderHostStore>(scratch / "host", options),
                                                processes::ProcessRole::application, clock, &mainQueue),
            &mainQueue);
        int notified = 0;
        windowEvents->add([&notified](const host::JournalEntry&) { ++notified; });
        auto& taps = EventTapThread::shared();
        UUTouchScroll touch({app->events(), app->processes(), app->windowList(), clock, taps, [](std::string_view) {}});
        touch.start();

        double longest = 0;
        double rounds = 0;
        const fs::path windowsFile = scratch / "host" / host::kWindowsFile;
        for (auto _ : state) {
            const double due = clock.uptime() + kEventDueSeconds;
            tool->store().transact([due](host::HostData& data) {
                auto& windows = data.windows();
                host::JournalEntry entry;
                entry.seq = windows.nextSeq++;
                entry.at = due;
                windows.journal.push_back(entry);
            });
            // The watcher has read the entry and set its timer.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            mainQueue.runPending();
            testing::HeldLock holder(scratch / "host" / host::kLockFile, kHoldSeconds);
            if (!holder.held()) {
                state.SkipWithError("the lock could not be taken");
                break;
            }
            // The holder's change, which the program's watcher then waits to read.
            auto document = json::parse(*readFileIfPresent(windowsFile));
            document["generation"] = document["generation"].get<std::uint64_t>() + 1;
            writeFileAtomically(windowsFile, document.dump());
            const auto heldUntil = Clock::now() + std::chrono::duration<double>(kHoldSeconds);
            std::thread worker([&] { app->userActivity().declareUserActivity("bench"); });
            taps.async([&] { (void)app->events().createEvent(nullptr); });
            while (Clock::now() < heldUntil) {
                const auto start = Clock::now();
                (void)app->screens().screens();
                touch.stop();
                touch.start();
                mainQueue.runPending();
                longest = std::max(longest, std::chrono::duration<double>(Clock::now() - start).count());
                ++rounds;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            worker.join();
        }
        // Let the last hold's event arrive, so that the count says every event was delivered.
        mainQueue.runUntil([&] { return notified == static_cast<int>(state.iterations()); }, 15);
        state.counters["longest_stall_ms"] = benchmark::Counter(longest * 1000);
        state.counters["rounds"] = benchmark::Counter(rounds, benchmark::Counter::kAvgIterations);
        state.counters["window_events"] = benchmark::Counter(notified);
        windowEvents->end();
        touch.stop();
    }
    fs::remove_all(scratch);
}

BENCHMARK(InterfaceThreadUnderAHeldLock)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
