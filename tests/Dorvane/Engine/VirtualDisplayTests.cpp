#include <gtest/gtest.h>

#include <utility>

#include "Dorvane/Engine/DisplayWorker.h"
#include "Dorvane/Engine/VirtualDisplay.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

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

}  // namespace
}  // namespace dorvane
