#include <gtest/gtest.h>

#include <QAccessible>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Settings/FixedSettingsPermissions.h"
#include "Dorvane/Settings/ResolutionPanelControls.h"
#include "Dorvane/Settings/ResolutionPanelView.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "Platform/System/LoginItems.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

using testing::click;
using testing::settle;
using Calls = std::vector<std::string>;

// The panel as the host gets it through the settings views, with every callback recorded.
class ResolutionPanelViewTest : public ::testing::Test {
protected:
    ResolutionPanelViewTest() {
        model.onCustom = [this](const std::string& id) { calls.push_back("onCustom(" + id + ")"); };
        model.onScale = [this](std::int64_t percent) { calls.push_back("onScale(" + std::to_string(percent) + ")"); };
        Preferences preferences;
        preferences.customPresets = {{"a", "办公", 1280, 720, 100}, {"b", "平板", 2400, 1600, 200}};
        preferences.selectedCustomID = "b";
        model.setPreferences(preferences);
        model.setAdjustment(ResolutionAdjustment(Dimensions{1200, 800}, 100));
    }

    ResolutionPanelView& open(int width = 360) {
        shell::ResolutionContent content{model.preferences().selectedCustomID, [this] { calls.push_back("close"); },
                                         [this] { calls.push_back("restore"); },
                                         [this](double height) { heights.push_back(height); }};
        widget = views.makeResolutionPanelView(model, content);
        auto* panel = dynamic_cast<ResolutionPanelView*>(widget.get());
        EXPECT_NE(panel, nullptr);
        testing::showActive(*widget, QRect(0, 0, width, 420));
        settle();
        return *panel;
    }

    testing::LightAppearance appearance;
    ControlPanelModel model;
    Calls calls;
    std::vector<double> heights;
    testing::TemporaryFolder folder{"corvelle-panel"};
    SettingsViews views{std::make_unique<FixedSettingsPermissions>(true),
                        std::make_unique<system::XdgAutostartLoginItems>(folder.path() / "autostart", "/bin/true"),
                        folder.path()};
    std::unique_ptr<QWidget> widget;
};

