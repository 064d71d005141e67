#include <map>
#include <string>
#include <vector>

#include "Platform/Host/Services/HostEvents.h"
#include "tests/Platform/Host/WindowHostSupport.h"

namespace dorvane::host {
namespace {

using events::Event;
using events::EventField;
using events::EventType;
using events::TapLocation;
using events::TapOptions;
using events::TapPlacement;

constexpr auto kHead = TapPlacement::headInsert;
constexpr auto kTail = TapPlacement::tailAppend;
const events::EventMask kKeys = events::maskOf(EventType::keyDown, EventType::keyUp);

// The desk in memory, the program's event stream on its main queue, Accessibility granted.
class EventStreamTest : public WindowHostTest {
protected:
    void SetUp() override {
        WindowHostTest::SetUp();
        admin().reset(WindowsFixture::desk);
        for (const auto& application : admin().view().applications) pids[application.name] = application.pid;
    }

    events::EventServices& stream() { return app->events(); }

    Event key(std::uint16_t code, bool down = true) {
        auto event = stream().createKeyboardEvent(nullptr, code, down);
        EXPECT_TRUE(event);
        return event.value_or(Event{});
    }

    Event mouse(EventType type, geometry::Point point) {
        auto event = stream().createMouseEvent(nullptr, type, point, events::MouseButton::left);
        EXPECT_TRUE(event);
        return event.value_or(Event{});
    }

    // A tap that writes "<name> <type> <code>" for each call and answers with `answer`
    // (the event unchanged when none is given).
    std::shared_ptr<events::EventTap> tap(const std::string& name, TapLocation location, TapPlacement placement,
                                          events::EventMask mask = kKeys,
                                          std::function<std::optional<Event>(const events::TapProxy&, const Event&)>
                                              answer = nullptr,
                                          dispatch::Executor* executor = nullptr) {
        auto made = stream().createTap(
            location, placement, TapOptions::active, mask,
            [this, name, answer](const events::TapProxy& proxy, EventType type, const Event& event) -> std::optional<Event> {
                calls.push_back(name + " " + std::string(rawValue(type)) + " " + std::to_string(event.keyCode()));
                return answer ? answer(proxy, event) : std::optional<Event>(event);
            },
            executor ? *executor : scheduler.mainQueue());
        EXPECT_TRUE(made) << name;
        return made;
    }

    // "<type> <code> to <pid> via <entry>" of what this process delivered since the last call.
    std::vector<std::string> delivered() {
        std::vector<std::string> lines;
        const auto all = app->hostEvents().delivered();
        for (std::size_t index = seen; index < all.size(); ++index) {
            const auto& record = all[index];
            lines.push_back(std::string(rawValue(record.event.type)) + " " + std::to_string(record.event.keyCode()) +
                            " to " + (record.receiver ? std::to_string(*record.receiver) : "none") + " via " +
                            std::string(rawValue(record.entry)));
        }
        seen = all.size();
        return lines;
    }

    std::map<std::string, pid_t> pids;
    std::vector<std::string> calls;
    std::size_t seen = 0;
};

TEST_F(EventStreamTest, TapsRunHidThenSessionHeadsNewestFirstThenTailsInOrderEachOnItsMask) {
    const auto tailA = tap("hid-tail-A", TapLocation::hid, kTail);
    const auto headB = tap("hid-head-B", TapLocation::hid, kHead);
    const auto tailC = tap("hid-tail-C", TapLocation::hid, kTail);
    const auto headD = tap("hid-head-D", TapLocation::hid, kHead);
    const auto session = tap("session-tail-E", TapLocation::session, kTail);
    const auto mice = tap("hid-mice", TapLocation::hid, kHead, events::maskOf(EventType::leftMouseDown));
    const pid_t editor = pids["编辑器"];

    stream().post(TapLocation::hid, key(40));
    stream().post(TapLocation::session, key(41));
    EXPECT_TRUE(stream().postToProcess(pids["终端"], key(42)));
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "hid-head-D keyDown 40", "hid-head-B keyDown 40", "hid-tail-A keyDown 40",
                         "hid-tail-C keyDown 40", "session-tail-E keyDown 40", "session-tail-E keyDown 41"}));
    // Posting to a process passes no tap and is delivered at once, ahead of the queued ones.
    EXPECT_EQ(delivered(), (std::vector<std::string>{"keyDown 42 to " + std::to_string(pids["终端"]) + " via pid",
                                                     "keyDown 40 to " + std::to_string(editor) + " via hid",
                                                     "keyDown 41 to " + std::to_string(editor) + " via session"}));
    // Every event carries who posted it.
    EXPECT_EQ(app->hostEvents().delivered().back().event.sourcePID(), app->process().pid);

    // An invalidated tap is passed by; a disabled one too, until enabled again.
    headD->invalidate();
    tailA->setEnabled(false);
    calls.clear();
    stream().post(TapLocation::hid, key(40));
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{"hid-head-B keyDown 40", "hid-tail-C keyDown 40",
                                               "session-tail-E keyDown 40"}));
    tailA->setEnabled(true);
    EXPECT_TRUE(tailA->isEnabled());
    EXPECT_FALSE(headD->isValid());
}

