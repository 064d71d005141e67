#include "Dorvane/Input/ShortcutEventRelay.h"
#include "Platform/Host/Admin/InputAdmin.h"
#include "tests/Dorvane/Input/InputHarness.h"

namespace dorvane {
namespace {

using events::Event;
using events::EventField;
using events::EventType;

class ShortcutEventRelayTest : public testing::InputHarness {
protected:
    std::vector<Event> batch(std::initializer_list<std::uint16_t> codes) {
        std::vector<Event> events;
        for (const auto code : codes) events.push_back(*app->events().createKeyboardEvent(nullptr, code, true));
        return events;
    }

    // The marker posts meet these rules in turn: the first is lost, the second arrives late.
    void markers(std::initializer_list<host::FaultAction> actions) {
        for (const auto action : actions) {
            host::FaultRule rule;
            rule.call = host::HostCall::eventPost;
            rule.name = "null";
            rule.action = action;
            rule.seconds = action == host::FaultAction::delay ? 0.15 : 0;
            rule.times = 1;
            tool->admin().addFault(rule);
        }
    }

    std::vector<std::string> keys() { return keysTo(pids["编辑器"]); }

    std::size_t deliveredNulls() const {
        std::size_t count = 0;
        for (const auto& record : app->hostEvents().delivered()) count += record.event.type == EventType::null ? 1 : 0;
        return count;
    }

