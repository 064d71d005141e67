#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

using dispatch::SimulatedScheduler;

// The program's store: another program takes the lock while `held` is set (as the store
// inside does), or right after the program's next few accesses got through.
class HoldingHostStore final : public testing::RefusingHostStore {
public:
    using RefusingHostStore::RefusingHostStore;

    void hold() { held = true; }
    void release() { held = false; }
};

// The program on a host whose lock another program can hold without changing anything (a
// quiet hold: no watcher tells of it, no later change comes), and a person at the machine
// who changes the host meanwhile.
struct QuietHold {
    SimulatedScheduler scheduler{100.0};
    std::shared_ptr<MemoryHostStore> inner = std::make_shared<MemoryHostStore>(makeFixture(HostFixture::laptopExternal));
    std::shared_ptr<HoldingHostStore> store = std::make_shared<HoldingHostStore>(inner);
    SimulatedHost app{store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue()};
    SimulatedHost tool{inner, processes::ProcessRole::tool, scheduler};

    // Lets a hold run out, then gives the program the longest gap between its tries.
    void releaseAndWait() {
        store->release();
        scheduler.advanceBy(HostCatchUp::longestDelaySeconds + 0.1);
    }

    // An active tap of the program's on key presses, which lets every press through.
    std::shared_ptr<events::EventTap> keyTap() {
        return app.events().createTap(
            events::TapLocation::session, events::TapPlacement::tailAppend, events::TapOptions::active,
            events::maskOf(events::EventType::keyDown),
            [](const events::TapProxy&, events::EventType, const events::Event& event) {
                return std::optional<events::Event>(event);
            },
            scheduler.mainQueue());
    }
};

// A display change the host makes at its own time, falling due while another program holds
// the lock quietly, is announced within two seconds of the release; so is one due while
// the first look at the displays was turned away; and a reader answered no screens during
// a hold is told once there are screens again. Each once.
TEST(HostReadersCatchUp, ScreensAnnounceWhatAQuietHoldKeptFromThem) {
    QuietHold host;
    int calls = 0;
    auto observation = host.app.screens().observeScreenParameters([&calls] { ++calls; });
    host.scheduler.runUntilIdle();
    host.tool.admin().schedule(PlugAction::unplug, "external", 0.5);
    host.scheduler.advanceBy(0.2);
    host.store->hold();
    host.scheduler.advanceBy(2.0);  // due at 0.5
    EXPECT_EQ(calls, 0);
    host.releaseAndWait();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(host.app.screens().screens().size(), 1U);

    host.store->hold();
    EXPECT_TRUE(host.app.screens().screens().empty());
    host.scheduler.advanceBy(30);
    EXPECT_EQ(calls, 1);
    host.releaseAndWait();
    EXPECT_EQ(calls, 2);
    host.scheduler.advanceBy(10);
    EXPECT_EQ(calls, 2);

    // Watching begins during a hold, with a plug already due.
    observation.cancel();
    host.tool.admin().schedule(PlugAction::plug, "external", 1);
    host.store->hold();
    observation = host.app.screens().observeScreenParameters([&calls] { ++calls; });
    host.scheduler.advanceBy(3);
    EXPECT_EQ(calls, 2);
    host.releaseAndWait();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(host.app.screens().screens().size(), 2U);
}

