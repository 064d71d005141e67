#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/HostCatchUp.h"
#include "Platform/Host/HostSession.h"
#include "Platform/Host/HostWindowEvents.h"
#include "Platform/Host/MemoryHostStore.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

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
        const auto write = [&](const std::string& name, double at) {
            other.access([&](HostData& data) {
                auto& windows = data.windows();
                JournalEntry entry;
                entry.seq = windows.nextSeq++;
                entry.at = at;
                entry.name = name;
                windows.journal.push_back(entry);
                ++windows.generation;
            });
        };
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

}  // namespace
}  // namespace dorvane::host