    ShortcutEventRelay relay{{app->events(), scheduler.mainQueue(), logTo()}, 1000};
};

TEST_F(ShortcutEventRelayTest, EachBatchGoesOnWhenItsMarkerPassesTheTapAndTheMarkerIsSwallowed) {
    relay.prepare();
    ASSERT_TRUE(relay.tap());
    relay.post(batch({1, 2}));
    relay.post(batch({3}));
    EXPECT_EQ(relay.packets().size(), 2u);
    EXPECT_TRUE(keys().empty());
    scheduler.runUntilIdle();
    EXPECT_EQ(keys(), (std::vector<std::string>{"keyDown(1, 0x0)", "keyDown(2, 0x0)", "keyDown(3, 0x0)"}));
    EXPECT_EQ(logged("shortcut-relay-delivered"),
              (std::vector<std::string>{"shortcut-relay-delivered batches=1 fallback=false",
                                        "shortcut-relay-delivered batches=1 fallback=false"}));
    EXPECT_EQ(deliveredNulls(), 0u);
    EXPECT_EQ(app->hostEvents().delivered().front().entry, host::EntryPath::sessionTap);
    scheduler.advanceBy(1);
    EXPECT_TRUE(logged("shortcut-relay-timeout").empty());
}

TEST_F(ShortcutEventRelayTest, ALostMarkerIsCoveredByTheNextOneOrByItsTimeOut) {
    // The second marker arrives while the first batch waits: both go, in order, as one drain.
    markers({host::FaultAction::nothing});
    relay.prepare();
    relay.post(batch({1}));
    relay.post(batch({2}));
    scheduler.runUntilIdle();
    EXPECT_EQ(keys(), (std::vector<std::string>{"keyDown(1, 0x0)", "keyDown(2, 0x0)"}));
    EXPECT_EQ(logged("shortcut-relay-delivered"),
              (std::vector<std::string>{"shortcut-relay-delivered batches=2 fallback=false"}));

    // Now the second marker is late: the first batch goes alone at its time-out, straight to
    // the HID level, and the second still waits for its own marker.
    log.clear();
    markers({host::FaultAction::nothing, host::FaultAction::delay});
    relay.post(batch({3}));
    scheduler.advanceBy(0.1);
    relay.post(batch({4}));  // its marker comes 0.15 s late, before its own time-out
    scheduler.advanceBy(0.1);
    EXPECT_EQ(log, (std::vector<std::string>{"shortcut-relay-timeout",
                                             "shortcut-relay-delivered batches=1 fallback=true"}));
    EXPECT_EQ(keys().size(), 3u);
    EXPECT_EQ(app->hostEvents().delivered().back().entry, host::EntryPath::hid);
    scheduler.advanceBy(0.05);
    EXPECT_EQ(log.back(), "shortcut-relay-delivered batches=1 fallback=false");
    EXPECT_EQ(keys().back(), "keyDown(4, 0x0)");
}

TEST_F(ShortcutEventRelayTest, NullEventsOfOtherProcessesOrUnknownBatchesPassUntouched) {
    markers({host::FaultAction::nothing});
    relay.prepare();
    relay.post(batch({1}));
    ASSERT_EQ(relay.packets().size(), 1u);
    const auto pending = relay.packets().front().id;
    // Another process's marker with the pending id, from outside.
    ASSERT_TRUE(app->hostEvents().claimInputOwnership());
    host::InjectedEvent foreign;
    foreign.event.type = EventType::null;
    foreign.event.setField(EventField::sourceUnixProcessID, 4242);
    foreign.event.setField(EventField::sourceUserData, pending);
    ASSERT_TRUE(tool->inputAdmin().inject({foreign}));
    // And one of ours with an id nobody waits for.
    Event unknown = *app->events().createEvent(nullptr);
    unknown.setField(EventField::sourceUserData, pending + 7);
    app->events().post(events::TapLocation::session, unknown);
    scheduler.runUntilIdle();
    EXPECT_EQ(deliveredNulls(), 2u);
    EXPECT_EQ(relay.packets().size(), 1u);
    EXPECT_TRUE(keys().empty());
    scheduler.advanceBy(0.2);
    EXPECT_EQ(keys(), (std::vector<std::string>{"keyDown(1, 0x0)"}));
}

TEST_F(ShortcutEventRelayTest, ABatchPostedWithoutATapStillWaitsForTheBatchesBeforeIt) {
    relay.prepare();
    relay.post(batch({1}));  // its marker waits in the stream
    relay.invalidateTap();
    relay.post(batch({2}));
    scheduler.advanceBy(1);
    // The press may never come after its release: the first batch goes first.
    EXPECT_EQ(keys(), (std::vector<std::string>{"keyDown(1, 0x0)", "keyDown(2, 0x0)"}));
    EXPECT_EQ(logged("shortcut-relay-delivered"),
              (std::vector<std::string>{"shortcut-relay-delivered batches=1 fallback=true"}));
    EXPECT_EQ(deliveredNulls(), 1u);  // the orphaned marker passes where the tap was
}

TEST_F(ShortcutEventRelayTest, TheTapGoesOnceTheOwnerIsDoneUnlessAPrepareComesFirst) {
    relay.prepare();
    const auto tap = relay.tap();
    relay.post(batch({1}));
    relay.prepare();  // a batch waits: the tap stays
    EXPECT_EQ(relay.tap(), tap);
    relay.finishRequested = true;
    scheduler.runUntilIdle();
    EXPECT_FALSE(relay.tap());
    EXPECT_FALSE(tap->isValid());

    // A prepare between the last drain and its clean-up keeps the (new) tap.
    relay.prepare();
    const auto fresh = relay.tap();
    relay.post(batch({2}));
    relay.finishRequested = true;
    scheduler.runUntilIdle();
    EXPECT_FALSE(relay.tap());
    relay.prepare();
    relay.post(batch({3}));
    relay.finishRequested = true;
    auto& main = scheduler.mainQueue();
    // Drain, then a prepare slipped in before the deferred clean-up.
    main.post([this] { relay.prepare(); });
    scheduler.runUntilIdle();
    EXPECT_TRUE(relay.tap());
    EXPECT_FALSE(relay.finishRequested);
    EXPECT_NE(fresh, nullptr);
}

TEST_F(ShortcutEventRelayTest, WaitersGoOnWhenTheLastBatchIsDeliveredAndAtOnceWhenNoneWaits) {
    std::vector<std::string> trace;
    auto waiter = [](ShortcutEventRelay& relay, std::vector<std::string>& out, std::string name) -> dispatch::Task<> {
        co_await relay.waitUntilDelivered();
        out.push_back(name);
    };
    dispatch::spawn(scheduler.mainQueue(), waiter(relay, trace, "idle"));
    scheduler.runUntilIdle();
    EXPECT_EQ(trace, (std::vector<std::string>{"idle"}));

    relay.prepare();
    relay.post(batch({1}));
    relay.post(batch({2}));
    dispatch::spawn(scheduler.mainQueue(), waiter(relay, trace, "a"));
    dispatch::spawn(scheduler.mainQueue(), waiter(relay, trace, "b"));
    scheduler.runUntilIdle();
    EXPECT_EQ(trace, (std::vector<std::string>{"idle", "a", "b"}));
    EXPECT_EQ(keys().size(), 2u);
}

TEST_F(ShortcutEventRelayTest, WithoutAccessibilityThereIsNoTapAndBatchesGoStraightToTheHidLevel) {
    tool->permissionsAdmin().set(host::Permission::accessibility, false);
    relay.prepare();
    EXPECT_FALSE(relay.tap());
    EXPECT_EQ(log, (std::vector<std::string>{"shortcut-relay-unavailable"}));
    relay.post(batch({1, 2}));
    scheduler.runUntilIdle();
    EXPECT_EQ(keys().size(), 2u);
    EXPECT_TRUE(relay.packets().empty());
}

}  // namespace
}  // namespace dorvane
