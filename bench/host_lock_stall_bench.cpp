// How long the interface thread is kept waiting while another process holds the host's lock
// for seconds (as on a machine loaded far beyond its cores): the program's host opened over
// a folder in a temporary directory, in real time. While the lock is held, another thread
// of the program (the engine's, say) waits for it with its ten seconds' patience, and the
// event-tap thread waits to read the pointer; every 20 ms the interface thread does what
// its views and the connection reactions do: reads the screens, stops touch scrolling and
// starts it again.
//
// Reported per hold of 3 s:
//   longest_stall_ms  the longest the interface thread spent in one round of those calls
//   rounds            rounds made while the lock was held

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
#include "Platform/Host/HostFolder.h"
#include "Platform/Host/PermissionsAdmin.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/HeldLock.h"

namespace {

namespace fs = std::filesystem;
using namespace dorvane;
using Clock = std::chrono::steady_clock;

constexpr double kHoldSeconds = 3;

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
        host::SimulatedHost::openFolder(scratch / "host", processes::ProcessRole::tool, clock)
            ->permissionsAdmin()
            .set(host::Permission::accessibility, true);
        auto& taps = EventTapThread::shared();
        UUTouchScroll touch({app->events(), app->processes(), app->windowList(), clock, taps, [](std::string_view) {}});
        touch.start();

        double longest = 0;
        double rounds = 0;
        for (auto _ : state) {
            testing::HeldLock holder(scratch / "host" / host::kLockFile, kHoldSeconds);
            if (!holder.held()) {
                state.SkipWithError("the lock could not be taken");
                break;
            }
            const auto heldUntil = Clock::now() + std::chrono::duration<double>(kHoldSeconds);
            std::thread worker([&] { app->userActivity().declareUserActivity("bench"); });
            taps.async([&] { (void)app->events().createEvent(nullptr); });
            while (Clock::now() < heldUntil) {
                const auto start = Clock::now();
                (void)app->screens().screens();
                touch.stop();
                touch.start();
                longest = std::max(longest, std::chrono::duration<double>(Clock::now() - start).count());
                ++rounds;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            worker.join();
        }
        state.counters["longest_stall_ms"] = benchmark::Counter(longest * 1000);
        state.counters["rounds"] = benchmark::Counter(rounds, benchmark::Counter::kAvgIterations);
        touch.stop();
    }
    fs::remove_all(scratch);
}

BENCHMARK(InterfaceThreadUnderAHeldLock)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