TEST_F(EventStreamTest, WhatATapPostsThroughItsProxyContinuesRightAfterItAheadOfLaterPosts) {
    // The first tap swallows key 40 and posts 50 and 51 in its place; later taps see them
    // before key 41, posted while the first tap was answering; the first tap never does.
    const auto swapper = tap("swapper", TapLocation::session, kTail, kKeys, [this](const events::TapProxy& proxy, const Event& event) {
        if (event.keyCode() != 40) return std::optional<Event>(event);
        stream().postFromTap(proxy, key(50));
        stream().postFromTap(proxy, key(51));
        stream().post(TapLocation::session, key(41));
        return std::optional<Event>();
    });
    const auto watcher = tap("watcher", TapLocation::session, kTail);
    stream().post(TapLocation::session, key(40));
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{"swapper keyDown 40", "watcher keyDown 50", "watcher keyDown 51",
                                               "swapper keyDown 41", "watcher keyDown 41"}));
    const auto lines = delivered();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 10), "keyDown 50");
    EXPECT_NE(lines[0].find("via session-tap"), std::string::npos);
    EXPECT_NE(lines[2].find("keyDown 41"), std::string::npos);
}

TEST_F(EventStreamTest, TheMouseMovesThePointerBeforeAnyTapAndReachesTheWindowUnderIt) {
    std::optional<geometry::Point> seenByTap;
    const auto pointer = tap("pointer", TapLocation::hid, kHead, events::maskOf(EventType::leftMouseDown, EventType::leftMouseUp),
        [this, &seenByTap](const events::TapProxy&, const Event& event) {
            if (event.type == EventType::leftMouseDown) seenByTap = app->pointer().location();
            return std::optional<Event>(event);
        });
    // Only the terminal is under (1300, 850).
    stream().post(TapLocation::hid, mouse(EventType::leftMouseDown, {1300, 850}));
    stream().post(TapLocation::hid, mouse(EventType::leftMouseUp, {1300, 850}));
    scheduler.runUntilIdle();
    EXPECT_EQ(seenByTap, (geometry::Point{1300, 850}));
    const auto records = app->hostEvents().delivered();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].receiver, pids["终端"]);
    EXPECT_EQ(records[0].window, 2u);
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, pids["终端"]);
    EXPECT_EQ(app->pointer().pressedButtons(), 0u);
    // The host keeps the record too.
    EXPECT_EQ(store->deliveredEvents().read().size(), 2u);
}

// An executor whose jobs wait until the test lets them run: a busy thread.
class HeldExecutor final : public dispatch::Executor {
public:
    void post(dispatch::Job job) override { jobs_.push_back(std::move(job)); }
    dispatch::TimerHandle postAfter(double, dispatch::Job job) override {
        post(std::move(job));
        return {};
    }
    bool isCurrent() const override { return running_; }
    const std::string& label() const override { return label_; }
    void reportUnhandled(std::exception_ptr failure) noexcept override {
        ADD_FAILURE() << "unhandled on " << label_ << ": " << dispatch::failureText(failure);
    }
    void release() {
        running_ = true;
        for (std::size_t index = 0; index < jobs_.size(); ++index) jobs_[index]();
        jobs_.clear();
        running_ = false;
    }

private:
    std::vector<dispatch::Job> jobs_;
    bool running_ = false;
    std::string label_ = "local.Dorvane.held";
};

