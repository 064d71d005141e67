#include <gtest/gtest.h>

#include <memory>

#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

// The program on a host whose lock another program can hold without changing anything,
// and a person at the machine who changes the host meanwhile.
struct HeldHost {
    dispatch::SimulatedScheduler scheduler{100.0};
    std::shared_ptr<MemoryHostStore> inner = std::make_shared<MemoryHostStore>(makeFixture(HostFixture::laptop));
    std::shared_ptr<testing::RefusingHostStore> store = std::make_shared<testing::RefusingHostStore>(inner);
    SimulatedHost app{store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue()};
    SimulatedHost tool{inner, processes::ProcessRole::tool, scheduler};
};

// Asked during a hold, the trust used to read as withdrawn (the permission guide opened
// over a command, automatic filling went off until the menu was drawn again): the trust
// the host told last stands, and what changed meanwhile is told after the hold.
TEST(HeldHostAnswers, TheTrustToldLastStandsThroughAHold) {
    HeldHost host;
    host.tool.permissionsAdmin().set(Permission::accessibility, true);
    EXPECT_TRUE(host.app.accessibility().isProcessTrusted());
    host.store->held = true;
    host.tool.permissionsAdmin().set(Permission::accessibility, false);
    EXPECT_TRUE(host.app.accessibility().isProcessTrusted());
    host.store->held = false;
    EXPECT_FALSE(host.app.accessibility().isProcessTrusted());
    host.store->held = true;
    EXPECT_FALSE(host.app.accessibility().isProcessTrusted());
}

// A simulated process used to read as gone while the host was held: its name and path are
// not told then, and the list of processes is incomplete.
TEST(HeldHostAnswers, AProcessIsNotGoneWhileTheHostIsHeld) {
    HeldHost host;
    const pid_t pid = host.tool.remoteAdmin().startProcess("ToDesk_Session", "/Applications/ToDesk.app/ToDesk_Session");
    host.store->held = true;
    EXPECT_THROW(host.app.processes().name(pid), HostError);
    EXPECT_THROW(host.app.processes().executablePath(pid), HostError);
    EXPECT_FALSE(host.app.processes().allProcessIDs());
    host.store->held = false;
    EXPECT_EQ(host.app.processes().name(pid), "ToDesk_Session");
    EXPECT_EQ(host.app.processes().executablePath(pid), "/Applications/ToDesk.app/ToDesk_Session");
}

}  // namespace
}  // namespace dorvane::host