TEST_F(ResolutionPanelViewTest, TheMarkedCellOnlyClosesAnotherCallsOnCustomAndTheSelectionComesFirst) {
    model.setApplied(Dimensions{1200, 800});
    ResolutionPanelView& panel = open();
    ASSERT_EQ(panel.cells().size(), 2u);
    EXPECT_EQ(panel.cells()[0]->cell().preset.id, "b") << "the selection when the panel was built";
    EXPECT_TRUE(panel.cells()[0]->cell().applied);
    EXPECT_FALSE(panel.inactiveBadge()->isVisible());
    click(*panel.cell("b"));
    EXPECT_EQ(calls, Calls{"close"});
    click(*panel.cell("a"));
    EXPECT_EQ(calls, (Calls{"close", "onCustom(a)"}));
    click(*panel.restoreButton());
    EXPECT_EQ(calls.back(), "restore");

    // Assistive technology reads the mark and the current size as selected states, and
    // presses cells and steps as a click would.
    const auto selected = [](QWidget* control) {
        const QAccessible::State state = QAccessible::queryAccessibleInterface(control)->state();
        EXPECT_TRUE(state.selectable);
        return static_cast<bool>(state.selected);
    };
    EXPECT_TRUE(selected(panel.cell("b")));
    EXPECT_FALSE(selected(panel.cell("a")));
    EXPECT_TRUE(selected(panel.segments()->segment(100)));
    EXPECT_FALSE(selected(panel.segments()->segment(110)));
    calls.clear();
    for (QWidget* control : {static_cast<QWidget*>(panel.cell("a")), static_cast<QWidget*>(panel.segments()->segment(110))}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        EXPECT_EQ(accessible->role(), QAccessible::Button);
        ASSERT_NE(accessible->actionInterface(), nullptr);
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(calls, (Calls{"onCustom(a)", "onScale(110)"}));

    // Another selection later keeps the order; nothing applied marks nothing.
    Preferences preferences = model.preferences();
    preferences.selectedCustomID = "a";
    model.setPreferences(preferences);
    model.setApplied(std::nullopt);
    settle();
    EXPECT_EQ(panel.cells()[0]->cell().preset.id, "b");
    EXPECT_FALSE(panel.cell("a")->cell().applied);
    EXPECT_FALSE(selected(panel.cell("b")));
    EXPECT_FALSE(selected(panel.segments()->segment(100))) << "current, but nothing is applied";
    EXPECT_TRUE(panel.inactiveBadge()->isVisible());
    EXPECT_EQ(panel.inactiveBadge()->text(), QStringLiteral("未启用"));
}

TEST_F(ResolutionPanelViewTest, SegmentsOutOfRangeAreDisabledAndEveryOtherTapCallsOnScale) {
    // From 3200 wide, 80 % would take the width past 3840.
    model.setAdjustment(ResolutionAdjustment(Dimensions{3200, 1800}, 100));
    model.setApplied(Dimensions{3200, 1800});
    ResolutionPanelView& panel = open();
    for (std::int64_t percent : {120, 110, 100, 90, 80}) {
        QAbstractButton* segment = panel.segments()->segment(percent);
        ASSERT_NE(segment, nullptr);
        const bool inRange = model.adjustment().settingScale(percent).has_value();
        EXPECT_EQ(segment->isEnabled(), inRange) << percent;
        calls.clear();
        click(*segment);
        EXPECT_EQ(calls, inRange ? Calls{"onScale(" + std::to_string(percent) + ")"} : Calls{}) << percent;
    }
}

TEST_F(ResolutionPanelViewTest, WhileApplyingTapsDoNothingButEscapeCloses) {
    model.setApplied(Dimensions{1200, 800});
    ResolutionPanelView& panel = open();
    model.setApplying(true);
    settle();
    click(*panel.cell("a"));
    click(*panel.segments()->segment(110));
    click(*panel.restoreButton());
    EXPECT_TRUE(calls.empty());
    testing::key(*widget, Qt::Key_Escape);
    settle();
    EXPECT_EQ(calls, Calls{"close"});
}

TEST_F(ResolutionPanelViewTest, TheReportedHeightIsTheContentsPlus32AndFollowsIt) {
    ResolutionPanelView& panel = open();
    ASSERT_EQ(heights.size(), 1u);
    EXPECT_EQ(heights[0], panel.measuredHeight() + 32);
    model.setDetail("无法创建虚拟显示器");
    settle();
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_GT(heights[1], heights[0]);
    EXPECT_EQ(heights[1], panel.measuredHeight() + 32);
    EXPECT_EQ(panel.detailText()->text(), QStringLiteral("无法创建虚拟显示器"));
}

// Short content sits against the toolbar: at the bottom of the scrolled area for a toolbar
// at the bottom, at its top (and to the right for a toolbar on the right) otherwise.
TEST_F(ResolutionPanelViewTest, ShortContentSitsAgainstTheToolbarsSide) {
    for (const ToolbarSide side : {ToolbarSide::left, ToolbarSide::right, ToolbarSide::bottom}) {
        Preferences preferences = model.preferences();
        preferences.toolbarSide = side;
        model.setPreferences(preferences);
        ResolutionPanelView& panel = open(900);
        const QRect content = panel.content()->geometry();
        const QRect frame = panel.content()->parentWidget()->rect();
        ASSERT_LT(content.height(), frame.height()) << "the content is short";
        EXPECT_EQ(content.top() == 0, side != ToolbarSide::bottom) << rawValue(side);
        EXPECT_EQ(content.bottom() == frame.bottom(), side == ToolbarSide::bottom) << rawValue(side);
        EXPECT_EQ(content.right() == frame.right(), side == ToolbarSide::right) << rawValue(side);
    }
}

TEST_F(ResolutionPanelViewTest, ColumnsFollowTheWidth) {
    ResolutionPanelView& panel = open(200 + 2 * ResolutionPanelView::padding);
    EXPECT_EQ(panel.columnCount(), 1);
    widget->resize(330 + 2 * ResolutionPanelView::padding, 420);
    settle();
    EXPECT_EQ(panel.columnCount(), 3);
}

// The titles that tell presets apart are read whole: every title of a grid in one size, on
// up to two lines before anything is cut; only a title too long for two lines at the
// smaller size is shortened, at the end of its second line.
TEST_F(ResolutionPanelViewTest, TitlesShareOneSizeAndTakeTwoLinesBeforeTheyAreCut) {
    Preferences preferences = model.preferences();
    preferences.customPresets = {{"a", "手机横屏（保留操作栏）", 1294, 720, 100},
                                 {"b", "平板", 1180, 820, 100},
                                 {"c", "标准宽屏", 1280, 720, 100}};
    model.setPreferences(preferences);
    ResolutionPanelView& panel = open();
    ASSERT_EQ(panel.columnCount(), 3);
    const auto cells = panel.cells();
    for (const ResolutionPanelCell* cell : cells) {
        EXPECT_EQ(cell->titleSize(), cells.front()->titleSize()) << cell->text().toStdString();
        EXPECT_EQ(cell->titleLines().join(QString()), cell->text()) << "whole: " << cell->text().toStdString();
        EXPECT_EQ(cell->height(), cells.front()->height()) << "one row, one height";
    }
    EXPECT_EQ(panel.cell("a")->titleLines().size(), 2);
    EXPECT_EQ(panel.cell("a")->titleSize(), DesignTokens::fontBody) << "two lines came before a smaller size";

    // Longer than two lines even at the smaller size: the grid shrinks, that title alone is cut.
    preferences.customPresets[1].name = "一个非常非常非常非常长的规格名称用来测试";
    model.setPreferences(preferences);
    settle();
    const double shrunk = DesignTokens::fontBody * 0.85;
    for (const ResolutionPanelCell* cell : panel.cells()) EXPECT_DOUBLE_EQ(cell->titleSize(), shrunk);
    const QStringList cut = panel.cell("b")->titleLines();
    ASSERT_EQ(cut.size(), 2);
    EXPECT_TRUE(cut.back().endsWith(QChar(0x2026)));
    EXPECT_EQ(panel.cell("a")->titleLines().join(QString()), panel.cell("a")->text());
}

// A preset added from the device templates keeps "横屏" whole at every width of the panel:
// its title breaks at its spaces and "·" first.
TEST_F(ResolutionPanelViewTest, TemplateTitlesBreakBetweenWordsAtEveryWidth) {
    Preferences preferences = model.preferences();
    preferences.customPresets = {{"template:catalog:iphone-17-pro-max-landscape", "iPhone 17 Pro Max · 横屏", 956, 440, 100},
                                 {"b", "平板", 1180, 820, 100},
                                 {"c", "书房显示器", 1920, 1080, 125}};
    model.setPreferences(preferences);
    ResolutionPanelView& panel = open();
    int wrapped = 0;
    for (int width = 200; width <= 600; width += 10) {
        widget->resize(width + 2 * static_cast<int>(ResolutionPanelView::padding), 420);
        settle();
        const QStringList lines = panel.cell("template:catalog:iphone-17-pro-max-landscape")->titleLines();
        if (lines.size() > 1) ++wrapped;
        for (qsizetype line = 1; line < lines.size(); ++line) {
            EXPECT_FALSE(lines[line - 1].endsWith(QStringLiteral("横")) && lines[line].startsWith(QStringLiteral("屏")))
                << "width " << width << ": " << lines.join(QStringLiteral(" / ")).toStdString();
        }
    }
    EXPECT_GT(wrapped, 0) << "some widths wrap the title";
}

}  // namespace
}  // namespace dorvane
