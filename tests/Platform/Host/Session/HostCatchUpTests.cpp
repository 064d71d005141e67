#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

using dispatch::SimulatedScheduler;

// One process's session on a host whose lock another program can hold.
struct HeldHost {
    SimulatedScheduler scheduler;
    std::shared_ptr<testing::RefusingHostStore> store =
        std::make_shared<testing::RefusingHostStore>(std::make_shared<MemoryHostStore>());
    HostSession session{store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue()};
    std::vector<std::string> notices;

    HeldHost() {
        session.catchUp().setNotice([this](const std::string& line) { notices.push_back(line); });
    }

    // An attempt that writes `value` into the host's status title, noting when it was tried.
    HostCatchUp::Attempt writing(const std::string& value, std::vector<double>* tries = nullptr) {
        return [this, value, tries] {
            if (tries != nullptr) tries->push_back(scheduler.now());
            session.access([&](HostData& data) { data.statusBar().item.emplace().title = value; });
            return true;
        };
    }

    std::string written() {
        std::string title;
        session.access([&](HostData& data) { title = data.statusBar().item ? data.statusBar().item->title : ""; });
        return title;
    }
};

// The gaps between tries grow to two seconds and stay there, however long the hold: the
// work is done within two seconds of the release of a short hold and of a long one.
TEST(HostCatchUp, TriesAgainSoonerFirstThenEveryTwoSecondsUntilTheHoldEnds) {
    for (const double hold : {3.0, 61.0}) {
        SCOPED_TRACE(hold);
        HeldHost host;
        std::vector<double> tries;
        host.store->held = true;
        EXPECT_FALSE(host.session.catchUp().attempt("title", host.writing("就绪", &tries)));
        host.scheduler.advanceBy(hold);
        host.store->held = false;
        host.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
        ASSERT_EQ(host.written(), "就绪");
        ASSERT_GE(tries.size(), 3U);
        EXPECT_DOUBLE_EQ(tries[1] - tries[0], HostCatchUp::firstDelaySeconds);
        EXPECT_DOUBLE_EQ(tries[2] - tries[1], 2 * HostCatchUp::firstDelaySeconds);
        for (std::size_t i = 1; i < tries.size(); ++i) EXPECT_LE(tries[i] - tries[i - 1], 2.0);
        EXPECT_LE(tries.back(), hold + HostCatchUp::longestDelaySeconds);
        EXPECT_TRUE(host.session.catchUp().waiting().empty());
        // Done: nothing more is tried.
        const auto done = tries.size();
        host.scheduler.advanceBy(10);
        EXPECT_EQ(tries.size(), done);
    }
}

// A newer attempt of a key replaces the waiting one, in its place; one done now drops the
// older; keys are done in the order they first waited; each run of refusals is said once.
TEST(HostCatchUp, KeepsTheNewestOfEachKeyInOrderAndSaysEachRunOfRefusalsOnce) {
    HeldHost host;
    auto& catchUp = host.session.catchUp();
    std::vector<std::string> order;
    auto noting = [&](const std::string& name) {
        return [&, name] {
            host.session.access([](HostData&) {});
            order.push_back(name);
            return true;
        };
    };
    host.store->held = true;
    catchUp.attempt("a", noting("a1"));
    catchUp.attempt("b", noting("b1"));
    catchUp.attempt("a", noting("a2"));
    catchUp.attempt("c", noting("c1"));
    EXPECT_EQ(catchUp.waiting(), (std::vector<std::string>{"a", "b", "c"}));
    host.scheduler.advanceBy(5);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(host.notices.size(), 1U);
    EXPECT_NE(host.notices.front().find("a: cannot lock host.lock"), std::string::npos) << host.notices.front();

    host.store->held = false;
    EXPECT_TRUE(catchUp.attempt("c", noting("c2")));  // done now: the waiting c is not done after it
    host.scheduler.advanceBy(2);
    EXPECT_EQ(order, (std::vector<std::string>{"c2", "a2", "b1"}));

    host.store->held = true;
    catchUp.attempt("a", noting("a3"));
    EXPECT_EQ(host.notices.size(), 2U);  // a new run of refusals
    host.store->held = false;
    host.scheduler.advanceBy(1);
    EXPECT_EQ(order.back(), "a3");
}

