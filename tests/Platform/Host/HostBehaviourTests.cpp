#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using displays::ConfigureScope;
using displays::DisplayError;

class HostBehaviourTest : public MemoryHostTest {
protected:
    DisplayError moveExternalTo(std::int32_t x, std::int32_t y) {
        auto configuration = worker->displays().beginConfiguration().configuration;
        EXPECT_EQ(configuration->configureOrigin(named(state(), "external").id, x, y), DisplayError::success);
        return configuration->complete(ConfigureScope::forSession);
    }
};

TEST_F(HostBehaviourTest, ADisplaySwitchesToItsLowResolutionModeShortlyAfterACommit) {
    app->admin().addModeSwitchAfterCommit({"external", 0.5, std::nullopt, 1});
    ASSERT_EQ(moveExternalTo(1512, -200), DisplayError::success);
    const auto external = named(state(), "external").id;
    EXPECT_EQ(worker->displays().currentMode(external)->pixelWidth, 3840);
    clock.advance(0.5);
    EXPECT_EQ(worker->displays().currentMode(external)->pixelWidth, 1920);
    EXPECT_EQ(worker->displays().currentMode(external)->width, 1920);

    // Only once.
    app->admin().setMode("external", 101);
    ASSERT_EQ(moveExternalTo(1512, 0), DisplayError::success);
    clock.advance(1);
    EXPECT_EQ(worker->displays().currentMode(external)->modeID, 101);
}

TEST_F(HostBehaviourTest, TheHostPlacesADisplayElsewhereThanAsked) {
    app->admin().addOriginOverride({"external", 1512, 90, 2});
    for (int attempt = 0; attempt < 2; ++attempt) {
        ASSERT_EQ(moveExternalTo(1512, 0), DisplayError::success);
        EXPECT_EQ(worker->displays().bounds(named(state(), "external").id).y, 90);
    }
    ASSERT_EQ(moveExternalTo(1512, 0), DisplayError::success);
    EXPECT_EQ(worker->displays().bounds(named(state(), "external").id).y, 0);
}

TEST_F(HostBehaviourTest, ScheduledUnplugAndPlug) {
    app->admin().schedule(PlugAction::unplug, "external", 3);
    app->admin().schedule(PlugAction::plug, "external", 5);
    EXPECT_THROW(app->admin().schedule(PlugAction::plug, "nonexistent", 1), HostError);
    const auto first = named(state(), "external").id;
    clock.advance(3);
    EXPECT_EQ(worker->displays().onlineDisplayList(32).ids.size(), 1u);
    clock.advance(2);
    const auto ids = worker->displays().onlineDisplayList(32).ids;
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_NE(ids[1], first);
    EXPECT_EQ(logged({"plug", "unplug"}).size(), 2u);
}

}  // namespace
}  // namespace dorvane::host
