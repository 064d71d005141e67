#include <gtest/gtest.h>

#include <utility>

#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/VirtualDisplay.h"
#include "DorvaneCore/Core/BusyFailure.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane {
namespace {

using processes::ProcessRole;

class VirtualDisplayTest : public ::testing::Test {
protected:
    dispatch::SimulatedScheduler clock{100.0};  // only its clock is used
    std::shared_ptr<host::MemoryHostStore> store =
        std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptop));
    host::SimulatedHost app{store, ProcessRole::application, clock};
    host::SimulatedHost workerHost{store, ProcessRole::workerSnapshot, clock};

    std::vector<DisplayState> snapshot() { return DisplayWorker(workerHost.displays()).snapshot(); }
};

TEST_F(VirtualDisplayTest, DescriptorValues) {
    const auto descriptor = DVVirtualDisplay::descriptor(1280, 800, 4242);
    EXPECT_EQ(descriptor.name, "Corvelle Virtual Display");
    EXPECT_EQ(std::pair(descriptor.maxPixelsWide, descriptor.maxPixelsHigh), std::pair(2560u, 1600u));
    EXPECT_NEAR(descriptor.sizeInMillimeters.width, 295.56, 0.01);
    EXPECT_NEAR(descriptor.sizeInMillimeters.height, 184.73, 0.01);
    EXPECT_EQ(std::pair(descriptor.vendorID, descriptor.productID), std::pair(17494u, 1u));
    EXPECT_EQ(descriptor.serialNum, 4242u);
    EXPECT_EQ(descriptor.serialNumber, 4242u);
    EXPECT_EQ(descriptor.whitePoint, (displays::Point{0.3127, 0.329}));
    const auto settings = DVVirtualDisplay::settings(1280, 800);
    EXPECT_EQ(settings.hiDPI, 1u);
    ASSERT_EQ(settings.modes.size(), 1u);
    EXPECT_EQ(settings.modes[0].refreshRate, 60.0);
}

// Its mode, placement and ownership are checked by the engine scenarios.
TEST_F(VirtualDisplayTest, LivesExactlyAsLongAsTheWrapper) {
    {
        auto display = DVVirtualDisplay::create(app.virtualDisplays(), 1280, 800, 77);
        ASSERT_TRUE(display);
        EXPECT_EQ(snapshot().size(), 2u);
        EXPECT_TRUE(DVDisplayUUID(workerHost.displays(), display->displayID()).has_value());
    }
    EXPECT_EQ(snapshot().size(), 1u);
    EXPECT_EQ(DVDisplayUUID(workerHost.displays(), 999), std::nullopt);
}

TEST_F(VirtualDisplayTest, RefusalsGiveNoDisplay) {
    EXPECT_FALSE(DVVirtualDisplay::create(app.virtualDisplays(), 511, 800, 77));
    EXPECT_FALSE(DVVirtualDisplay::create(app.virtualDisplays(), 1280, 3841, 77));
    app.admin().sleepDisplays();  // the platform refuses settings while the displays sleep
    EXPECT_FALSE(DVVirtualDisplay::create(app.virtualDisplays(), 1280, 800, 77));
    app.admin().wakeDisplays();
    app.admin().setVirtualDisplaysAvailable(false);
    EXPECT_FALSE(DVVirtualDisplay::isAvailable(app.virtualDisplays()));
    EXPECT_FALSE(DVVirtualDisplay::create(app.virtualDisplays(), 1280, 800, 77));
}

// Another program holding the host past the wait is no answer of the system: it used to
// read as a system without virtual displays, a creation refused, and a display without a
// UUID (which a snapshot then recorded, to be taken for another display later).
TEST_F(VirtualDisplayTest, AHostHeldByAnotherProgramIsNoRefusal) {
    const auto held = std::make_shared<testing::RefusingHostStore>(store);
    host::SimulatedHost heldApp{held, ProcessRole::application, clock};
    host::SimulatedHost heldWorker{held, ProcessRole::workerSnapshot, clock};
    const auto id = snapshot().front().id;

    held->held = true;
    EXPECT_THROW(DVVirtualDisplay::isAvailable(heldApp.virtualDisplays()), BusyFailure);
    EXPECT_THROW(DVDisplayUUID(heldWorker.displays(), id), BusyFailure);
    held->held = false;
    held->holdAfter(1);  // the creation's look whether virtual displays exist gets through
    EXPECT_THROW(DVVirtualDisplay::create(heldApp.virtualDisplays(), 1280, 800, 77), BusyFailure);
    held->held = false;
    EXPECT_TRUE(DVVirtualDisplay::isAvailable(heldApp.virtualDisplays()));
    EXPECT_TRUE(DVDisplayUUID(heldWorker.displays(), id).has_value());
    EXPECT_TRUE(DVVirtualDisplay::create(heldApp.virtualDisplays(), 1280, 800, 77));
}

}  // namespace
}  // namespace dorvane