TEST_F(EventStreamTest, AnUnansweredTapIsSwitchedOffAfterASecondAndToldSoLater) {
    HeldExecutor busy;
    std::vector<std::string> told;
    auto stalled = stream().createTap(
        TapLocation::session, kTail, TapOptions::active, kKeys,
        [&](const events::TapProxy&, EventType type, const Event&) -> std::optional<Event> {
            told.push_back(std::string(rawValue(type)));
            return std::nullopt;
        },
        busy);
    ASSERT_TRUE(stalled);
    stream().post(TapLocation::session, key(40));
    scheduler.advanceBy(0.999);
    EXPECT_TRUE(delivered().empty());  // still waiting for the answer
    scheduler.advanceBy(0.001);
    const auto lines = delivered();
    ASSERT_EQ(lines.size(), 1u);  // passed on unchanged at one second
    EXPECT_EQ(lines[0].substr(0, 10), "keyDown 40");
    EXPECT_FALSE(stalled->isEnabled());
    EXPECT_TRUE(told.empty());
    busy.release();  // the thread gets to it: a switched-off tap is not called, only told
    scheduler.runUntilIdle();
    EXPECT_EQ(told, (std::vector<std::string>{"tapDisabledByTimeout"}));
    EXPECT_TRUE(delivered().empty());
    // Switched off, it no longer holds the stream up.
    stream().post(TapLocation::session, key(41));
    scheduler.runUntilIdle();
    EXPECT_EQ(delivered().size(), 1u);
}

TEST_F(EventStreamTest, WithdrawingAccessibilityDisablesActiveTapsWhichCannotComeBackUntilGranted) {
    std::vector<std::string> told;
    std::shared_ptr<events::EventTap> relay;
    relay = stream().createTap(TapLocation::session, kTail, TapOptions::active, kKeys,
                               [&](const events::TapProxy&, EventType type, const Event& event) {
                                   told.push_back(std::string(rawValue(type)));
                                   if (type == EventType::tapDisabledByUserInput) relay->setEnabled(true);
                                   return std::optional<Event>(event);
                               },
                               scheduler.mainQueue());
    ASSERT_TRUE(relay);
    tool->permissionsAdmin().set(Permission::accessibility, false);
    scheduler.runUntilIdle();
    // Told once; its re-enabling fails, so no second notice follows.
    EXPECT_EQ(told, (std::vector<std::string>{"tapDisabledByUserInput"}));
    EXPECT_FALSE(relay->isEnabled());
    EXPECT_FALSE(stream().createTap(TapLocation::session, kTail, TapOptions::active, kKeys,
                                    [](const events::TapProxy&, EventType, const Event& e) { return std::optional(e); },
                                    scheduler.mainQueue()));
    stream().post(TapLocation::session, key(40));
    scheduler.runUntilIdle();
    EXPECT_EQ(told.size(), 1u);

    tool->permissionsAdmin().set(Permission::accessibility, true);
    relay->setEnabled(true);
    EXPECT_TRUE(relay->isEnabled());
    stream().post(TapLocation::session, key(40));
    scheduler.runUntilIdle();
    EXPECT_EQ(told.back(), "keyDown");

    // Without the right to post events, nothing is posted.
    tool->permissionsAdmin().set(Permission::postEvents, false);
    EXPECT_FALSE(stream().canPostEvents());
    delivered();
    stream().post(TapLocation::session, key(40));
    scheduler.runUntilIdle();
    EXPECT_TRUE(delivered().empty());
}

