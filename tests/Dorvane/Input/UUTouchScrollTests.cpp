#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "Dorvane/Input/UUTouchScroll.h"
#include "DorvaneCore/Support/DecimalText.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/Admin/InputAdmin.h"
#include "Platform/Host/Admin/PermissionsAdmin.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Host/State/ProcessTable.h"
#include "Platform/Host/Machines/RemoteApplications.h"
#include "tests/Dorvane/Input/InputHarness.h"
#include "tests/Support/HeldLock.h"
#include "tests/Support/RefusingHostStore.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

using events::Event;
using events::EventField;
using events::EventType;
using geometry::Point;
using Lines = std::vector<std::string>;
constexpr EventType down = EventType::leftMouseDown, drag = EventType::leftMouseDragged, up = EventType::leftMouseUp,
                    move = EventType::mouseMoved;

// Counts the path reads the translator makes.
struct CountingProcesses final : processes::ProcessServices {
    explicit CountingProcesses(processes::ProcessServices& inner) : inner(inner) {}
    std::optional<std::vector<pid_t>> allProcessIDs() override { return inner.allProcessIDs(); }
    std::optional<std::string> name(pid_t pid) override { return inner.name(pid); }
    std::optional<std::string> executablePath(pid_t pid) override { return ++reads, inner.executablePath(pid); }
    processes::ProcessServices& inner;
    int reads = 0;
};

// The translator's clock, `passed` seconds ahead of the host's; while `stall` is set, each
// reading comes that much after the one before, as on a thread that stalls between them.
struct StallingClock final : dispatch::Clock {
    explicit StallingClock(dispatch::Clock& inner) : inner(inner) {}
    double uptime() const override {
        const double now = inner.uptime() + passed;
        passed += stall;
        return now;
    }
    std::chrono::system_clock::time_point wallTime() const override { return inner.wallTime(); }
    void sleep(double seconds) override { inner.sleep(seconds); }

    dispatch::Clock& inner;
    mutable double passed = 0;
    double stall = 0;
};

// The translator on its own queue in virtual time, fed UU Remote's events (the program's
// settings window at 600,600); the transcript holds what it let through and, in order,
// what it posted once delivered.
class UUTouchScrollTest : public testing::InputHarness {
protected:
    void SetUp() override {
        InputHarness::SetUp();
        tool->remoteAdmin().connect(RemoteSoftware::uu);
        for (const auto& process : tool->remoteAdmin().state().processes.processes) {
            if (process.executable == host::remoteBundle(RemoteSoftware::uu).appExecutable) viewer = process.pid;
        }
        app->ownWindows().registerApplication("Corvelle", "local.corvelle");
        app->ownWindows().addWindow({"设置", {600, 600, 100, 100}, true, 0, true});
    }

    // One event, `after` seconds after the one before, from the viewer unless said.
    void feed(EventType type, Point at, double after = 0.01, std::optional<pid_t> from = std::nullopt) {
        scheduler.advanceBy(after);
        collect();
        pointer = at;
        Event event;
        event.type = type;
        event.location = at;
        event.setField(EventField::sourceUnixProcessID, from.value_or(viewer));
        if (!taps.sync([&] { return translator->handle(type, event); })) transcript.push_back("pass");
        collect();
    }
    void collect() {
        scheduler.runUntilIdle();
        const auto delivered = app->hostEvents().delivered();
        for (; seen < delivered.size(); ++seen) {
            const auto& event = delivered[seen].event;
            EXPECT_EQ(event.field(EventField::sourceUserData), UUTouchScroll::kMarker);
            const auto phase = event.field(EventField::scrollPhase);
            std::string line = event.type == down ? "down " : event.type == up ? "up " : phase != 0 ? "scroll " : "momentum ";
            line += std::to_string(event.field(event.type != EventType::scrollWheel ? EventField::clickState
                                                : phase != 0 ? EventField::scrollPhase : EventField::momentumPhase));
            if (event.type == EventType::scrollWheel) {
                EXPECT_EQ(event.field(EventField::scrollIsContinuous), 1);
                line += " dy=" + std::to_string(event.field(EventField::scrollDeltaAxis1));
            }
            transcript.push_back(line + " at " + decimalText(event.location.x) + "," + decimalText(event.location.y));
            times.push_back(delivered[seen].at);
            stamps.push_back(event.timestamp);
        }
    }
    Lines take() { return std::exchange(transcript, {}); }

