#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "Dorvane/Shell/Controller/AdjustmentKeeper.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"

namespace dorvane::shell {
namespace {

const EngineStatus appliedWide{"已应用", std::nullopt, true, Dimensions(2560, 1440)};

TEST(StatusKeeperTest, AResultIsWantedOnlyUntilANewerOperationOrAQuitBegins) {
    StatusKeeper keeper(titled("已就绪"));
    EXPECT_FALSE(keeper.busy());

    const std::int64_t first = keeper.beginNewerOperation();
    EXPECT_TRUE(keeper.applying());
    EXPECT_TRUE(keeper.busy());
    EXPECT_TRUE(keeper.current(first));
    keeper.endOperation();
    EXPECT_FALSE(keeper.busy());

    const std::int64_t second = keeper.beginNewerOperation();
    EXPECT_NE(second, first);
    EXPECT_FALSE(keeper.current(first));
    EXPECT_TRUE(keeper.current(second));
    keeper.finishOperation(appliedWide);

    // An automatic operation keeps the generation: it checks against the one it found.
    keeper.beginOperation();
    EXPECT_EQ(keeper.generation(), second);
    EXPECT_TRUE(keeper.current(second));

    keeper.beginQuit();
    EXPECT_TRUE(keeper.terminating());
    EXPECT_FALSE(keeper.current(second));
    EXPECT_FALSE(keeper.current(keeper.generation()));  // nothing is wanted while quitting

    // A refused quit leaves nothing running, and the result of what ran before stays dropped.
    keeper.quitRefused();
    EXPECT_FALSE(keeper.terminating());
    EXPECT_FALSE(keeper.applying());
    EXPECT_FALSE(keeper.busy());
    EXPECT_FALSE(keeper.current(second));
    EXPECT_TRUE(keeper.current(keeper.generation()));
}

TEST(StatusKeeperTest, TitlesChangeWhatTheySayAndKeepWhatIsApplied) {
    StatusKeeper keeper(titled("正在检测运行环境…"));
    keeper.beginOperation();
    keeper.finishOperation(appliedWide);
    EXPECT_EQ(keeper.status(), appliedWide);
    EXPECT_FALSE(keeper.applying());

    keeper.retitle("保存失败", std::string("磁盘已满"));
    EXPECT_EQ(keeper.status(), (EngineStatus{"保存失败", "磁盘已满", true, Dimensions(2560, 1440)}));
    keeper.retitle("正在还原屏幕…");  // the detail stays
    EXPECT_EQ(keeper.status(), (EngineStatus{"正在还原屏幕…", "磁盘已满", true, Dimensions(2560, 1440)}));
    keeper.retitle("正在应用…", std::nullopt);
    EXPECT_EQ(keeper.status(), (EngineStatus{"正在应用…", std::nullopt, true, Dimensions(2560, 1440)}));

    // An operation that ends without a result leaves the status as it was.
    keeper.beginOperation();
    keeper.endOperation();
    EXPECT_EQ(keeper.status().title, "正在应用…");

    keeper.report(titled("已还原屏幕"));
    EXPECT_EQ(keeper.status(), titled("已还原屏幕"));
}

TEST(AdjustmentKeeperTest, OnlyASavedCopyMarksTheAdjustmentAndOnlyAChangeOfItClearsTheMark) {
    const ResolutionAdjustment wide(Dimensions(2560, 1440), 100);
    const ResolutionAdjustment scaled(Dimensions(2560, 1440), 80);
    AdjustmentKeeper keeper(wide);
    EXPECT_EQ(keeper.adjustment(), wide);
    EXPECT_FALSE(keeper.copySaved());

    keeper.savedAsCopy(scaled);
    EXPECT_EQ(keeper.adjustment(), scaled);
    EXPECT_TRUE(keeper.copySaved());

    // The selection moving beneath the adjustment keeps the mark.
    keeper.follow(wide);
    EXPECT_EQ(keeper.adjustment(), wide);
    EXPECT_TRUE(keeper.copySaved());

    keeper.select(scaled);
    EXPECT_EQ(keeper.adjustment(), scaled);
    EXPECT_FALSE(keeper.copySaved());

    keeper.savedAsCopy(wide);
    keeper.forgetCopy();
    EXPECT_EQ(keeper.adjustment(), wide);
    EXPECT_FALSE(keeper.copySaved());
}

}  // namespace
}  // namespace dorvane::shell