TEST_F(EventStreamTest, FaultRulesDelayPostsWithoutTheirPosterWaitingAndRefuseCreation) {
    FaultRule late;
    late.call = HostCall::eventPost;
    late.name = "key";
    late.action = FaultAction::delay;
    late.seconds = 0.5;
    late.times = 1;
    tool->admin().addFault(late);
    const double before = scheduler.now();
    stream().post(TapLocation::session, key(40));
    stream().post(TapLocation::session, mouse(EventType::mouseMoved, {10, 10}));
    EXPECT_EQ(scheduler.now(), before);
    scheduler.runUntilIdle();
    EXPECT_EQ(delivered().size(), 1u);  // the move
    scheduler.advanceBy(0.5);
    EXPECT_EQ(delivered().size(), 1u);  // the key, late

    FaultRule refuse;
    refuse.call = HostCall::eventCreate;
    refuse.name = "scroll";
    refuse.action = FaultAction::nothing;
    tool->admin().addFault(refuse);
    EXPECT_FALSE(stream().createScrollWheelEvent(nullptr, events::ScrollUnit::pixel, 1, 5, 0, 0));
    EXPECT_TRUE(stream().createEvent(nullptr));
    refuse.call = HostCall::tapCreate;
    refuse.name.reset();
    tool->admin().addFault(refuse);
    EXPECT_FALSE(stream().createTap(TapLocation::hid, kHead, TapOptions::listenOnly, kKeys,
                                    [](const events::TapProxy&, EventType, const Event& e) { return std::optional(e); },
                                    scheduler.mainQueue()));
}

TEST_F(EventStreamTest, InputFromOutsideGoesThroughTheOwnersTapsAtItsOffsetsOrPastEveryTapWithoutOwner) {
    const auto ownerTap = tap("owner-tap", TapLocation::hid, kHead);
    auto& input = tool->inputAdmin();
    InjectedEvent first;
    first.event.type = EventType::keyDown;
    first.event.setField(EventField::keyCode, 40);
    InjectedEvent second = first;
    second.offset = 0.3;
    second.event.setField(EventField::keyCode, 41);

    // Nobody owns the input: delivered by the tool, past every tap.
    EXPECT_FALSE(input.inject({first}));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(store->deliveredEvents().read().back().receiver, pids["编辑器"]);

    ASSERT_TRUE(app->hostEvents().claimInputOwnership());
    const auto id = input.inject({first, second});
    ASSERT_TRUE(id);
    scheduler.runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{"owner-tap keyDown 40"}));
    EXPECT_EQ(input.state(*id), Injection::State::picked);
    scheduler.advanceBy(0.3);
    EXPECT_EQ(calls.back(), "owner-tap keyDown 41");
    EXPECT_EQ(input.state(*id), Injection::State::handled);
    EXPECT_EQ(app->hostEvents().delivered().back().event.sourcePID(), 0);  // the hardware's

    // Another process cannot take it while the owner lives; it can once the owner has ended.
    SimulatedHost other(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
    EXPECT_FALSE(other.hostEvents().claimInputOwnership());
    store->endProcess(app->process());
    EXPECT_TRUE(other.hostEvents().claimInputOwnership());
    EXPECT_EQ(input.owner(), other.process());
}

TEST_F(EventStreamTest, MonitorsSeeWhatReachesOthersAndTheProgramsWindowsWhatReachesThem) {
    std::vector<std::string> monitored;
    auto monitor = app->pointer().addGlobalMonitor(
        events::maskOf(EventType::mouseMoved, EventType::scrollWheel, EventType::leftMouseDown),
        [&](const Event& event) { monitored.push_back(std::string(rawValue(event.type))); });
    std::vector<std::string> own;
    auto ownEvents = app->ownWindows().observeEvents(
        [&](const Event& event, std::uint32_t window) { own.push_back(std::string(rawValue(event.type)) + " " + std::to_string(window)); });
    app->ownWindows().registerApplication("Corvelle", "local.corvelle");
    const auto settings = app->ownWindows().addWindow({"设置", {1250, 600, 200, 200}, true, 0, true});

    stream().post(TapLocation::hid, mouse(EventType::mouseMoved, {100, 300}));           // the browser
    auto wheel = stream().createScrollWheelEvent(nullptr, events::ScrollUnit::pixel, 1, -3, 0, 0);
    ASSERT_TRUE(wheel);
    wheel->location = {1300, 650};                                                        // the program's window
    stream().post(TapLocation::hid, *wheel);
    stream().post(TapLocation::hid, mouse(EventType::leftMouseDown, {1300, 650}));
    stream().post(TapLocation::hid, mouse(EventType::leftMouseDown, {100, 300}));
    scheduler.runUntilIdle();
    EXPECT_EQ(monitored, (std::vector<std::string>{"mouseMoved", "leftMouseDown"}));
    EXPECT_EQ(own, (std::vector<std::string>{"scrollWheel " + std::to_string(settings),
                                             "leftMouseDown " + std::to_string(settings)}));
}