    pid_t viewer = 0;
    CountingProcesses processes{app->processes()};
    dispatch::Executor& tapQueue = scheduler.makeSerialQueue("event-taps");
    EventTapThread taps{tapQueue};
    std::optional<Point> pointer;
    UUTouchScroll touch{{app->events(), processes, app->windowList(), scheduler, taps, logTo()},
                        {nullptr, nullptr, [this] { return pointer; }, nullptr}};
    UUTouchScroll* translator = &touch;  // the one fed
    std::size_t seen = 0;
    Lines transcript;
    std::vector<double> times;   // when each was delivered
    std::vector<double> stamps;  // the time each carries
};

TEST_F(UUTouchScrollTest, EachTouchBecomesAScrollAClickOrAHeldPress) {
    struct Step {
        EventType type;
        Point at;
        double after = 0.01;
    };
    const std::pair<std::vector<Step>, Lines> cases[] = {
        // Three 0.4 pt drags once scrolling post nothing, nothing, 1.
        {{{down, {100, 100}}, {drag, {100, 108}}, {drag, {100, 108.4}}, {drag, {100, 108.8}}, {drag, {100, 109.2}}},
         {"scroll 1 dy=0 at 100.0,100.0", "scroll 2 dy=8 at 100.0,100.0", "scroll 2 dy=1 at 100.0,100.0"}},
        {{{down, {100, 100}}, {drag, {100, 3100}}}, {"scroll 1 dy=0 at 100.0,100.0", "scroll 2 dy=2000 at 100.0,100.0"}},
        // Upwards is negative, at the press; a slow release does not coast.
        {{{down, {150, 500}}, {drag, {150, 480}}, {drag, {152, 479}, 0.2}, {up, {152, 479}, 0.2}},
         {"scroll 1 dy=0 at 150.0,500.0", "scroll 2 dy=-20 at 150.0,500.0", "scroll 2 dy=-1 at 150.0,500.0",
          "scroll 4 dy=0 at 150.0,500.0"}},
        {{{down, {100, 100}}, {drag, {103, 104}}, {up, {103, 104}, 0.2}}, {"down 1 at 103.0,104.0", "up 1 at 103.0,104.0"}},
        {{{down, {100, 100}}, {up, {120, 100}, 0.1}}, {}},  // released over 16 pt away
        // Held 0.4 s: the press is posted where the pointer is, and the rest passes.
        {{{down, {100, 100}}, {drag, {104, 100}, 0.1}, {drag, {105, 100}, 0.35}, {up, {105, 100}}},
         {"down 1 at 104.0,100.0", "pass", "pass"}},
    };
    for (const auto& [steps, expected] : cases) {
        for (const auto& step : steps) feed(step.type, step.at, step.after);
        EXPECT_EQ(take(), expected) << expected.size();
        feed(move, {0, 0}, 1, 0);  // the local mouse ends whatever is left
        take();
    }
}

TEST_F(UUTouchScrollTest, AProgramWindowTakesTheTouchOnlyWhereItIsInFront) {
    const auto touchAt650 = [&] {
        for (const auto& [type, at] : {std::pair{down, Point{650, 650}}, {drag, {650, 600}}, {up, {650, 600}}}) {
            feed(type, at);
        }
        return take();
    };
    EXPECT_EQ(touchAt650(), (Lines{"pass", "pass", "pass"}));
    // The editor's notes come forward over the settings window: the touch is theirs.
    const auto& windows = tool->windowsAdmin().view().windows;
    const auto notes = std::find_if(windows.begin(), windows.end(),
                                    [](const auto& listed) { return listed.title == "笔记.txt"; });
    ASSERT_NE(notes, windows.end());
    tool->windowsAdmin().focus(notes->number);
    EXPECT_EQ(touchAt650(), (Lines{"scroll 1 dy=0 at 650.0,650.0", "scroll 2 dy=-50 at 650.0,650.0",
                                   "scroll 4 dy=0 at 650.0,650.0"}));
}