// Every reader of the host that a quiet hold turned away reads once the hold is over, and
// every answer the program owed the host is given then: nothing waits for a later change.
TEST(HostReadersCatchUp, WhatAQuietHoldTurnedAwayReachesTheProgramOrTheHostAfterIt) {
    struct Reader {
        std::string name;
        // Watches (before the hold); then, during or just before it, the change to be seen.
        std::function<std::function<bool()>(QuietHold&, std::vector<dispatch::Observation>&)> watchAndChange;
    };
    const auto injection = [] {
        InjectedEvent key;
        key.event.type = events::EventType::keyDown;
        key.event.setField(events::EventField::keyCode, 40);
        return std::vector<InjectedEvent>{key};
    };
    const std::vector<Reader> readers{
        {"an application launched",
         [](QuietHold& host, std::vector<dispatch::Observation>& kept) {
             auto launched = std::make_shared<bool>(false);
             kept.push_back(host.app.workspace().observeRunningApplications(
                 [launched](const auto& before, const auto& after) { *launched = after.size() > before.size(); }));
             host.store->hold();
             host.tool.remoteAdmin().connect(RemoteSoftware::uu);
             return [launched] { return *launched; };
         }},
        {"the appearance",
         [](QuietHold& host, std::vector<dispatch::Observation>& kept) {
             auto dark = std::make_shared<bool>(false);
             kept.push_back(host.app.appearance().observe(host.scheduler.mainQueue(), [dark](const auto& settings) {
                 *dark = settings.style == system::InterfaceStyle::dark;
             }));
             host.store->hold();
             host.tool.systemAdmin().setInterfaceStyle(system::InterfaceStyle::dark);
             return [dark] { return *dark; };
         }},
        {"the appearance, first looked at during the hold",
         [](QuietHold& host, std::vector<dispatch::Observation>& kept) {
             host.tool.systemAdmin().setInterfaceStyle(system::InterfaceStyle::dark);  // before the hold
             host.store->hold();
             auto dark = std::make_shared<bool>(false);
             kept.push_back(host.app.appearance().observe(host.scheduler.mainQueue(), [dark](const auto& settings) {
                 *dark = settings.style == system::InterfaceStyle::dark;
             }));
             return [dark] { return *dark; };
         }},
        {"a second start's reopen request",
         [](QuietHold& host, std::vector<dispatch::Observation>& kept) {
             auto told = std::make_shared<int>(0);
             kept.push_back(host.app.distributedNotifications().addObserver(
                 "local.Dorvane.reopen", host.scheduler.mainQueue(), [told](const auto&) { ++*told; }));
             host.store->hold();
             host.tool.systemAdmin().post({"local.Dorvane.reopen", std::nullopt, std::nullopt});
             return [told] { return *told == 1; };
         }},
        {"a power assertion whose holder ends after the hold",
         [](QuietHold& host, std::vector<dispatch::Observation>&) {
             auto calls = std::make_shared<int>(0);
             EXPECT_TRUE(host.app.assertionNotifications().start([calls] { ++*calls; }));
             const auto holder = host.inner->newSessionIdentity();
             host.store->hold();
             host.tool.remoteAdmin().addAssertion(holder, "PreventUserIdleDisplaySleep", "会话", 255);
             return [&host, calls, holder] {
                 host.inner->endProcess(holder);
                 host.scheduler.runUntilIdle();
                 return *calls == 2;
             };
         }},
        {"a power assertion whose holder ends during the hold",
         [](QuietHold& host, std::vector<dispatch::Observation>&) {
             auto calls = std::make_shared<int>(0);
             EXPECT_TRUE(host.app.assertionNotifications().start([calls] { ++*calls; }));
             const auto holder = host.inner->newSessionIdentity();
             host.tool.remoteAdmin().addAssertion(holder, "PreventUserIdleDisplaySleep", "会话", 255);
             host.scheduler.runUntilIdle();
             host.store->hold();
             host.inner->endProcess(holder);
             return [calls] { return *calls == 2; };
         }},
        {"input from outside",
         [injection](QuietHold& host, std::vector<dispatch::Observation>&) {
             EXPECT_TRUE(host.app.hostEvents().claimInputOwnership());
             host.store->hold();
             const auto id = host.tool.inputAdmin().inject(injection());
             return [&host, id] { return id && host.tool.inputAdmin().state(*id) == Injection::State::handled; };
         }},
        {"input from outside, answered just as a hold begins",
         [injection](QuietHold& host, std::vector<dispatch::Observation>&) {
             EXPECT_TRUE(host.app.hostEvents().claimInputOwnership());
             const auto id = host.tool.inputAdmin().inject(injection());
             host.store->holdAfter(1);  // the pick-up gets through, its answer does not
             return [&host, id] { return id && host.tool.inputAdmin().state(*id) == Injection::State::handled; };
         }},
        {"input from outside, owned just as a hold begins",
         [injection](QuietHold& host, std::vector<dispatch::Observation>&) {
             host.store->holdAfter(1);  // the claim gets through, the first look at the input does not
             EXPECT_TRUE(host.app.hostEvents().claimInputOwnership());
             return [&host, injection] {
                 const auto id = host.tool.inputAdmin().inject(injection());
                 host.scheduler.runUntilIdle();
                 return id && host.tool.inputAdmin().state(*id) == Injection::State::handled;
             };
         }},
        {"Accessibility taken away",
         [](QuietHold& host, std::vector<dispatch::Observation>&) {
             host.tool.permissionsAdmin().set(Permission::accessibility, true);
             std::shared_ptr<events::EventTap> tap = host.keyTap();
             EXPECT_TRUE(tap && tap->isEnabled());
             host.store->hold();
             host.tool.permissionsAdmin().set(Permission::accessibility, false);
             return [tap] { return tap && !tap->isEnabled(); };
         }},
        {"an event tap switched back on during the hold",
         [](QuietHold& host, std::vector<dispatch::Observation>&) {
             host.tool.permissionsAdmin().set(Permission::accessibility, true);
             std::shared_ptr<events::EventTap> tap = host.keyTap();
             tap->setEnabled(false);  // as the system does to a tap that took too long
             host.store->hold();
             tap->setEnabled(true);
             EXPECT_FALSE(tap->isEnabled());
             return [tap] { return tap->isEnabled(); };
         }},
        {"the program's standing among the applications",
         [](QuietHold& host, std::vector<dispatch::Observation>& kept) {
             auto told = std::make_shared<int>(0);
             kept.push_back(host.app.ownWindows().observeActivation([told](const auto&) { ++*told; }));
             host.scheduler.runUntilIdle();
             // Read from the journal before the hold, told on the main queue during it.
             host.tool.windowsAdmin().post(JournalEvent::sessionResigned);
             host.store->hold();
             return [told] { return *told == 1; };
         }},
        {"a user default written during the hold, twice",
         [](QuietHold& host, std::vector<dispatch::Observation>&) {
             host.store->hold();
             EXPECT_FALSE(host.app.userDefaults().setValue("SettingsFrame", json::Json(1)));
             EXPECT_FALSE(host.app.userDefaults().setValue("SettingsFrame", json::Json(2)));
             return [&host] { return host.tool.userDefaults().value("SettingsFrame") == json::Json(2); };
         }},
    };
    for (const auto& reader : readers) {
        SCOPED_TRACE(reader.name);
        QuietHold host;
        std::vector<dispatch::Observation> kept;
        const auto seen = reader.watchAndChange(host, kept);
        host.scheduler.advanceBy(5);
        host.releaseAndWait();
        EXPECT_TRUE(seen());
    }
}

// A tap whose switching on waited for the host stays as the program left it meanwhile:
// switched off again, or let go.
TEST(HostReadersCatchUp, ATapSwitchedOffAgainDuringTheHoldStaysOff) {
    QuietHold host;
    host.tool.permissionsAdmin().set(Permission::accessibility, true);
    std::shared_ptr<events::EventTap> switchedOff = host.keyTap();
    std::shared_ptr<events::EventTap> letGo = host.keyTap();
    switchedOff->setEnabled(false);
    letGo->setEnabled(false);
    host.store->hold();
    switchedOff->setEnabled(true);
    letGo->setEnabled(true);
    switchedOff->setEnabled(false);
    letGo->invalidate();
    host.releaseAndWait();
    EXPECT_FALSE(switchedOff->isEnabled());
    EXPECT_FALSE(letGo->isEnabled());
    EXPECT_TRUE(host.app.catchUp().waiting().empty());
}

}  // namespace
}  // namespace dorvane::host