TEST_F(EventStreamTest, ActivationCanTakeItsTimeOrNeverFinish) {
    admin().behaveApplication(pids["终端"], [](auto& a) { a.activationDelay = 0.1; });
    admin().behaveApplication(pids["浏览器"], [](auto& a) { a.activationNever = true; });
    auto frontmost = [this] { return app->applicationWorkspace().frontmostApplication()->pid; };
    EXPECT_TRUE(app->applicationWorkspace().activate(pids["终端"]));
    scheduler.advanceBy(0.099);
    EXPECT_EQ(frontmost(), pids["编辑器"]);
    scheduler.advanceBy(0.001);
    EXPECT_EQ(frontmost(), pids["终端"]);
    EXPECT_TRUE(app->applicationWorkspace().activate(pids["浏览器"]));
    scheduler.advanceBy(60);
    EXPECT_EQ(frontmost(), pids["终端"]);
    EXPECT_EQ(stream().doubleClickInterval(), 0.5);
}

// Keys go to the window that has the keyboard, as a window system sends them: a panel of
// the program made key takes them while the user's application stays in front, until it
// stops showing or another window is made key; a minimised window never has them; with the
// session resigned nobody has.
TEST_F(EventStreamTest, KeysGoToTheKeyWindowAndAPanelMadeKeyTakesThemWhileItsApplicationStaysBehind) {
    auto& own = app->ownWindows();
    own.registerApplication("Corvelle", "local.corvelle");
    const pid_t program = app->process().pid;
    const auto settings = own.addWindow({"设置", {1250, 600, 200, 200}, true, 0, true});
    const auto panel = own.addWindow({"Corvelle 应用", {1300, 100, 100, 400}, false, 3, true});
    std::vector<workspace::OwnActivation> heard;
    auto observation = own.observeActivation([&](const workspace::OwnActivation& now) { heard.push_back(now); });
    // Who the next key reaches: its application and window.
    auto keyGoesTo = [this] {
        stream().post(TapLocation::hid, key(0));
        scheduler.runUntilIdle();
        const auto record = app->hostEvents().delivered().back();
        return std::pair(record.receiver.value_or(0), record.window);
    };
    auto frontmost = [this] { return admin().view().frontmost.value_or(0); };
    const std::uint32_t notes = 5;
    const std::uint32_t terminalWindow = 2;
    ASSERT_EQ(keyGoesTo(), std::pair(pids["编辑器"], notes));

    EXPECT_TRUE(own.makeKey(panel));
    EXPECT_EQ(keyGoesTo(), std::pair(program, panel));
    EXPECT_EQ(frontmost(), pids["编辑器"]);
    EXPECT_EQ(own.activation(), (workspace::OwnActivation{false, panel}));
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), (workspace::OwnActivation{false, panel}));
    EXPECT_TRUE(own.updateWindow(panel, {"Corvelle 应用", {1300, 100, 100, 400}, false, 3, false}));  // closes
    EXPECT_EQ(keyGoesTo(), std::pair(pids["编辑器"], notes));
    EXPECT_EQ(heard.back(), (workspace::OwnActivation{false, std::nullopt}));

    // A click on the frontmost application's own window takes the keyboard back, as does
    // another application coming forward.
    EXPECT_TRUE(own.updateWindow(panel, {"Corvelle 应用", {1300, 100, 100, 400}, false, 3, true}));
    own.makeKey(panel);
    admin().click({500, 300}, std::nullopt);
    EXPECT_EQ(keyGoesTo(), std::pair(pids["编辑器"], notes));
    own.makeKey(panel);
    admin().focus(terminalWindow);
    EXPECT_EQ(keyGoesTo(), std::pair(pids["终端"], terminalWindow));
    own.makeKey(panel);
    admin().setHidden(program, true);
    EXPECT_EQ(keyGoesTo(), std::pair(pids["终端"], terminalWindow));
    admin().setHidden(program, false);

    // Frontmost, the program's key window has the keys, and a panel made key is simply its
    // key window; minimised, no window of the program has them and a panel closing gives
    // none back to a window that does not show.
    EXPECT_TRUE(own.activateWindow(settings));
    EXPECT_EQ(keyGoesTo(), std::pair(program, settings));
    own.makeKey(panel);
    EXPECT_EQ(keyGoesTo(), std::pair(program, panel));
    EXPECT_EQ(own.activation(), (workspace::OwnActivation{true, panel}));
    own.activateWindow(settings);
    admin().setMinimised(settings, true);
    EXPECT_EQ(keyGoesTo(), std::pair(program, 0u));
    EXPECT_EQ(own.activation(), (workspace::OwnActivation{true, std::nullopt}));
    EXPECT_TRUE(own.makeKey(settings));  // does not show: stays as it is
    EXPECT_EQ(keyGoesTo(), std::pair(program, 0u));
    EXPECT_FALSE(own.makeKey(terminalWindow)) << "not the program's";

    admin().focus(settings);
    EXPECT_EQ(keyGoesTo(), std::pair(program, settings));
    admin().post(JournalEvent::sessionResigned);
    EXPECT_EQ(keyGoesTo(), std::pair(0, 0u));
    EXPECT_EQ(frontmost(), 0);
    EXPECT_EQ(heard.back(), (workspace::OwnActivation{false, std::nullopt}));
}