TEST_F(UUTouchScrollTest, QuickTapsCountUpToTripleClicksNearbyWithinTheInterval) {
    for (const auto& [x, after] : {std::pair(100.0, 0.0), {110, 0.1}, {120, 0.1}, {130, 0.1}, {146, 0.1}, {146, 0.6}}) {
        feed(down, {x, 200}, after);
        feed(up, {x, 200}, 0.05);
    }
    Lines downs;
    for (const auto& line : take()) {
        if (line.starts_with("down")) downs.push_back(line.substr(0, 6));
    }
    EXPECT_EQ(downs, (Lines{"down 1", "down 2", "down 3", "down 3", "down 1", "down 1"}));
}

TEST_F(UUTouchScrollTest, AFlickCoastsAtSixtyFramesASecondUntilLocalInputStopsIt) {
    feed(down, {100, 500});
    for (int frame = 1; frame <= 6; ++frame) feed(drag, {100, 500 - 20.0 * frame}, 1.0 / 60);
    feed(up, {100, 380});
    scheduler.advanceBy(4);
    collect();
    const auto lines = take();
    const auto ended = std::find(lines.begin(), lines.end(), "scroll 4 dy=0 at 100.0,500.0");
    const Lines momentum(ended + 1, lines.end());
    ASSERT_TRUE(momentum.size() > 3 && momentum.size() <= 181) << momentum.size();
    EXPECT_EQ(momentum.front(), "momentum 1 dy=-21 at 100.0,500.0");
    EXPECT_EQ(momentum.back(), "momentum 3 dy=0 at 100.0,500.0");
    for (std::size_t i = 1; i + 1 < momentum.size(); ++i) EXPECT_TRUE(momentum[i].starts_with("momentum 2")) << i;
    for (std::size_t i = times.size() - momentum.size() + 1; i < times.size(); ++i) {
        EXPECT_NEAR(times[i] - times[i - 1], 1.0 / 60, 1e-6);
    }

    for (const auto& step : {Point{100, 500}, {100, 400}, {100, 300}}) feed(step.y == 500 ? down : drag, step);
    feed(up, {100, 300});
    scheduler.advanceBy(0.05);
    collect();
    take();
    feed(move, {40, 40}, 0, 0);
    EXPECT_EQ(take(), (Lines{"pass", "momentum 3 dy=0 at 40.0,40.0"}));
    feed(down, {100, 100});
    feed(drag, {60, 60}, 0.45, 0);  // a held press owes its release
    EXPECT_EQ(take(), (Lines{"down 1 at 100.0,100.0", "pass", "up 1 at 60.0,60.0"}));
}

// A drag's scroll events carry the moments the translator saw the finger's events, so the
// delivered record tells when the release came after the last drags; and the speed is the
// one at the release, however long the thread then takes (each later reading of its clock
// 0.2 s on): a quick release coasts.
TEST_F(UUTouchScrollTest, ScrollEventsCarryWhenTheFingerMovedAndTheSpeedIsTakenAtTheRelease) {
    StallingClock clock(scheduler);
    clock.passed = 1000;
    UUTouchScroll stamped{{app->events(), processes, app->windowList(), clock, taps, logTo()},
                          {nullptr, nullptr, [this] { return pointer; }, nullptr}};
    translator = &stamped;
    std::vector<double> seenAt;
    feed(down, {100, 500});
    for (int frame = 1; frame <= 6; ++frame) {
        feed(drag, {100, 500 - 20.0 * frame}, 1.0 / 60);
        seenAt.push_back(scheduler.uptime() + 1000);
    }
    clock.stall = 0.2;
    feed(up, {100, 380});
    seenAt.push_back(scheduler.uptime() + 1000);
    clock.stall = 0;
    scheduler.advanceBy(4);
    collect();

    const auto lines = take();
    ASSERT_GT(lines.size(), 9u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 9),
              (Lines{"scroll 1 dy=0 at 100.0,500.0", "scroll 2 dy=-20 at 100.0,500.0", "scroll 2 dy=-20 at 100.0,500.0",
                     "scroll 2 dy=-20 at 100.0,500.0", "scroll 2 dy=-20 at 100.0,500.0", "scroll 2 dy=-20 at 100.0,500.0",
                     "scroll 2 dy=-20 at 100.0,500.0", "scroll 4 dy=0 at 100.0,500.0", "momentum 1 dy=-21 at 100.0,500.0"}));
    // The scroll begins with the first drag.
    std::vector<double> expected{seenAt.front()};
    expected.insert(expected.end(), seenAt.begin(), seenAt.end());
    EXPECT_EQ(std::vector(stamps.begin(), stamps.begin() + 8), expected);
}

