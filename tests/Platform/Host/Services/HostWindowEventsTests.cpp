#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "tests/Support/ForwardingHostStore.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

// A memory store that keeps one access of another thread waiting once it has read what it
// wanted, until let go: that thread's pull is then under way.
class PausingHostStore final : public testing::ForwardingHostStore {
public:
    PausingHostStore() : ForwardingHostStore(std::make_shared<MemoryHostStore>()) {}

    std::atomic<bool> paused = false;

    // The next access of `thread` to end waits there for `go`.
    void pauseNext(std::thread::id thread, std::shared_future<void> go) {
        thread_ = thread;
        go_ = std::move(go);
    }

    void transact(const std::function<void(HostData&)>& body) override {
        ForwardingHostStore::transact(body);
        if (std::this_thread::get_id() != thread_ || paused.exchange(true)) return;
        go_.wait();
    }

private:
    std::atomic<std::thread::id> thread_;
    std::shared_future<void> go_;
};

void writeEntry(HostSession& session, const std::string& name, double at) {
    session.access([&](HostData& data) {
        auto& windows = data.windows();
        JournalEntry entry;
        entry.seq = windows.nextSeq++;
        entry.at = at;
        entry.name = name;
        windows.journal.push_back(entry);
        ++windows.generation;
    });
}

// A read of the journal that a hold turned away, where the holder changes nothing (a quiet
// hold): at an event's due time, and the first handler's own read. The read is done again
// once the host lets go, and the event arrives within two seconds of the release; what was
// past when the first handler came stays past, though that read came only after the hold.
TEST(HostWindowEvents, AReadAQuietHoldTurnedAwayIsDoneOnceTheHostLetsGo) {
    for (const bool firstReadHeld : {false, true}) {
        SCOPED_TRACE(firstReadHeld);
        dispatch::SimulatedScheduler scheduler;
        const auto inner = std::make_shared<MemoryHostStore>();
        const auto store = std::make_shared<testing::RefusingHostStore>(inner);
        const auto session = std::make_shared<HostSession>(store, processes::ProcessRole::application, scheduler,
                                                           &scheduler.mainQueue());
        HostSession other(inner, processes::ProcessRole::tool, scheduler);
        const auto write = [&](const std::string& name, double at) { writeEntry(other, name, at); };
        write("AXPast", 0);
        scheduler.advanceBy(1);
        write("AXMoved", 2);
        const auto events = std::make_shared<HostWindowEvents>(session, &scheduler.mainQueue());
        std::vector<std::string> delivered;
        store->held = firstReadHeld;
        events->add([&](const JournalEntry& entry) { delivered.push_back(entry.name); });
        store->held = true;
        scheduler.advanceBy(5);
        EXPECT_TRUE(delivered.empty());
        store->held = false;
        scheduler.advanceBy(HostCatchUp::longestDelaySeconds);
        EXPECT_EQ(delivered, std::vector<std::string>{"AXMoved"});
        scheduler.advanceBy(5);
        EXPECT_EQ(delivered.size(), 1U);
        events->end();
    }
}

// The main queue's pull meets another thread's pull, which read the journal before the
// entry came: it does not wait behind it, and the entry arrives as soon as that pull ends.
TEST(HostWindowEvents, AMainQueuePullThatMeetsAnotherThreadsPullIsDoneWhenThatOneEnds) {
    dispatch::SimulatedScheduler scheduler;
    const auto store = std::make_shared<PausingHostStore>();
    const auto session =
        std::make_shared<HostSession>(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
    HostSession other(store, processes::ProcessRole::tool, scheduler);
    const auto events = std::make_shared<HostWindowEvents>(session, &scheduler.mainQueue());
    std::vector<std::string> delivered;
    events->add([&](const JournalEntry& entry) { delivered.push_back(entry.name); });

    std::promise<void> go;
    std::thread watcher([&] {
        store->pauseNext(std::this_thread::get_id(), go.get_future().share());
        writeEntry(other, "AXEarlier", 0);  // its pull reads, then waits
    });
    while (!store->paused) std::this_thread::yield();
    writeEntry(other, "AXMoved", 0);  // this thread's own pull finds that one under way
    go.set_value();
    watcher.join();
    scheduler.runUntilIdle();
    EXPECT_EQ(delivered, (std::vector<std::string>{"AXEarlier", "AXMoved"}));
    events->end();
}

}  // namespace
}  // namespace dorvane::host