// With the stream on a queue of its own, as in the program, input from outside that reaches
// the program's window is answered as handled only once the program has had it: Escape that
// closes a panel holding the keyboard over the user's application is answered with the
// keyboard back with that application, so the key typed next goes there however soon.
TEST_F(EventStreamTest, InputReachingTheProgramIsAnsweredOnceTheProgramHasHadIt) {
    SimulatedHost program(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue(), nullptr, {},
                          &scheduler.makeSerialQueue("event-pipeline"));
    auto& own = program.ownWindows();
    own.registerApplication("Corvelle", "local.corvelle");
    const workspace::OwnWindow shown{"Corvelle 分辨率", {912, 38, 528, 466}, false, 3, true};
    const auto panel = own.addWindow(shown);
    ASSERT_TRUE(own.makeKey(panel));
    const std::uint16_t escapeKey = 53;
    auto closing = own.observeEvents([&](const Event& event, std::uint32_t window) {
        if (window != panel || event.type != EventType::keyDown || event.keyCode() != escapeKey) return;
        auto closed = shown;
        closed.onScreen = false;
        own.updateWindow(panel, closed);
    });
    ASSERT_TRUE(program.hostEvents().claimInputOwnership());

    auto& input = tool->inputAdmin();
    auto typed = [](std::uint16_t code) {
        InjectedEvent down;
        down.event.type = EventType::keyDown;
        down.event.setField(EventField::keyCode, code);
        InjectedEvent up = down;
        up.event.type = EventType::keyUp;
        return std::vector<InjectedEvent>{down, up};
    };
    // The window with the keyboard at the moment the answer reaches the host.
    std::optional<std::uint64_t> escape;
    std::optional<std::uint32_t> keyWindowWhenAnswered;
    auto watch = store->subscribe([&](const HostPulse&) {
        if (!escape || keyWindowWhenAnswered || input.state(*escape) != Injection::State::handled) return;
        keyWindowWhenAnswered = admin().view().keyWindow;
    });
    escape = input.inject(typed(escapeKey));
    ASSERT_TRUE(escape);
    scheduler.runUntilIdle();
    const std::uint32_t notes = 5;
    EXPECT_EQ(keyWindowWhenAnswered, notes);
    EXPECT_EQ(program.hostEvents().delivered().back().window, panel) << "Escape itself went to the panel";

    ASSERT_TRUE(input.inject(typed(0)));
    scheduler.runUntilIdle();
    EXPECT_EQ(program.hostEvents().delivered().back().receiver, pids["编辑器"]);
}

}  // namespace
}  // namespace dorvane::host
