#include <cmath>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

using processes::ProcessRole;
using system::AppearanceSettings;
using system::DistributedNotification;
using system::InterfaceStyle;

// Two programs and the host tool on one in-memory host, in virtual time.
class SystemServicesTest : public ::testing::Test {
protected:
    // Summaries of the log lines whose action is one of `actions`, in order.
    std::vector<std::string> logged(std::initializer_list<std::string_view> actions) {
        std::vector<std::string> lines;
        for (const auto& entry : store->actionLog()) {
            for (const auto action : actions) {
                if (entry.action == action) lines.push_back(entry.summary());
            }
        }
        return lines;
    }

    void refuseNext(HostCall call, std::uint32_t times = 1) {
        FaultRule rule;
        rule.call = call;
        rule.action = FaultAction::nothing;
        rule.times = times;
        tool->admin().addFault(rule);
    }

    NotificationJournal journal() {
        NotificationJournal journal;
        store->transact([&](HostData& data) { journal = data.notifications(); });
        return journal;
    }

    dispatch::SimulatedScheduler scheduler;
    dispatch::MainQueue& mainQueue = scheduler.mainQueue();
    std::shared_ptr<MemoryHostStore> store = std::make_shared<MemoryHostStore>();
    std::unique_ptr<SimulatedHost> app = std::make_unique<SimulatedHost>(store, ProcessRole::application, scheduler);
    std::unique_ptr<SimulatedHost> other = std::make_unique<SimulatedHost>(store, ProcessRole::application, scheduler);
    std::unique_ptr<SimulatedHost> tool = std::make_unique<SimulatedHost>(store, ProcessRole::tool, scheduler);
};

TEST_F(SystemServicesTest, UserDefaultsKeepTypedValuesForEveryProcess) {
    struct Case {
        const char* key;
        json::Json value;
        std::optional<bool> asBool;
        std::optional<double> asNumber;
        std::optional<std::string> asString;
    };
    const std::vector<Case> cases = {
        {"CVDebugHooks", true, true, std::nullopt, std::nullopt},
        {"count", 3, std::nullopt, 3.0, std::nullopt},
        {"ratio", 0.25, std::nullopt, 0.25, std::nullopt},
        {"label", "true", std::nullopt, std::nullopt, "true"},   // text is no Bool
        {"Dorvane.Settings", json::Json::parse(R"({"frame":[10,20,900,720]})"), std::nullopt, std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(app->userDefaults().setValue(c.key, c.value));
        EXPECT_EQ(other->userDefaults().value(c.key), c.value);
        EXPECT_EQ(other->userDefaults().boolValue(c.key), c.asBool);
        EXPECT_EQ(other->userDefaults().numberValue(c.key), c.asNumber);
        EXPECT_EQ(other->userDefaults().stringValue(c.key), c.asString);
    }

    ASSERT_TRUE(app->userDefaults().setBool("count", false));   // a new type replaces the old
    EXPECT_EQ(other->userDefaults().boolValue("count"), false);
    EXPECT_EQ(other->userDefaults().numberValue("count"), std::nullopt);
    EXPECT_TRUE(other->userDefaults().removeValue("count"));
    EXPECT_FALSE(other->userDefaults().removeValue("count"));
    EXPECT_EQ(app->userDefaults().value("count"), std::nullopt);
    EXPECT_EQ(app->userDefaults().boolValue("never"), std::nullopt);

    const auto lines = logged({"userDefaultWrite", "userDefaultDelete"});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "userDefaultWrite key=CVDebugHooks value=true");
    EXPECT_EQ(lines[6], "userDefaultDelete key=count removed=true");
    EXPECT_EQ(lines[7], "userDefaultDelete key=count removed=false");
}

TEST_F(SystemServicesTest, UnstorableDefaultsAreRefusedAndAFaultChangesNothing) {
    auto& defaults = app->userDefaults();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_THROW(defaults.setBool("", true), std::invalid_argument);
    EXPECT_THROW(defaults.setValue("k", nullptr), std::invalid_argument);
    EXPECT_THROW(defaults.setNumber("k", std::nan("")), std::invalid_argument);
    EXPECT_THROW(defaults.setValue("k", json::Json::object({{"a", json::Json::array({1.0, inf})}})),
                 std::invalid_argument);
    EXPECT_EQ(defaults.value("k"), std::nullopt);
    EXPECT_TRUE(defaults.setValue("k", json::Json::object({{"a", nullptr}})));  // null inside a value is data

    ASSERT_TRUE(defaults.setBool("CVDebugHooks", true));
    refuseNext(HostCall::userDefaults, 3);
    EXPECT_EQ(defaults.boolValue("CVDebugHooks"), std::nullopt);
    EXPECT_FALSE(defaults.setBool("CVDebugHooks", false));
    EXPECT_FALSE(defaults.removeValue("CVDebugHooks"));
    EXPECT_EQ(defaults.boolValue("CVDebugHooks"), true);
}

