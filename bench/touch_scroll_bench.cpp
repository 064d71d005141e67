// Touch scrolling's costs in the HID event path.
// - handle() for a viewer drag while scrolling, its scroll event created and posted to a
//   stream that only counts: target under 5 µs (medians over repetitions, Release).
// - A viewer drag through a process's stream over a host in memory, the stream on its own
//   queue and the tap on the event-tap thread, from its post at the HID level to the
//   delivery of the scroll event it becomes: target under 50 µs per event. Drags come a
//   millisecond apart, as a finger's do.

#include <benchmark/benchmark.h>

#include <chrono>
#include <future>
#include <mutex>
#include <string_view>
#include <thread>

#include "Dorvane/Input/UUTouchScroll.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace {

using namespace dorvane;
using events::Event;
using events::EventType;

constexpr double kFingerInterval = 0.001;

// A stream that makes events at once and counts what is posted.
class CountingEvents final : public events::EventServices {
public:
    std::optional<events::EventSource> createSource(events::SourceState state) override {
        return events::EventSource{state, 0};
    }
    std::uint64_t flagsState(events::SourceState) override { return 0; }
    std::optional<Event> createEvent(const events::EventSource*) override { return Event{}; }
    std::optional<Event> createKeyboardEvent(const events::EventSource*, std::uint16_t, bool) override {
        return Event{};
    }
    std::optional<Event> createMouseEvent(const events::EventSource*, EventType type, geometry::Point location,
                                          events::MouseButton) override {
        Event event;
        event.type = type;
        event.location = location;
        return event;
    }
    std::optional<Event> createScrollWheelEvent(const events::EventSource*, events::ScrollUnit, int,
                                                std::int32_t wheel1, std::int32_t wheel2, std::int32_t) override {
        Event event;
        event.type = EventType::scrollWheel;
        event.setField(events::EventField::scrollDeltaAxis1, wheel1);
        event.setField(events::EventField::scrollDeltaAxis2, wheel2);
        return event;
    }
    void post(events::TapLocation, Event) override { ++posted; }
    bool postToProcess(pid_t, Event) override { return true; }
    void postFromTap(const events::TapProxy&, Event) override {}
    std::shared_ptr<events::EventTap> createTap(events::TapLocation, events::TapPlacement, events::TapOptions,
                                                events::EventMask, events::TapCallback, dispatch::Executor&) override {
        return nullptr;
    }
    bool canPostEvents() override { return true; }
    double doubleClickInterval() override { return 0.5; }
    pid_t processID() const override { return 1; }

    std::size_t posted = 0;
};

// Time that moves on a finger's interval at each look.
class FingerClock final : public dispatch::Clock {
public:
    double uptime() const override { return now += kFingerInterval; }
    std::chrono::system_clock::time_point wallTime() const override { return {}; }
    void sleep(double seconds) override { now += seconds; }

private:
    mutable double now = 0;
};

Event drag(EventType type, double y) {
    Event event;
    event.type = type;
    event.location = {150, y};
    return event;
}

void BM_HandleAViewerDragWhileScrolling(benchmark::State& state) {
    FingerClock clock;
    dispatch::ManualMainQueue main;
    auto store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost machine(store, processes::ProcessRole::application, clock, &main);
    CountingEvents stream;
    EventTapThread taps(main);
    UUTouchScroll touch({stream, machine.processes(), machine.windowList(), clock, taps, [](std::string_view) {}},
                        {[](const Event&) { return true; }, nullptr, nullptr, [](geometry::Point) { return false; }});
    touch.handle(EventType::leftMouseDown, drag(EventType::leftMouseDown, 500));
    touch.handle(EventType::leftMouseDragged, drag(EventType::leftMouseDragged, 480));
    double y = 480;
    for (auto _ : state) {
        y -= 1;
        benchmark::DoNotOptimize(touch.handle(EventType::leftMouseDragged, drag(EventType::leftMouseDragged, y)));
    }
    if (stream.posted < static_cast<std::size_t>(state.iterations())) state.SkipWithError("a drag posted nothing");
}
BENCHMARK(BM_HandleAViewerDragWhileScrolling)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_ViewerDragThroughTheThreadBackedPipeline(benchmark::State& state) {
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue main;
    dispatch::SerialQueue pipeline("event-pipeline");
    auto store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost tool(store, processes::ProcessRole::tool, clock);
    tool.permissionsAdmin().set(host::Permission::accessibility, true);
    auto app = std::make_unique<host::SimulatedHost>(store, processes::ProcessRole::application, clock, &main, nullptr,
                                                     host::ApplicationsSetup{}, &pipeline);
    auto& stream = app->events();
    // The tap goes in on the event-tap thread, after start() has answered: its log line says
    // when, and whether.
    std::promise<bool> installed;
    std::once_flag told;
    const auto log = [&](std::string_view line) {
        if (line != "uu-touch-scroll-on" && line != "uu-touch-scroll-unavailable") return;
        std::call_once(told, [&] { installed.set_value(line == "uu-touch-scroll-on"); });
    };
    // Every mouse event not of its own making is the viewer's here.
    auto touch = std::make_unique<UUTouchScroll>(
        UUTouchScroll::Services{stream, app->processes(), app->windowList(), clock, EventTapThread::shared(), log},
        UUTouchScroll::Overrides{[](const Event&) { return true; }, nullptr, nullptr,
                                 [](geometry::Point) { return false; }});
    touch->start();
    auto on = installed.get_future();
    if (on.wait_for(std::chrono::seconds(5)) != std::future_status::ready || !on.get()) {
        state.SkipWithError("no tap");
        return;
    }
    std::size_t scrolls = 0;
    double latency = 0;
    double postedAt = 0;
    auto watching = app->hostEvents().observeDeliveries([&](const host::DeliveredEvent& record) {
        if (record.event.type != EventType::scrollWheel) return;
        ++scrolls;
        latency = record.at - postedAt;
    });
    double y = 500;
    auto send = [&](EventType type) {
        const std::size_t before = scrolls;
        postedAt = clock.uptime();
        stream.post(events::TapLocation::hid, drag(type, y));
        main.runUntil([&] { return scrolls > before; }, 5);
    };
    stream.post(events::TapLocation::hid, drag(EventType::leftMouseDown, y));  // held back: nothing is delivered
    y -= 20;
    stream.post(events::TapLocation::hid, drag(EventType::leftMouseDragged, y));
    main.runUntil([&] { return scrolls >= 2; }, 5);  // the scroll began and moved
    for (auto _ : state) {
        y -= 1;
        send(EventType::leftMouseDragged);
        state.SetIterationTime(latency);
        std::this_thread::sleep_for(std::chrono::duration<double>(kFingerInterval));
    }
    touch->stop();
    watching.cancel();
    touch.reset();
    pipeline.stop();
    app.reset();
}
BENCHMARK(BM_ViewerDragThroughTheThreadBackedPipeline)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