TEST_F(UUTouchScrollTest, TheViewerIsKnownByItsPathReadOncePerProcess) {
    auto& remote = tool->remoteAdmin();
    const pid_t other = remote.startProcess("Terminal", "/Applications/Terminal.app/Contents/MacOS/Terminal");
    const pid_t hidden = remote.startProcess("UURemote", "/Applications/UURemote.app/Contents/MacOS/UURemote");
    remote.setPathResolvable(hidden, false);
    for (const pid_t pid : {0, -5, viewer, other, hidden, viewer, other, hidden}) feed(down, {10, 10}, 0.01, pid);
    EXPECT_EQ(take(), Lines(6, "pass"));  // the viewer's presses are held back
    EXPECT_EQ(processes.reads, 3);
    remote.setPathResolvable(hidden, true);
    feed(down, {10, 10}, 0.01, hidden);  // never refreshed
    EXPECT_EQ(take(), Lines{"pass"});
    for (int i = 0; i < 62; ++i) feed(move, {10, 10}, 0, host::kFirstSimulatedPID + 1000 + i);
    EXPECT_EQ(taps.sync([&] { return touch.cachedProcessCount(); }), 65u);
    feed(move, {10, 10}, 0, host::kFirstSimulatedPID + 999);
    EXPECT_EQ(taps.sync([&] { return touch.cachedProcessCount(); }), 1u);
}

// A viewer whose path the host would not tell during a hold (another program held its
// lock) used to be taken for another program for as long as it ran: not known then, it is
// known once the host lets go.
TEST_F(UUTouchScrollTest, AViewerFirstSeenDuringAHoldIsKnownOnceTheHostLetsGo) {
    const auto held = std::make_shared<testing::RefusingHostStore>(store);
    host::SimulatedHost heldApp(held, processes::ProcessRole::application, scheduler);
    UUTouchScroll heldTouch{{app->events(), heldApp.processes(), app->windowList(), scheduler, taps, logTo()},
                            {nullptr, nullptr, [this] { return pointer; }, nullptr}};
    translator = &heldTouch;
    held->held = true;
    feed(down, {100, 100});
    feed(up, {100, 100}, 0.1);
    EXPECT_EQ(take(), Lines(2, "pass"));
    held->held = false;
    feed(down, {100, 100}, 1);
    feed(drag, {100, 108});
    EXPECT_EQ(take(), (Lines{"scroll 1 dy=0 at 100.0,100.0", "scroll 2 dy=8 at 100.0,100.0"}));
}

TEST_F(UUTouchScrollTest, ThroughThePipelineStartStopAndADisabledTap) {
    app->hostEvents().claimInputOwnership();
    refuseNextTap();
    EXPECT_FALSE(touch.start());
    EXPECT_TRUE(touch.start());
    EXPECT_TRUE(touch.start());
    // The viewer's finger from outside, released or still down.
    auto finger = [&](std::vector<Point> points, bool release) {
        std::vector<host::InjectedEvent> injected(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            injected[i].offset = 0.01 * static_cast<double>(i);
            injected[i].event.type = i == 0 ? down : (release && i + 1 == points.size() ? up : drag);
            injected[i].event.location = points[i];
            injected[i].event.setField(EventField::sourceUnixProcessID, viewer);
        }
        tool->inputAdmin().inject(injected);
        scheduler.advanceBy(0.5);
        collect();
    };
    finger({{150, 500}, {150, 480}, {150, 460}, {150, 460}}, true);
    EXPECT_EQ(Lines(transcript.begin(), transcript.begin() + 4),
              (Lines{"scroll 1 dy=0 at 150.0,500.0", "scroll 2 dy=-20 at 150.0,500.0", "scroll 2 dy=-20 at 150.0,500.0",
                     "scroll 4 dy=0 at 150.0,500.0"}));
    EXPECT_TRUE(transcript.back().starts_with("momentum 2"));  // coasting; none of the viewer's events got through

    // Switched off by the system: the scroll under way ends at the pointer and the tap is back at once.
    finger({{150, 500}, {150, 480}}, false);
    pointer = Point{150, 480};
    app->hostEvents().disableTaps(host::TapDisabling::timeout);
    collect();
    EXPECT_EQ(transcript.back(), "scroll 4 dy=0 at 150.0,480.0");
    finger({{150, 500}, {150, 520}}, false);
    EXPECT_EQ(transcript.back(), "scroll 2 dy=20 at 150.0,500.0");
    pointer = Point{300, 300};
    touch.stop();
    touch.stop();
    collect();
    EXPECT_EQ(transcript.back(), "scroll 4 dy=0 at 300.0,300.0");
    EXPECT_EQ(log, (Lines{"uu-touch-scroll-unavailable", "uu-touch-scroll-on", "uu-touch-tap-disabled session=false",
                          "uu-touch-scroll-off"}));
}