TEST_F(SystemServicesTest, NotificationsReachEveryObserverOnItsExecutorOnceInOrder) {
    auto& serial = scheduler.makeSerialQueue("observer");
    auto& center = tool->distributedNotifications();
    ASSERT_TRUE(center.post({"a", "early", std::nullopt}));   // nobody listens yet: lost to all

    std::map<std::string, std::vector<std::string>> seen;
    auto recorder = [&seen](const std::string& who, dispatch::Executor& executor) {
        return [&seen, who, &executor](const DistributedNotification& n) {
            seen[who].push_back(n.name + " " + n.object.value_or("-") + " " +
                                (n.userInfo ? json::serialize(*n.userInfo) : "-") +
                                (executor.isCurrent() ? "" : " OFF-EXECUTOR"));
        };
    };
    auto appA = app->distributedNotifications().addObserver("a", mainQueue, recorder("app", mainQueue));
    auto otherA = other->distributedNotifications().addObserver("a", serial, recorder("other", serial));
    auto otherB = other->distributedNotifications().addObserver("b", serial, recorder("other", serial));
    scheduler.runUntilIdle();
    EXPECT_TRUE(seen.empty());

    ASSERT_TRUE(center.post({"a", "one", std::nullopt}));
    ASSERT_TRUE(center.post({"b", std::nullopt, json::Json::object({{"k", 1}})}));
    ASSERT_TRUE(center.post({"c", "nobody", std::nullopt}));
    ASSERT_TRUE(app->distributedNotifications().post({"a", std::nullopt, std::nullopt}));  // reaches its own poster
    scheduler.runUntilIdle();
    scheduler.runUntilIdle();
    EXPECT_EQ(seen["app"], (std::vector<std::string>{"a one -", "a - -"}));
    EXPECT_EQ(seen["other"], (std::vector<std::string>{"a one -", R"(b - {"k":1})", "a - -"}));
    EXPECT_TRUE(journal().entries.empty());   // everyone has taken everything
    EXPECT_EQ(journal().readers.size(), 2u);

    EXPECT_EQ(logged({"distributedNotification"})[1], "distributedNotification name=a object=one seq=2");
    other.reset();
    EXPECT_EQ(journal().readers.size(), 1u);   // a program that goes leaves the readers
}

TEST_F(SystemServicesTest, EndingAnObserverStopsItsDeliveriesEvenQueuedOnes) {
    int ended = 0;
    int kept = 0;
    auto first = app->distributedNotifications().addObserver("n", mainQueue, [&](const auto&) { ++ended; });
    auto second = app->distributedNotifications().addObserver("n", mainQueue, [&](const auto&) { ++kept; });
    tool->distributedNotifications().post({"n", std::nullopt, std::nullopt});
    first.cancel();
    scheduler.runUntilIdle();
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(kept, 1);
}

TEST_F(SystemServicesTest, TheJournalKeepsOnlyWhatARunningReaderHasNotTaken) {
    int received = 0;
    auto observation = app->distributedNotifications().addObserver("n", mainQueue, [&](const auto&) { ++received; });
    const processes::ProcessIdentity silent{4242, 7};   // joined, then never takes
    store->transact([&](HostData& data) { data.notifications().addReader(silent); });
    for (int i = 0; i < 3; ++i) tool->distributedNotifications().post({"n", std::nullopt, std::nullopt});
    EXPECT_EQ(journal().entries.size(), 3u);

    store->endProcess(silent);
    tool->distributedNotifications().post({"n", std::nullopt, std::nullopt});
    EXPECT_TRUE(journal().entries.empty());
    EXPECT_EQ(journal().readers.size(), 1u);

    auto late = std::make_unique<SimulatedHost>(store, ProcessRole::application, scheduler);
    int lateReceived = 0;
    auto lateObservation =
        late->distributedNotifications().addObserver("n", mainQueue, [&](const auto&) { ++lateReceived; });
    tool->distributedNotifications().post({"n", std::nullopt, std::nullopt});
    scheduler.runUntilIdle();
    EXPECT_EQ(received, 5);
    EXPECT_EQ(lateReceived, 1);   // started after the first four
}

