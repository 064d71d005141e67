#include <gtest/gtest.h>

#include <string>

#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

// A person at the machine changes the look and drives a window command at an application
// that has no window: the running program says so in a notice, which the host records as
// spoken.
TEST_F(ApplicationCliTest, NoticesAreSpokenThroughTheHostWhileTheAppearanceChanges) {
    ASSERT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
    ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
    start();
    ASSERT_TRUE(ready()) << program->err();

    EXPECT_EQ(host({"appearance", "dark"}).status, 0);
    EXPECT_EQ(host({"appearance", "reduce-motion", "on"}).status, 0);
    EXPECT_EQ(host({"appearance", "show"}).out, "Appearance: dark\nReduce Motion: on\n");

    EXPECT_EQ(host({"announcements"}).out.find("没有可操作的窗口"), std::string::npos);
    ASSERT_EQ(host({"windows", "add-app", "编辑器"}).status, 0);
    ASSERT_EQ(host({"notify", "com.corvelle.debug.window", "--object", "control:close"}).status, 0);
    EXPECT_TRUE(testing::eventually(
        [&] { return host({"announcements"}).out.find("没有可操作的窗口") != std::string::npos; }))
        << program->err();

    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
    EXPECT_EQ(program->err().find("does not support"), std::string::npos) << "no platform noise for the user";
}

}  // namespace
}  // namespace dorvane