// Once the lock is free, an access of this process that got through brings the tries at
// once rather than at the next timer; one that keeps failing for another reason is not
// tried at every access.
TEST(HostCatchUp, AnAccessThatGotThroughBringsTheTryAtOnce) {
    HeldHost host;
    std::vector<double> tries;
    host.store->held = true;
    host.session.catchUp().attempt("title", host.writing("就绪", &tries));
    host.scheduler.advanceBy(2.2);  // tried at 0, 0.5 and 1.5; the next at 3.5
    ASSERT_EQ(tries.size(), 3U);
    host.store->held = false;
    host.session.access([](HostData&) {});
    host.scheduler.runUntilIdle();
    ASSERT_EQ(tries.size(), 4U);
    EXPECT_DOUBLE_EQ(tries.back(), 2.2);
    EXPECT_EQ(host.written(), "就绪");

    int refusedTries = 0;
    host.session.catchUp().attempt("broken", [&] {
        ++refusedTries;
        return false;
    });
    for (int i = 0; i < 20; ++i) {
        host.session.access([](HostData&) {});
        host.scheduler.advanceBy(0.01);
    }
    EXPECT_LE(refusedTries, 2);
}

// An attempt that got through drops what waited under its key before it began, not what
// another thread's attempt of the key, turned away meanwhile, left waiting.
TEST(HostCatchUp, AnAttemptThatGotThroughDropsOnlyWhatWaitedBeforeItBegan) {
    HeldHost host;
    auto& catchUp = host.session.catchUp();
    std::vector<std::string> done;
    const auto noting = [&](const std::string& name) -> HostCatchUp::Attempt {
        return [&done, name] {
            done.push_back(name);
            return true;
        };
    };
    catchUp.later("reader", noting("older"), "held");
    EXPECT_TRUE(catchUp.attempt("reader", [&] {
        catchUp.later("reader", noting("newer"), "held");  // as from another thread, meanwhile
        return true;
    }));
    host.scheduler.advanceBy(1);
    EXPECT_EQ(done, std::vector<std::string>{"newer"});
}

// A process without a main queue (a worker, a command-line mode) catches up with its later
// accesses; what is dropped or ended is never tried again.
TEST(HostCatchUp, WithoutAQueueLaterAccessesBringTheTriesAndDroppedWorkIsNeverDone) {
    SimulatedScheduler scheduler;
    auto store = std::make_shared<testing::RefusingHostStore>(std::make_shared<MemoryHostStore>());
    HostSession session(store, processes::ProcessRole::workerCommit, scheduler);
    int tried = 0;
    store->held = true;
    session.catchUp().attempt("claim", [&] {
        ++tried;
        session.access([](HostData&) {});
        return true;
    });
    session.catchUp().later(
        "dropped",
        [&] {
            ADD_FAILURE() << "a dropped attempt ran";
            return true;
        },
        "held");
    session.catchUp().drop("dropped");
    scheduler.advanceBy(10);
    EXPECT_EQ(tried, 1);
    store->held = false;
    session.access([](HostData&) {});
    EXPECT_EQ(tried, 2);
    EXPECT_TRUE(session.catchUp().waiting().empty());

    store->held = true;
    session.catchUp().attempt("late", [&] {
        ++tried;
        return false;
    });
    session.catchUp().end();
    store->held = false;
    scheduler.advanceBy(1);
    session.access([](HostData&) {});
    EXPECT_EQ(tried, 3);
}

}  // namespace
}  // namespace dorvane::host