TEST(NotificationJournalTest, AReaderThatNeverTakesCannotGrowItPastTheLimit) {
    NotificationJournal journal;
    journal.addReader({1, 1});
    const auto busy = journal.addReader({2, 1});
    for (std::size_t i = 0; i < NotificationJournal::kLimit + 5; ++i) journal.post({"n", std::nullopt, std::nullopt});
    ASSERT_EQ(journal.entries.size(), NotificationJournal::kLimit);
    EXPECT_EQ(journal.entries.front().seq, 6u);
    const auto taken = journal.take(busy);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->size(), NotificationJournal::kLimit);
    EXPECT_EQ(journal.take(99), std::nullopt);
    EXPECT_EQ(NotificationJournal::fromJson(journal.toJson()), journal);
}

TEST_F(SystemServicesTest, RefusedPostsReachNobody) {
    int received = 0;
    auto observation = app->distributedNotifications().addObserver("n", mainQueue, [&](const auto&) { ++received; });
    auto& center = tool->distributedNotifications();
    EXPECT_THROW(center.post({"", std::nullopt, std::nullopt}), std::invalid_argument);
    EXPECT_THROW(center.post({"n", std::nullopt, json::Json::array({1})}), std::invalid_argument);
    refuseNext(HostCall::postDistributedNotification);
    EXPECT_FALSE(center.post({"n", std::nullopt, std::nullopt}));
    scheduler.runUntilIdle();
    EXPECT_EQ(received, 0);
    EXPECT_TRUE(center.post({"n", std::nullopt, std::nullopt}));
    scheduler.runUntilIdle();
    EXPECT_EQ(received, 1);
    EXPECT_EQ(logged({"distributedNotification"}).size(), 1u);
}

TEST_F(SystemServicesTest, AppearanceChangesReachObserversOncePerChange) {
    EXPECT_EQ(app->appearance().current(), AppearanceSettings{});
    std::vector<AppearanceSettings> changes;
    bool onMain = true;
    auto observation = app->appearance().observe(mainQueue, [&](const AppearanceSettings& settings) {
        changes.push_back(settings);
        onMain = onMain && mainQueue.isCurrent();
    });
    auto& admin = tool->systemAdmin();
    admin.setInterfaceStyle(InterfaceStyle::dark);
    admin.setInterfaceStyle(InterfaceStyle::dark);   // no change
    admin.setReduceMotion(true);
    scheduler.runUntilIdle();
    const AppearanceSettings darkStill{InterfaceStyle::dark, true};
    EXPECT_EQ(changes, (std::vector<AppearanceSettings>{{InterfaceStyle::dark, false}, darkStill}));
    EXPECT_TRUE(onMain);
    EXPECT_EQ(other->appearance().current(), darkStill);

    observation.cancel();
    admin.setInterfaceStyle(InterfaceStyle::light);
    scheduler.runUntilIdle();
    EXPECT_EQ(changes.size(), 2u);

    refuseNext(HostCall::currentAppearance);
    EXPECT_EQ(app->appearance().current(), AppearanceSettings{});
    EXPECT_EQ(app->appearance().current(), (AppearanceSettings{InterfaceStyle::light, true}));
    EXPECT_EQ(logged({"appearance", "reduceMotion"}),
              (std::vector<std::string>{"appearance appearance=dark", "appearance appearance=dark", "reduceMotion on=true",
                                        "appearance appearance=light"}));
}

TEST_F(SystemServicesTest, AnnouncementsKeepTheLastTwoHundredWithTheirWallTime) {
    for (int i = 0; i < 205; ++i) {
        app->announcements().announce("提示 " + std::to_string(i));
        scheduler.advanceBy(1);
    }
    refuseNext(HostCall::announce);
    app->announcements().announce("dropped");

    const auto kept = tool->systemAdmin().announcements();
    ASSERT_EQ(kept.size(), AnnouncementLog::kLimit);
    EXPECT_EQ(kept.front(), (Announcement{"2025-01-01T00:00:05Z", app->process().pid, "提示 5"}));
    EXPECT_EQ(kept.back(), (Announcement{"2025-01-01T00:03:24Z", app->process().pid, "提示 204"}));
    EXPECT_EQ(logged({"announce"}).back(), "announce text=提示 204");
}

