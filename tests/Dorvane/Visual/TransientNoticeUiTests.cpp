#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>

#include "Dorvane/Visual/NoticeContent.h"
#include "Dorvane/Visual/TransientNotice.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"

namespace dorvane {
namespace {

using geometry::Rect;

// A 1440 × 900 screen; areas are toolkit frames on it, so Qt's y is 900 less their top.
class NoticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        notice = std::make_unique<TransientNotice>(TransientNotice::Services{
            scheduler.mainQueue(), [] { return ScreenSpace{900}; },
            [this](const std::string& text) { announced.push_back(text); },
            // Ten points a character: the card's width follows the text's, not the font's.
            [](std::string_view text, const TextFont&) {
                return 10.0 * static_cast<double>(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).size());
            }});
    }

    bool shown() const { return notice->panel() != nullptr && notice->panel()->isVisible(); }
    QRect card() const { return notice->panel()->glassFrame(); }

    testing::LightAppearance appearance;
    dispatch::SimulatedScheduler scheduler{100.0};
    std::vector<std::string> announced;
    std::unique_ptr<TransientNotice> notice;
    const Rect screen{0, 0, 1440, 900};
};

TEST_F(NoticeTest, APassiveCardHangsUnderTheTopOfTheAreaAndIsAnnounced) {
    notice->show("自动切换未完成", std::string("  没有可用的规格 \n"), screen);
    ASSERT_TRUE(shown());
    GlassPanel* panel = notice->panel();
    const Qt::WindowFlags flags = panel->windowFlags();
    for (const auto flag : {Qt::Tool, Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint, Qt::WindowDoesNotAcceptFocus,
                            Qt::WindowTransparentForInput}) {
        EXPECT_TRUE(flags.testFlag(flag)) << flag;
    }
    EXPECT_TRUE(panel->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(panel->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("Corvelle 提示"));
    EXPECT_EQ(panel->level(), 25);
    EXPECT_NE(QApplication::activeWindow(), panel);

    // 7 characters of title, 7 of detail: 70 + 58 is below the 180-point minimum.
    EXPECT_EQ(card().x(), 720 - 90);
    EXPECT_EQ(card().y(), 32);
    EXPECT_EQ(card().width(), 180);
    EXPECT_GE(card().height(), 48);
    EXPECT_EQ(card().height(), static_cast<int>(std::lround(std::max(
                                   48.0, NoticeContent(NoticeText("自动切换未完成", "没有可用的规格")).fittingHeight(180)))));
    // The shadow lies under the card in a window of its own that takes no input.
    ASSERT_NE(panel->shadowWindow(), nullptr);
    EXPECT_TRUE(panel->shadowWindow()->isVisible());
    EXPECT_TRUE(panel->shadowWindow()->geometry().contains(card()));
    EXPECT_TRUE(panel->shadowWindow()->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_EQ(announced, std::vector<std::string>{"自动切换未完成，没有可用的规格"});
    EXPECT_EQ(notice->shownText()->detail, std::optional<std::string>("没有可用的规格"));

    // A blank detail, or one that repeats the title, is left out of the card and the words.
    notice->show("设置文件未写入", std::string(" \n "), screen);
    notice->show("设置文件未写入", std::string("设置文件未写入"), screen);
    EXPECT_EQ(announced.back(), "设置文件未写入");
    EXPECT_EQ(notice->shownText()->detail, std::nullopt);
}

TEST_F(NoticeTest, WidthsAreCappedByTheCardAndTheAreaAndShortAreasKeepTheBottomClear) {
    const std::string longTitle(60, 'x');
    notice->show(longTitle, std::nullopt, screen);
    EXPECT_EQ(card().width(), 420);
    notice->show(longTitle, std::nullopt, Rect{100, 100, 300, 400});
    EXPECT_EQ(card().width(), 300 - 32);
    EXPECT_EQ(card().x(), 250 - 134);

    // A 60-point area: at most 28 tall, its bottom 16 above the area's.
    notice->show("提示", std::string("第二行"), Rect{0, 500, 800, 60});
    EXPECT_EQ(card().height(), 28);
    EXPECT_EQ(card().y() + card().height(), 900 - 500 - 16);
}

TEST_F(NoticeTest, ANewNoticeReplacesTheOldAndLivesThreeSecondsFromItsOwnShow) {
    notice->show("第一条", std::nullopt, screen);
    GlassPanel* panel = notice->panel();
    scheduler.advanceBy(2);
    notice->show("第二条", std::nullopt, screen);
    EXPECT_EQ(notice->panel(), panel) << "one panel, kept for reuse";
    scheduler.advanceBy(2);
    ASSERT_TRUE(shown()) << "the first notice's expiry must not hide the second";
    EXPECT_EQ(notice->shownText()->title, "第二条");
    scheduler.advanceBy(1);
    EXPECT_FALSE(shown());
    EXPECT_EQ(notice->panel(), panel);
    EXPECT_EQ(panel->glass(), nullptr);
    EXPECT_FALSE(notice->lifetime().isPending());
}

TEST_F(NoticeTest, AnEmptyAreaLeavesTheShownNoticeToItsOwnTime) {
    notice->show("第一条", std::nullopt, screen);
    const auto generation = notice->lifetime().generation();
    scheduler.advanceBy(1);
    notice->show("第二条", std::nullopt, Rect{0, 0, 1440, 0});
    notice->show("第二条", std::nullopt, Rect{0, 0, 0, 300});
    EXPECT_EQ(notice->shownText()->title, "第一条");
    EXPECT_EQ(notice->lifetime().generation(), generation);
    EXPECT_EQ(announced.size(), 1u);
    scheduler.advanceBy(2);
    EXPECT_FALSE(shown());
}

TEST_F(NoticeTest, DismissingOrEndingTheNoticeStopsItsExpiry) {
    notice->show("第一条", std::nullopt, screen);
    notice->dismiss();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(notice->lifetime().isPending());
    notice->show("第二条", std::nullopt, screen);
    QPointer<GlassPanel> panel = notice->panel();
    notice.reset();
    EXPECT_FALSE(panel);
    scheduler.advanceBy(5);  // the sleeping expiry finds nothing to hide
}

}  // namespace
}  // namespace dorvane
