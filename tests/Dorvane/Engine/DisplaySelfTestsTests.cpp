#include <gtest/gtest.h>

#include "Dorvane/Engine/DisplaySelfTests.h"
#include "DorvaneCore/Core/FitError.h"
#include "tests/Dorvane/Engine/EngineHarness.h"

namespace dorvane {
namespace {

TEST(DisplaySelfTestsTest, ASessionFileThatVanishesFailsTheCheckThatExpectsItKept) {
    testing::EngineHarness h;
    // The last size is applied and checked twice; the file goes before the invalid size is tried.
    int lastSizeSnapshots = 0;
    h.recorded.before = [&](const std::string& command) {
        if (command != "snapshot" || h.engine->applied() != Dimensions(1400, 630)) return;
        if (++lastSizeSnapshots == 2) std::filesystem::remove(h.root / "session.json");
    };

    std::string failure = "no failure";
    try {
        h.await(h.engine->perform([](DisplayEngine& engine) { DisplaySelfTests::smokeCaptureReplacement(engine); }));
    } catch (const FitError& error) {
        failure = error.what();
    }
    EXPECT_EQ(failure, "无效规格改变了当前屏幕");
    EXPECT_EQ(lastSizeSnapshots, 2);
    EXPECT_TRUE(h.virtualDisplays().empty());
}

}  // namespace
}  // namespace dorvane
