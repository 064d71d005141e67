#include "Dorvane/Input/UUTouchScroll.h"
#include "DorvaneCore/Support/DecimalText.h"
#include "Platform/Host/InputAdmin.h"
#include "Platform/Host/ProcessTable.h"
#include "Platform/Host/RemoteApplications.h"
#include "tests/Dorvane/Input/InputHarness.h"

namespace dorvane {
namespace {

using events::Event;
using events::EventField;
using events::EventType;
using geometry::Point;
using Lines = std::vector<std::string>;
constexpr EventType down = EventType::leftMouseDown, drag = EventType::leftMouseDragged, up = EventType::leftMouseUp;

// Counts the path reads the translator makes.
struct CountingProcesses final : processes::ProcessServices {
    explicit CountingProcesses(processes::ProcessServices& inner) : inner(inner) {}
    std::optional<std::vector<pid_t>> allProcessIDs() override { return inner.allProcessIDs(); }
    std::optional<std::string> name(pid_t pid) override { return inner.name(pid); }
    std::optional<std::string> executablePath(pid_t pid) override {
        ++reads;
        return inner.executablePath(pid);
    }
    processes::ProcessServices& inner;
    int reads = 0;
};

// The translator on its own queue in virtual time, fed UU Remote's events; the transcript
// holds what it let through ("pass …") and, in order, what it posted once delivered.
class UUTouchScrollTest : public testing::InputHarness {
protected:
    void SetUp() override {
        InputHarness::SetUp();
        tool->remoteAdmin().connect(RemoteSoftware::uu);
        for (const auto& process : tool->remoteAdmin().state().processes.processes) {
            if (process.executable == host::remoteBundle(RemoteSoftware::uu).appExecutable) viewerPID = process.pid;
        }
    }

    void feed(EventType type, Point at, double after = 0.01, pid_t from = -1) {
        scheduler.advanceBy(after);
        collect();
        pointer = at;
        Event event;
        event.type = type;
        event.location = at;
        event.setField(EventField::sourceUnixProcessID, from == -1 ? viewerPID : from);
        if (!taps.sync([&] { return touch.handle(type, event); })) transcript.push_back("pass " + std::string(rawValue(type)));
        collect();
    }
    void tap(Point at, double after) {
        feed(down, at, after);
        feed(up, at, 0.05);
    }
    void collect() {
        scheduler.runUntilIdle();
        const auto delivered = app->hostEvents().delivered();
        for (; seen < delivered.size(); ++seen) {
            const auto& event = delivered[seen].event;
            EXPECT_EQ(event.field(EventField::sourceUserData), UUTouchScroll::kMarker);
            const auto at = " at (" + decimalText(event.location.x) + ", " + decimalText(event.location.y) + ")";
            if (event.type != EventType::scrollWheel) {
                transcript.push_back((event.type == down ? "down " : "up ") +
                                     std::to_string(event.field(EventField::clickState)) + at);
                continue;
            }
            EXPECT_EQ(event.field(EventField::scrollIsContinuous), 1);
            const auto phase = event.field(EventField::scrollPhase);
            transcript.push_back((phase != 0 ? "scroll " + std::to_string(phase)
                                             : "momentum " + std::to_string(event.field(EventField::momentumPhase))) +
                                 " dy=" + std::to_string(event.field(EventField::scrollDeltaAxis1)) + at);
            times.push_back(delivered[seen].at);
        }
    }
    Lines take() { return std::exchange(transcript, {}); }

