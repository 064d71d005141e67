#include <algorithm>

#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using displays::DisplayModeInfo;

class DisplayServicesTest : public MemoryHostTest {};

TEST_F(DisplayServicesTest, DuplicateLowResolutionModesOnlyWhenAskedFor) {
    const auto builtin = worker->displays().mainDisplayID();
    const auto plain = worker->displays().allModes(builtin, {false});
    const auto all = worker->displays().allModes(builtin, {true});
    auto count1x1512 = [](const std::vector<DisplayModeInfo>& modes) {
        return std::count_if(modes.begin(), modes.end(),
                             [](const DisplayModeInfo& m) { return m.width == 1512 && m.pixelWidth == 1512; });
    };
    EXPECT_EQ(count1x1512(plain), 0);
    EXPECT_EQ(count1x1512(all), 2);  // 1512x982 and 1512x945 at 1x
    EXPECT_GT(all.size(), plain.size());
    const auto native = std::find_if(all.begin(), all.end(), [](const auto& m) { return m.isNative(); });
    ASSERT_NE(native, all.end());
    EXPECT_EQ(native->pixelHeight, 1964);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& m) { return !m.isValid(); }));
}

TEST_F(DisplayServicesTest, UnknownDisplaysAndUnavailableLookupsAnswerNothing) {
    auto& displays = worker->displays();
    EXPECT_EQ(displays.currentMode(999), std::nullopt);
    EXPECT_TRUE(displays.allModes(999, {true}).empty());
    EXPECT_EQ(displays.vendorNumber(999), 0u);
    EXPECT_FALSE(displays.isMain(999));
    EXPECT_EQ(displays.displayUUID(999), std::nullopt);

    app->admin().setUUIDLookupAvailable(false);
    EXPECT_EQ(displays.displayUUID(displays.mainDisplayID()), std::nullopt);
}

TEST_F(DisplayServicesTest, SleepingPanelsHaveNoModeUntilUserActivity) {
    app->admin().sleepDisplays();
    const auto builtin = worker->displays().onlineDisplayList(32).ids.front();
    EXPECT_EQ(worker->displays().currentMode(builtin), std::nullopt);
    EXPECT_TRUE(app->screens().screens().empty());

    const auto assertion = app->userActivity().declareUserActivity("Corvelle virtual display");
    ASSERT_TRUE(assertion);
    EXPECT_TRUE(app->userActivity().releaseAssertion(*assertion));
    EXPECT_FALSE(app->userActivity().releaseAssertion(*assertion));
    EXPECT_TRUE(worker->displays().currentMode(builtin));
    EXPECT_EQ(state().counters.userActivitiesDeclared, 1u);
}

TEST_F(DisplayServicesTest, ReconnectedDisplayKeepsItsIdentityButNotItsID) {
    const auto before = named(state(), "external");
    app->admin().unplug("external");
    EXPECT_EQ(worker->displays().onlineDisplayList(32).ids.size(), 1u);
    app->admin().plug("external");
    const auto after = named(state(), "external");
    EXPECT_NE(after.id, before.id);
    EXPECT_EQ(after.uuid, before.uuid);
    EXPECT_EQ(worker->displays().serialNumber(after.id), before.serial);
    EXPECT_EQ(worker->displays().bounds(after.id).x, 1512);
    EXPECT_THROW(app->admin().plug("nonexistent"), HostError);
}

}  // namespace
}  // namespace dorvane::host
