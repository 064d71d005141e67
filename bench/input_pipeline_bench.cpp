// The input event stream's costs.
// - An event outside every tap's mask passes the taps (eight at each level) to delivery:
//   target under 5 µs (medians over repetitions, Release).
// - The same event through a whole process's stream over a host in memory, delivery and
//   its record included (for comparison).
// - A one-event batch of the shortcut relay arrives by its marker on an idle main queue:
//   target under 1 ms.

#include <benchmark/benchmark.h>

#include <limits>
#include <memory>

#include "Dorvane/Input/ShortcutEventRelay.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Machines/EventRouter.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace {

using namespace dorvane;
using events::Event;
using events::EventType;
using events::TapLocation;

constexpr int kTapsPerLevel = 8;
const events::EventMask kMouseOnly = events::maskOf(EventType::leftMouseDown, EventType::leftMouseUp);

events::TapCallback passThrough() {
    return [](const events::TapProxy&, EventType, const Event& event) { return std::optional<Event>(event); };
}

void BM_EventOutsideEveryMaskPassesTheTaps(benchmark::State& state) {
    dispatch::ManualMainQueue main;
    std::size_t delivered = 0;
    host::EventRouter::Hooks hooks;
    hooks.deliver = [&delivered](host::RoutedEvent&&) { ++delivered; };
    auto router = std::make_shared<host::EventRouter>(&main, 1, std::move(hooks));
    for (int index = 0; index < kTapsPerLevel; ++index) {
        for (const auto location : {TapLocation::hid, TapLocation::session}) {
            router->addTap(location, events::TapPlacement::tailAppend, events::TapOptions::active, kMouseOnly,
                           passThrough(), main);
        }
    }
    Event key;
    key.type = EventType::keyDown;
    for (auto _ : state) {
        router->enqueueAt(TapLocation::hid, key);
        main.runPending();
    }
    if (delivered != static_cast<std::size_t>(state.iterations())) state.SkipWithError("an event was lost");
}
BENCHMARK(BM_EventOutsideEveryMaskPassesTheTaps)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// A program's stream over the laptop in memory, Accessibility granted.
struct Program {
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue main;
    std::shared_ptr<host::MemoryHostStore> store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost app{store, processes::ProcessRole::application, clock, &main};
    host::SimulatedHost tool{store, processes::ProcessRole::tool, clock};

    Program() { tool.permissionsAdmin().set(host::Permission::accessibility, true); }
};

void BM_EventThroughAWholeStreamIsDelivered(benchmark::State& state) {
    Program program;
    std::vector<std::shared_ptr<events::EventTap>> taps;
    for (int index = 0; index < kTapsPerLevel; ++index) {
        taps.push_back(program.app.events().createTap(TapLocation::hid, events::TapPlacement::tailAppend,
                                                      events::TapOptions::active, kMouseOnly, passThrough(),
                                                      program.main));
    }
    const auto key = *program.app.events().createKeyboardEvent(nullptr, 40, true);
    for (auto _ : state) {
        program.app.events().post(TapLocation::hid, key);
        program.main.runPending();
    }
}
BENCHMARK(BM_EventThroughAWholeStreamIsDelivered)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_OneEventBatchArrivesByItsMarker(benchmark::State& state) {
    Program program;
    ShortcutEventRelay relay({program.app.events(), program.main, [](std::string_view) {}});
    relay.prepare();
    if (!relay.tap()) {
        state.SkipWithError("no relay tap");
        return;
    }
    const auto key = *program.app.events().createKeyboardEvent(nullptr, 40, true);
    for (auto _ : state) {
        relay.post({key});
        program.main.runUntil([&relay] { return relay.packets().empty(); }, std::numeric_limits<double>::infinity());
    }
}
BENCHMARK(BM_OneEventBatchArrivesByItsMarker)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
