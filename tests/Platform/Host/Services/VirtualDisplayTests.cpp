#include "tests/Platform/Host/HostTestSupport.h"

namespace dorvane::host {
namespace {

using displays::ConfigureScope;
using displays::DisplayError;

class VirtualDisplayTest : public MemoryHostTest {
protected:
    // The worker's commit of a fit: the virtual display main at the origin, both
    // physical displays mirroring it.
    void fit(DisplayID source) {
        auto configuration = worker->displays().beginConfiguration().configuration;
        ASSERT_TRUE(configuration);
        for (const auto& name : {"builtin", "external"}) {
            EXPECT_EQ(configuration->configureMirror(named(state(), name).id, source), DisplayError::success);
        }
        EXPECT_EQ(configuration->configureOrigin(source, 0, 0), DisplayError::success);
        EXPECT_EQ(configuration->complete(ConfigureScope::forSession), DisplayError::success);
    }

    std::vector<DisplayID> online() { return worker->displays().onlineDisplayList(32).ids; }
};

TEST_F(VirtualDisplayTest, OnlineWithItsDescriptorAndHiDPIMode) {
    auto display = createVirtual(1280, 800);
    ASSERT_TRUE(display);
    const auto id = display->displayID();
    EXPECT_NE(id, 0u);
    auto& displays = worker->displays();
    EXPECT_EQ(online().size(), 3u);
    EXPECT_EQ(displays.vendorNumber(id), 17494u);
    EXPECT_EQ(displays.serialNumber(id), 77u);
    ASSERT_TRUE(displays.displayUUID(id));
    EXPECT_EQ(displays.currentMode(id)->asDisplayMode(), (DisplayMode{1280, 800, 2560, 1600, 60.0, 1}));
    EXPECT_EQ(displays.allModes(id, {false}).size(), 1u);
    EXPECT_EQ(displays.allModes(id, {true}).size(), 2u);
    EXPECT_EQ(displays.bounds(id).x, 1512 + 1920);  // joins right of the desktop
}

TEST_F(VirtualDisplayTest, RefusedDescriptorsAndSettings) {
    auto bad = descriptor(1280, 800);
    bad.serialNumber = 78;
    EXPECT_EQ(app->virtualDisplays().create(bad), nullptr);
    bad = descriptor(1280, 800);
    bad.name.clear();
    EXPECT_EQ(app->virtualDisplays().create(bad), nullptr);

    auto display = app->virtualDisplays().create(descriptor(1280, 800));
    ASSERT_TRUE(display);
    EXPECT_FALSE(display->applySettings({1, {}}));
    EXPECT_FALSE(display->applySettings({1, {{1281, 800, 60.0}}}));  // beyond maxPixelsWide at 2x
    EXPECT_EQ(online().size(), 2u);                                  // not online without settings
    EXPECT_TRUE(display->applySettings({1, {{1280, 800, 60.0}}}));
    EXPECT_EQ(online().size(), 3u);
}

TEST_F(VirtualDisplayTest, RemovingTheMainVirtualDisplayRestoresAnExtendedDesktop) {
    auto display = createVirtual(1280, 800);
    ASSERT_TRUE(display);
    const auto source = display->displayID();
    fit(source);
    const auto builtin = named(state(), "builtin").id;
    const auto external = named(state(), "external").id;
    EXPECT_EQ(worker->displays().mainDisplayID(), source);
    EXPECT_EQ(worker->displays().mirrorSource(external), source);
    ASSERT_EQ(app->screens().screens().size(), 1u);

    display.reset();
    EXPECT_EQ(worker->displays().mainDisplayID(), builtin);
    EXPECT_EQ(worker->displays().mirrorSource(builtin), 0u);
    EXPECT_EQ(worker->displays().mirrorSource(external), 0u);
    EXPECT_EQ(worker->displays().bounds(external).x, 1512);
}

// Starting low, vanishing late and lingering are exercised by the engine's own tests.
TEST_F(VirtualDisplayTest, ComesOnlineAsLateAsTheHostSays) {
    VirtualDisplayBehaviour behaviour;
    behaviour.onlineDelay = 0.6;
    app->admin().setVirtualDisplayBehaviour(behaviour);
    auto display = createVirtual(1280, 800);
    ASSERT_TRUE(display);
    scheduler.advanceBy(0.5);
    EXPECT_EQ(online().size(), 2u);
    scheduler.advanceBy(0.2);
    EXPECT_EQ(online().size(), 3u);
}

}  // namespace
}  // namespace dorvane::host
