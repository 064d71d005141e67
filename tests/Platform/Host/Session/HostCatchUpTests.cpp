#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/State/HostError.h"
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
    std::vector<HostCatchUp::Event> events;
    std::vector<std::string> notices;

    HeldHost() {
        session.catchUp().setNotice([this](HostCatchUp::Event event, const std::string& line) {
            events.push_back(event);
            notices.push_back(line);
        });
    }

    // An attempt that writes `value` into the host's status title, noting when it was tried.
    HostCatchUp::Attempt writing(const std::string& value, std::vector<double>* tries = nullptr) {
        return [this, value, tries] {
            if (tries != nullptr) tries->push_back(scheduler.now());
            session.access([&](HostData& data) { data.statusBar().item.emplace().title = value; });
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
        EXPECT_FALSE(host.session.catchUp().attempt("title", HostCatchUp::Kind::write, host.writing("就绪", &tries)));
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
        };
    };
    const auto write = HostCatchUp::Kind::write;
    host.store->held = true;
    catchUp.attempt("a", write, noting("a1"));
    catchUp.attempt("b", write, noting("b1"));
    catchUp.attempt("a", write, noting("a2"));
    catchUp.attempt("c", write, noting("c1"));
    EXPECT_EQ(catchUp.waiting(), (std::vector<std::string>{"a", "b", "c"}));
    host.scheduler.advanceBy(5);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(host.notices.size(), 1U);
    EXPECT_NE(host.notices.front().find("a: cannot lock host.lock"), std::string::npos) << host.notices.front();

    host.store->held = false;
    EXPECT_TRUE(catchUp.attempt("c", write, noting("c2")));  // done now: the waiting c is not done after it
    host.scheduler.advanceBy(2);
    EXPECT_EQ(order, (std::vector<std::string>{"c2", "a2", "b1"}));

    host.store->held = true;
    catchUp.attempt("a", write, noting("a3"));
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
    host.session.catchUp().attempt("title", HostCatchUp::Kind::write, host.writing("就绪", &tries));
    host.scheduler.advanceBy(2.2);  // tried at 0, 0.5 and 1.5; the next at 3.5
    ASSERT_EQ(tries.size(), 3U);
    host.store->held = false;
    host.session.access([](HostData&) {});
    host.scheduler.runUntilIdle();
    ASSERT_EQ(tries.size(), 4U);
    EXPECT_DOUBLE_EQ(tries.back(), 2.2);
    EXPECT_EQ(host.written(), "就绪");

    int refusedTries = 0;
    host.session.catchUp().attempt("broken", HostCatchUp::Kind::read, [&] {
        ++refusedTries;
        throw HostError("cannot read windows.json: Input/output error");
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
        return [&done, name] { done.push_back(name); };
    };
    const auto read = HostCatchUp::Kind::read;
    catchUp.later("reader", read, noting("older"), "held");
    EXPECT_TRUE(catchUp.attempt("reader", read, [&] {
        catchUp.later("reader", read, noting("newer"), "held");  // as from another thread, meanwhile
    }));
    host.scheduler.advanceBy(1);
    EXPECT_EQ(done, std::vector<std::string>{"newer"});
}

// Work of a key that another try of the same run replaced by a newer attempt, done at once,
// is not done after it: the older value would stand over the newer one for good.
TEST(HostCatchUp, WorkReplacedDuringARunIsNotDoneAfterItsNewerAttempt) {
    HeldHost host;
    auto& catchUp = host.session.catchUp();
    const auto write = HostCatchUp::Kind::write;
    host.store->held = true;
    // The first waiting work changes the same value anew (a setting saved again), which gets
    // through now that the host lets go.
    catchUp.later("other", write, [&] {
        host.session.access([](HostData&) {});
        EXPECT_TRUE(catchUp.attempt("title", write, host.writing("新")));
    }, "held");
    catchUp.later("title", write, host.writing("旧"), "held");
    host.store->held = false;
    host.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(host.written(), "新");
    EXPECT_TRUE(catchUp.waiting().empty());
}

// Work of a key turned away again during a run, while a newer attempt of the key was kept
// meanwhile, waits as that newer attempt alone: the older value would stand over it for good.
TEST(HostCatchUp, WorkRefusedAgainDuringARunWaitsAsItsNewerAttempt) {
    HeldHost host;
    auto& catchUp = host.session.catchUp();
    const auto write = HostCatchUp::Kind::write;
    host.store->held = true;
    catchUp.later("title", write, host.writing("旧"), "held");
    // Tried after the title in the same run: the value changes anew, as from another thread.
    catchUp.later("other", write, [&] { catchUp.later("title", write, host.writing("新"), "held"); }, "held");
    host.scheduler.advanceBy(HostCatchUp::firstDelaySeconds);
    EXPECT_EQ(catchUp.waiting(), std::vector<std::string>{"title"});
    host.store->held = false;
    host.scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
    EXPECT_EQ(host.written(), "新");
    EXPECT_TRUE(catchUp.waiting().empty());
}

// Only the host turning work away is caught up: work that fails another way is said as a
// failure once and never tried again, and waits behind nothing.
TEST(HostCatchUp, AFailureThatIsNotARefusalIsSaidAndNotTriedAgain) {
    HeldHost host;
    int tries = 0;
    EXPECT_TRUE(host.session.catchUp().attempt("broken", HostCatchUp::Kind::read, [&] {
        ++tries;
        throw std::logic_error("no handler");
    }));
    host.scheduler.advanceBy(10);
    EXPECT_EQ(tries, 1);
    EXPECT_TRUE(host.session.catchUp().waiting().empty());
    ASSERT_EQ(host.events, std::vector<HostCatchUp::Event>{HostCatchUp::Event::failed});
    EXPECT_EQ(host.notices.front(), "broken: no handler");
}

// A process without a main queue (a worker, a command-line mode) catches up with its later
// accesses; what is dropped or ended is never tried again.
TEST(HostCatchUp, WithoutAQueueLaterAccessesBringTheTriesAndDroppedWorkIsNeverDone) {
    SimulatedScheduler scheduler;
    auto store = std::make_shared<testing::RefusingHostStore>(std::make_shared<MemoryHostStore>());
    HostSession session(store, processes::ProcessRole::workerCommit, scheduler);
    int tried = 0;
    store->held = true;
    session.catchUp().attempt("claim", HostCatchUp::Kind::write, [&] {
        ++tried;
        session.access([](HostData&) {});
    });
    session.catchUp().later(
        "dropped", HostCatchUp::Kind::write, [&] { ADD_FAILURE() << "a dropped attempt ran"; }, "held");
    session.catchUp().drop("dropped");
    scheduler.advanceBy(10);
    EXPECT_EQ(tried, 1);
    store->held = false;
    session.access([](HostData&) {});
    EXPECT_EQ(tried, 2);
    EXPECT_TRUE(session.catchUp().waiting().empty());

    store->held = true;
    session.catchUp().attempt("late", HostCatchUp::Kind::read, [&] {
        ++tried;
        session.access([](HostData&) {});
    });
    session.catchUp().end();
    store->held = false;
    scheduler.advanceBy(1);
    session.access([](HostData&) {});
    EXPECT_EQ(tried, 3);
}

}  // namespace
}  // namespace dorvane::host