// Touch scrolling never on: stopping it, as every disconnection and the quit do, asks
// nothing of the host (not even where the pointer is) and logs nothing.
TEST_F(UUTouchScrollTest, StoppingWhatNeverStartedAsksNothingOfTheHost) {
    int pointerReads = 0;
    UUTouchScroll idle{{app->events(), processes, app->windowList(), scheduler, taps, logTo()},
                       {nullptr, nullptr, [&]() -> std::optional<Point> { return ++pointerReads, pointer; }, nullptr}};
    const auto accesses = store->actionLog().size();
    idle.stop();
    idle.stop();
    scheduler.runUntilIdle();
    EXPECT_EQ(pointerReads, 0);
    EXPECT_EQ(store->actionLog().size(), accesses);
    EXPECT_TRUE(log.empty());
    // On, with no touch under way: the tap goes, and still nothing is posted at the pointer.
    ASSERT_TRUE(idle.start());
    idle.stop();
    EXPECT_EQ(pointerReads, 0);
    EXPECT_EQ(log, (Lines{"uu-touch-scroll-on", "uu-touch-scroll-off"}));
}

// The program's main thread asks the event-tap thread to start and stop the translator and
// never waits for it: while another process holds the host's lock and the tap thread waits
// for the host (as it does to post a scroll or read the pointer), stop() and start() still
// return at once, and what they asked for is done once the host is free.
TEST(UUTouchScrollOverAFolderHost, TheMainThreadNeverWaitsForTheTapThreadsHostAccess) {
    testing::TemporaryFolder root("corvelle-touch-scroll");
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue mainQueue;
    dispatch::SerialQueue eventQueue("event-pipeline");
    auto app = host::SimulatedHost::openFolder(root.path(), processes::ProcessRole::application, clock, &mainQueue,
                                               &eventQueue);
    host::SimulatedHost::openFolder(root.path(), processes::ProcessRole::tool, clock)
        ->permissionsAdmin()
        .set(host::Permission::accessibility, true);
    auto& taps = EventTapThread::shared();
    std::mutex linesMutex;
    Lines lines;
    auto touch = std::make_unique<UUTouchScroll>(
        UUTouchScroll::Services{app->events(), app->processes(), app->windowList(), clock, taps,
                                [&](std::string_view line) {
                                    const std::lock_guard lock(linesMutex);
                                    lines.emplace_back(line);
                                }});
    bool started = false;
    for (int round = 0; round < 500 && !started; ++round) {
        started = touch->start();
        if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(started) << "the tap never went in";

    testing::HeldLock holder(root.path() / host::kLockFile, 8);
    ASSERT_TRUE(holder.held());
    std::atomic<bool> tapThreadWaits = false;
    taps.async([&] {
        tapThreadWaits = true;
        (void)app->events().createEvent(nullptr);
    });
    while (!tapThreadWaits) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto start = std::chrono::steady_clock::now();
    touch->stop();
    const bool again = touch->start();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 1.0) << "the main thread waited for the event-tap thread";
    EXPECT_FALSE(again) << "a start asked for after a stop answers what it came to only once it is served";

    holder.release();
    touch.reset();  // waits for the tap thread, which has the host again
    const std::lock_guard lock(linesMutex);
    EXPECT_EQ(lines, (Lines{"uu-touch-scroll-on", "uu-touch-scroll-off", "uu-touch-scroll-on", "uu-touch-scroll-off"}));
}

}  // namespace
}  // namespace dorvane