    pid_t viewerPID = 0;
    CountingProcesses processes{app->processes()};
    dispatch::Executor& tapQueue = scheduler.makeSerialQueue("event-taps");
    EventTapThread taps{tapQueue};
    std::optional<Point> pointer;
    UUTouchScroll touch{{app->events(), processes, app->windowList(), scheduler, taps, logTo()},
                        {nullptr, nullptr, [this] { return pointer; }, nullptr}};
    std::size_t seen = 0;
    Lines transcript;
    std::vector<double> times;
};

TEST_F(UUTouchScrollTest, EachTouchBecomesAScrollAClickOrAHeldPress) {
    struct Step {
        EventType type;
        Point at;
        double after = 0.01;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Lines transcript;
    };
    const Case cases[] = {
        {"three 0.4 pt drags post nothing, nothing, 1",
         {{down, {100, 100}}, {drag, {100, 108}}, {drag, {100, 108.4}}, {drag, {100, 108.8}}, {drag, {100, 109.2}}},
         {"scroll 1 dy=0 at (100.0, 100.0)", "scroll 2 dy=8 at (100.0, 100.0)", "scroll 2 dy=1 at (100.0, 100.0)"}},
        {"one 3000 pt drag posts 2000",
         {{down, {100, 100}}, {drag, {100, 3100}}},
         {"scroll 1 dy=0 at (100.0, 100.0)", "scroll 2 dy=2000 at (100.0, 100.0)"}},
        {"upwards is negative, placed at the press; a slow release does not coast",
         {{down, {150, 500}}, {drag, {150, 480}}, {drag, {152, 479}, 0.2}, {up, {152, 479}, 0.2}},
         {"scroll 1 dy=0 at (150.0, 500.0)", "scroll 2 dy=-20 at (150.0, 500.0)", "scroll 2 dy=-1 at (150.0, 500.0)",
          "scroll 4 dy=0 at (150.0, 500.0)"}},
        {"a short tap that moved 5 pt is one click at the pointer",
         {{down, {100, 100}}, {drag, {103, 104}}, {up, {103, 104}, 0.2}},
         {"down 1 at (103.0, 104.0)", "up 1 at (103.0, 104.0)"}},
        {"released over 16 pt away: dropped", {{down, {100, 100}}, {up, {120, 100}, 0.1}}, {}},
        {"held still 0.4 s: the press is posted late and the drag passes",
         {{down, {100, 100}}, {drag, {101, 100}, 0.45}, {up, {101, 100}}},
         {"down 1 at (100.0, 100.0)", "pass leftMouseDragged", "pass leftMouseUp"}},
        {"small moves wait; the held press is posted where the pointer is",
         {{down, {100, 100}}, {drag, {104, 100}, 0.1}, {drag, {105, 100}, 0.35}},
         {"down 1 at (104.0, 100.0)", "pass leftMouseDragged"}},
    };
    for (const auto& c : cases) {
        for (const auto& step : c.steps) feed(step.type, step.at, step.after);
        EXPECT_EQ(take(), c.transcript) << c.name;
        feed(EventType::mouseMoved, {0, 0}, 1, 0);  // the local mouse ends whatever is left
        take();
    }
}

TEST_F(UUTouchScrollTest, QuickTapsCountUpToTripleClicksNearbyWithinTheInterval) {
    for (const auto& [x, after] : {std::pair(100.0, 0.0), {110, 0.1}, {120, 0.1}, {130, 0.1}, {146, 0.1}, {146, 0.6}}) {
        tap({x, 200}, after);
    }
    Lines downs;
    for (const auto& line : take()) {
        if (line.starts_with("down")) downs.push_back(line.substr(0, 6));
    }
    EXPECT_EQ(downs, (Lines{"down 1", "down 2", "down 3", "down 3", "down 1", "down 1"}));
}

TEST_F(UUTouchScrollTest, AFlickCoastsAtSixtyFramesASecondAndLocalInputStopsIt) {
    feed(down, {100, 500});
    for (int frame = 1; frame <= 6; ++frame) feed(drag, {100, 500 - 20.0 * frame}, 1.0 / 60);
    feed(up, {100, 380});
    scheduler.advanceBy(4);
    collect();
    const auto lines = take();
    const auto first = std::find(lines.begin(), lines.end(), "scroll 4 dy=0 at (100.0, 500.0)") + 1;
    ASSERT_LT(first, lines.end());
    const Lines momentum(first, lines.end());
    ASSERT_GT(momentum.size(), 3u);
    ASSERT_LE(momentum.size(), 181u);
    EXPECT_EQ(momentum.front(), "momentum 1 dy=-21 at (100.0, 500.0)");
    EXPECT_TRUE(momentum.back().starts_with("momentum 3 dy=0"));
    for (std::size_t i = 1; i + 1 < momentum.size(); ++i) EXPECT_TRUE(momentum[i].starts_with("momentum 2")) << i;
    const std::vector<double> coasting(times.end() - static_cast<std::ptrdiff_t>(momentum.size()), times.end());
    for (std::size_t i = 1; i < coasting.size(); ++i) EXPECT_NEAR(coasting[i] - coasting[i - 1], 1.0 / 60, 1e-6);

    // Coasting again: the local mouse stops it where it is; a held press owes its release there.
    feed(down, {100, 500});
    feed(drag, {100, 400});
    feed(drag, {100, 300});
    feed(up, {100, 300});
    scheduler.advanceBy(0.05);
    collect();
    take();
    feed(EventType::mouseMoved, {40, 40}, 0, 0);
    EXPECT_EQ(take(), (Lines{"pass mouseMoved", "momentum 3 dy=0 at (40.0, 40.0)"}));
    feed(down, {100, 100}, 0.01);
    feed(drag, {60, 60}, 0.45, 0);
    EXPECT_EQ(take(), (Lines{"down 1 at (100.0, 100.0)", "pass leftMouseDragged", "up 1 at (60.0, 60.0)"}));
}

TEST_F(UUTouchScrollTest, TheViewerIsKnownByItsPathReadOncePerProcess) {
    const pid_t other = tool->remoteAdmin().startProcess("Terminal", "/Applications/Terminal.app/Contents/MacOS/Terminal");
    const pid_t hidden = tool->remoteAdmin().startProcess("UURemote", "/Applications/UURemote.app/Contents/MacOS/UURemote");
    tool->remoteAdmin().setPathResolvable(hidden, false);
    for (const pid_t pid : {0, -5, viewerPID, other, hidden, viewerPID, other, hidden}) feed(down, {10, 10}, 0.01, pid);
    EXPECT_EQ(take(), (Lines{"pass leftMouseDown", "pass leftMouseDown", "pass leftMouseDown", "pass leftMouseDown",
                             "pass leftMouseDown", "pass leftMouseDown"}));
    EXPECT_EQ(processes.reads, 3);
    tool->remoteAdmin().setPathResolvable(hidden, true);
    feed(down, {10, 10}, 0.01, hidden);  // the answer is never refreshed
    EXPECT_EQ(take(), (Lines{"pass leftMouseDown"}));
    for (int i = 0; i < 62; ++i) feed(EventType::mouseMoved, {10, 10}, 0, host::kFirstSimulatedPID + 1000 + i);
    EXPECT_EQ(taps.sync([&] { return touch.cachedProcessCount(); }), 65u);
    feed(EventType::mouseMoved, {10, 10}, 0, host::kFirstSimulatedPID + 999);
    EXPECT_EQ(taps.sync([&] { return touch.cachedProcessCount(); }), 1u);
}

TEST_F(UUTouchScrollTest, ThroughThePipelineStartStopAndADisabledTap) {
    app->hostEvents().claimInputOwnership();
    refuseNextTap();
    EXPECT_FALSE(touch.start());
    EXPECT_TRUE(touch.start());
    EXPECT_TRUE(touch.start());
    // The viewer's finger from outside, released or still down.
    auto finger = [&](std::vector<Point> points, bool release) {
        std::vector<host::InjectedEvent> injected;
        for (std::size_t i = 0; i < points.size(); ++i) {
            host::InjectedEvent one;
            one.offset = 0.01 * static_cast<double>(i);
            one.event.type = i == 0 ? down : (release && i + 1 == points.size() ? up : drag);
            one.event.location = points[i];
            one.event.setField(EventField::sourceUnixProcessID, viewerPID);
            injected.push_back(one);
        }
        tool->inputAdmin().inject(injected);
        scheduler.advanceBy(0.5);
        collect();
    };
    finger({{150, 500}, {150, 480}, {150, 460}, {150, 460}}, true);
    EXPECT_EQ(Lines(transcript.begin(), transcript.begin() + 4),
              (Lines{"scroll 1 dy=0 at (150.0, 500.0)", "scroll 2 dy=-20 at (150.0, 500.0)",
                     "scroll 2 dy=-20 at (150.0, 500.0)", "scroll 4 dy=0 at (150.0, 500.0)"}));
    EXPECT_TRUE(transcript.back().starts_with("momentum 2"));  // still coasting; no viewer event got through

    // Switched off by the system: the scroll under way ends at the pointer and the tap is back at once.
    finger({{150, 500}, {150, 480}}, false);
    pointer = Point{150, 480};
    app->hostEvents().disableTaps(host::TapDisabling::timeout);
    collect();
    EXPECT_EQ(transcript.back(), "scroll 4 dy=0 at (150.0, 480.0)");
    finger({{150, 500}, {150, 520}}, false);
    EXPECT_EQ(transcript.back(), "scroll 2 dy=20 at (150.0, 500.0)");
    pointer = Point{300, 300};
    touch.stop();
    touch.stop();
    collect();
    EXPECT_EQ(transcript.back(), "scroll 4 dy=0 at (300.0, 300.0)");
    EXPECT_EQ(log, (Lines{"uu-touch-scroll-unavailable", "uu-touch-scroll-on", "uu-touch-tap-disabled session=false",
                          "uu-touch-scroll-off"}));
}

TEST_F(UUTouchScrollTest, APressOnTheProgramsOwnWindowPassesWithEverythingUpToItsRelease) {
    UUTouchScroll own{{app->events(), processes, app->windowList(), scheduler, taps, logTo()}};
    app->ownWindows().registerApplication("Corvelle", "local.corvelle");
    app->ownWindows().addWindow({"设置", {200, 200, 400, 300}, true, 0, true});
    EXPECT_TRUE(UUTouchScroll::ownWindowContains(app->windowList(), app->process().pid, {300, 300}));
    EXPECT_FALSE(UUTouchScroll::ownWindowContains(app->windowList(), app->process().pid, {100, 100}));
    for (const auto& [type, at] : {std::pair(down, Point{300, 300}), {drag, {300, 280}}, {up, {300, 280}}}) {
        Event event;
        event.type = type;
        event.location = at;
        event.setField(EventField::sourceUnixProcessID, viewerPID);
        EXPECT_FALSE(taps.sync([&] { return own.handle(type, event); })) << rawValue(type);
    }
}

}  // namespace
}  // namespace dorvane