// The program on a host whose lock another program can hold, with the host tool beside it,
// and what its catch-up says.
struct HeldProgram {
    dispatch::SimulatedScheduler scheduler;
    std::vector<HostCatchUp::Event> events;  // said until the program has gone
    std::vector<std::string> lines;
    std::shared_ptr<MemoryHostStore> inner = std::make_shared<MemoryHostStore>();
    std::shared_ptr<testing::RefusingHostStore> store = std::make_shared<testing::RefusingHostStore>(inner);
    std::unique_ptr<SimulatedHost> app =
        std::make_unique<SimulatedHost>(store, ProcessRole::application, scheduler, &scheduler.mainQueue());
    SimulatedHost tool{inner, ProcessRole::tool, scheduler};

    HeldProgram() {
        app->catchUp().setNotice([this](HostCatchUp::Event event, const std::string& line) {
            events.push_back(event);
            lines.push_back(line);
        });
    }
};

// A program that quits while the host turns its writes away gives each waiting write one last
// try as it closes the host: written when the host lets go by then, and said by name as lost
// when it is still held.
TEST(HostAtQuit, AWaitingWriteGetsOneLastTryAndOneStillHeldIsSaidByName) {
    for (const bool heldAtQuit : {false, true}) {
        SCOPED_TRACE(heldAtQuit);
        HeldProgram program;
        const json::Json frame = json::Json::parse(R"({"frame":[10,20,900,720]})");
        program.store->held = true;
        EXPECT_FALSE(program.app->userDefaults().setValue("Dorvane.Settings", frame));
        program.store->held = heldAtQuit;
        program.app.reset();  // before the catch-up's next try
        if (!heldAtQuit) {
            EXPECT_EQ(program.tool.userDefaults().value("Dorvane.Settings"), frame);
            EXPECT_EQ(program.events, std::vector<HostCatchUp::Event>{HostCatchUp::Event::deferred});
            continue;
        }
        EXPECT_FALSE(program.tool.userDefaults().value("Dorvane.Settings"));
        ASSERT_EQ(program.events,
                  (std::vector<HostCatchUp::Event>{HostCatchUp::Event::deferred, HostCatchUp::Event::dropped}));
        EXPECT_EQ(program.lines[1], "user default Dorvane.Settings: cannot lock host.lock: another process has held it for over 1 seconds");
    }
}

// The input is claimed for the program's run only: a claim the host turned away is not made as
// the program quits (it would own the input for a moment), nor said as a change lost.
TEST(HostAtQuit, AWaitingClaimOfTheInputIsNeitherMadeNorSaidAsLost) {
    for (const bool heldAtQuit : {false, true}) {
        SCOPED_TRACE(heldAtQuit);
        HeldProgram program;
        program.store->held = true;
        EXPECT_FALSE(program.app->hostEvents().claimInputOwnership());
        program.store->held = heldAtQuit;
        program.app.reset();
        EXPECT_EQ(program.events, std::vector<HostCatchUp::Event>{HostCatchUp::Event::deferred});
        for (const auto& entry : program.inner->actionLog()) EXPECT_NE(entry.action, "inputOwner") << entry.summary();
    }
}

// A user default set directly while an older value of it waits (the host turned that write
// away) is the one that stays: the older value is not written over it after the hold.
TEST(HeldUserDefaults, AValueSetDirectlyIsNotWrittenOverByAnOlderOneTheHostTurnedAway) {
    HeldProgram program;
    const json::Json older = json::Json::parse(R"({"frame":[10,20,900,720]})");
    const json::Json newer = json::Json::parse(R"({"frame":[40,60,900,720]})");
    program.store->held = true;
    EXPECT_FALSE(program.app->userDefaults().setValue("Dorvane.Settings", older));
    program.store->held = false;
    EXPECT_TRUE(program.app->userDefaults().setValue("Dorvane.Settings", newer));
    program.scheduler.advanceBy(10);
    EXPECT_EQ(program.tool.userDefaults().value("Dorvane.Settings"), newer);
    EXPECT_TRUE(program.app->catchUp().waiting().empty());
}

}  // namespace
}  // namespace dorvane::host
