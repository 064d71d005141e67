#include <gtest/gtest.h>

#include <memory>

#include "Dorvane/QtHost/QtApplicationPlatform.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"

namespace dorvane {
namespace {

// The user's theme over the system's appearance, followed on the main queue as a person
// changes it from outside.
TEST(AppearanceTest, TheLookIsTheThemeElseTheSystemsAndMotionIsTheSystems) {
    testing::LightAppearance reset;
    dispatch::SimulatedScheduler scheduler{100.0};
    auto store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost app{store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue()};
    host::SimulatedHost person{store, processes::ProcessRole::tool, scheduler};
    qthost::QtApplicationPlatform platform;
    platform.applyTheme(AppTheme::system);
    platform.followAppearance(app.appearance(), scheduler.mainQueue());
    const auto& look = VisualAppearance::shared();
    int changes = 0;
    QObject::connect(&look, &VisualAppearance::changed, [&changes] { ++changes; });
    EXPECT_FALSE(look.dark());

    person.systemAdmin().setInterfaceStyle(system::InterfaceStyle::dark);
    scheduler.runUntilIdle();
    EXPECT_TRUE(look.dark());
    EXPECT_EQ(changes, 1);
    platform.applyTheme(AppTheme::light);
    EXPECT_FALSE(look.dark()) << "the user's choice wins";
    platform.applyTheme(AppTheme::system);
    EXPECT_TRUE(look.dark());
    person.systemAdmin().setReduceMotion(true);
    scheduler.runUntilIdle();
    EXPECT_TRUE(look.reduceMotion());
    platform.applyTheme(AppTheme::dark);
    person.systemAdmin().setInterfaceStyle(system::InterfaceStyle::light);
    scheduler.runUntilIdle();
    EXPECT_TRUE(look.dark());
    EXPECT_EQ(changes, 4);
}

}  // namespace
}  // namespace dorvane
