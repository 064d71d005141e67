#include <gtest/gtest.h>

#include <set>

#include "Dorvane/Visual/ApplicationIcon.h"
#include "Dorvane/Toolbar/ApplicationShortcutFlyoutView.h"
#include "Dorvane/Toolbar/LayoutFlyoutView.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "DorvaneCore/Input/KeyCombination.h"
#include "tests/Dorvane/Toolbar/ToolbarHarness.h"

namespace dorvane {
namespace {

using geometry::Rect;
using testing::tap;

// The expanded toolbar on the left of the host's desk, with nine shortcuts kept for the
// terminal.
class ToolbarFlyoutsTest : public testing::DeskToolbarTest {
protected:
    void SetUp() override {
        DeskToolbarTest::SetUp();
        ApplicationShortcuts terminal{"local.host.Terminal", "终端", "/Applications/终端.app", {}};
        for (int i = 0; i < 9; ++i) {
            terminal.shortcuts.emplace_back("t" + std::to_string(i), "命令" + std::to_string(i),
                                            parseKeyCombination("cmd+" + std::to_string(i + 1)));
        }
        preferences.applicationShortcutsEnabled = true;
        preferences.applicationShortcuts = {terminal};
        front("终端");
        expandOn(ToolbarSide::left);
    }

    // A click of the host at a toolkit point: on another application, the desktop or one of
    // the program's windows, whichever lies there.
    void click(geometry::Point point) {
        reporter->flush();
        tool->windowsAdmin().click({point.x, 924 - point.y}, std::nullopt);
        scheduler.runUntilIdle();
        testing::settle();
    }
    static geometry::Point middle(const Rect& frame) { return frame.mid(); }
    bool shown(ToolbarPanel* panel) const { return panel != nullptr && panel->isVisible(); }

    ApplicationShortcutFlyoutView* shortcutsView() const {
        return static_cast<ApplicationShortcutFlyoutView*>(toolbar->applicationPanel()->glass()->embedded());
    }
};

TEST_F(ToolbarFlyoutsTest, TheWindowButtonOpensTheLayoutsBesideTheStripAndAPickRunsIt) {
    ToolbarButton* window = toolbar->toolbar()->windowButton();
    ASSERT_NE(window, nullptr);
    tap(*window);
    ToolbarPanel* flyout = toolbar->windowPanel();
    ASSERT_TRUE(shown(flyout));
    EXPECT_EQ(flyout->windowTitle(), QStringLiteral("Corvelle 布局"));
    EXPECT_TRUE(flyout->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(flyout->frame(), (Rect{80, 8, 300, 296}));
    auto* view = static_cast<LayoutFlyoutView*>(flyout->glass()->embedded());
    ASSERT_EQ(view->tiles().size(), 13u);
    std::map<int, int> rows;
    for (const auto* tile : view->tiles()) ++rows[tile->y()];
    std::vector<int> perRow;
    for (const auto& [y, n] : rows) perRow.push_back(n);
    EXPECT_EQ(perRow, (std::vector<int>{4, 4, 4, 1}));
    EXPECT_EQ(view->tiles().front()->toolTip(), QStringLiteral("填充"));
    EXPECT_TRUE(toolbar->watchesOutsideClicks());
    EXPECT_TRUE(window->selected) << "the button reads as pressed while its flyout is open";

    tap(*view->tiles()[2]);
    EXPECT_FALSE(shown(flyout));
    EXPECT_FALSE(window->selected);
    EXPECT_EQ(calls.back(), "arrange halves");
    EXPECT_FALSE(toolbar->watchesOutsideClicks());

    // Tapped again it closes, and the mark goes with it.
    tap(*window);
    ASSERT_TRUE(window->selected);
    tap(*window);
    EXPECT_FALSE(shown(flyout));
    EXPECT_FALSE(window->selected);
}

TEST_F(ToolbarFlyoutsTest, TheApplicationFlyoutFitsItsGridBesideTheStripAndScrollsWhenLow) {
    ToolbarButton* application = toolbar->toolbar()->applicationButton();
    ASSERT_NE(application, nullptr) << "the terminal has shortcuts and a window";
    // Without an icon file the button shows the lettered square the launcher and the
    // settings draw for the application, in its own colour.
    EXPECT_TRUE(application->showsIcon());
    const QImage face = application->grab().toImage();
    const QColor own = applicationIconColor(QStringLiteral("终端"));
    bool square = false;
    for (int y = 0; y < face.height() && !square; ++y) {
        for (int x = 0; x < face.width() && !square; ++x) square = face.pixelColor(x, y) == own;
    }
    EXPECT_TRUE(square);
    tap(*application);
    ASSERT_TRUE(shown(toolbar->applicationPanel()));
    EXPECT_EQ(toolbar->applicationPanel()->frame().size(), (geometry::Size{264, 202}));
    EXPECT_EQ(shortcutsView()->tiles().size(), 9u);
    EXPECT_FALSE(shortcutsView()->scrolls());
    EXPECT_TRUE(application->selected);
    // Between the tiles the glass shows through: the grid paints no background of its own.
    QImage grid(shortcutsView()->size(), QImage::Format_ARGB32_Premultiplied);
    grid.fill(Qt::transparent);
    shortcutsView()->render(&grid, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(qAlpha(grid.pixel(68, 20)), 0);

    // A tile sends its shortcut to the application and closes the flyout.
    tap(*shortcutsView()->tiles()[3]);
    scheduler.advanceBy(1);
    EXPECT_FALSE(shown(toolbar->applicationPanel()));
    EXPECT_FALSE(application->selected);
    const auto keys = keysTo(pids.at("终端"));
    EXPECT_NE(std::find(keys.begin(), keys.end(), "keyDown(21)"), keys.end()) << "cmd+4";

    // 300 points beside the strip and 180 high: the same grid, lower, scrolling.
    setDisplay(372, 204);
    scheduler.runUntilIdle();
    // The footer is longer than this screen is high: the button is reached as assistive
    // technology does.
    ASSERT_NE(toolbar->toolbar()->applicationButton(), nullptr);
    toolbar->toolbar()->applicationButton()->accessibilityPerformPress();
    ASSERT_TRUE(shown(toolbar->applicationPanel()));
    EXPECT_EQ(toolbar->applicationPanel()->frame().size(), (geometry::Size{264, 164}));
    EXPECT_TRUE(shortcutsView()->scrolls());
}

TEST_F(ToolbarFlyoutsTest, OutsideClicksCloseWhatTheyMissExceptTheOpenCompanion) {
    // A click on another application closes the layouts.
    tap(*toolbar->toolbar()->windowButton());
    ASSERT_TRUE(shown(toolbar->windowPanel()));
    click({700, 424});
    EXPECT_FALSE(shown(toolbar->windowPanel()));
    EXPECT_FALSE(toolbar->toolbar()->windowButton()->selected);

    // Both flyouts open: a click in the application flyout is still outside the layouts, so
    // both close, and the tile under it sends nothing.
    tap(*toolbar->toolbar()->applicationButton());
    tap(*toolbar->toolbar()->windowButton());
    ASSERT_TRUE(shown(toolbar->applicationPanel()) && shown(toolbar->windowPanel()));
    const auto before = keysTo(pids.at("终端")).size();
    const QRect tile(shortcutsView()->tiles()[0]->mapToGlobal(QPoint(0, 0)), QSize(56, 58));
    click({double(tile.center().x()), 924.0 - tile.center().y()});
    scheduler.advanceBy(1);
    EXPECT_FALSE(shown(toolbar->applicationPanel()));
    EXPECT_FALSE(shown(toolbar->windowPanel()));
    EXPECT_EQ(keysTo(pids.at("终端")).size(), before);

    // The launcher open beside the toolbar stays open for clicks on it, not elsewhere (both
    // on the desktop, under the windows).
    calls.clear();
    companion = Rect{72, 0, 180, 900};
    toolbar->setActivePanel(FloatingAction::runningApplications);
    toolbar->updateDismissalMonitors();
    click({100, 10});
    EXPECT_TRUE(calls.empty());
    click({900, 10});
    EXPECT_EQ(calls, (std::vector<std::string>{"dismiss"}));
    EXPECT_FALSE(toolbar->watchesOutsideClicks());
}

// Collapsing the strip takes both flyouts with it at once, and with them the outside-click
// watch; the layouts open again once the strip is back.
TEST_F(ToolbarFlyoutsTest, CollapsingTheStripClosesTheLayoutsToo) {
    tap(*toolbar->toolbar()->applicationButton());
    tap(*toolbar->toolbar()->windowButton());
    ASSERT_TRUE(shown(toolbar->windowPanel()) && shown(toolbar->applicationPanel()));
    toolbar->toggleList();
    EXPECT_FALSE(shown(toolbar->windowPanel()));
    EXPECT_FALSE(shown(toolbar->applicationPanel()));
    scheduler.advanceBy(1);
    EXPECT_FALSE(toolbar->expanded());
    EXPECT_FALSE(shown(toolbar->windowPanel()));
    EXPECT_FALSE(toolbar->watchesOutsideClicks());

    toolbar->toggleList();
    scheduler.advanceBy(1);
    tap(*toolbar->toolbar()->windowButton());
    EXPECT_TRUE(shown(toolbar->windowPanel()));
}

TEST_F(ToolbarFlyoutsTest, AnApplicationWithoutShortcutsInFrontDropsTheApplicationButton) {
    const pid_t terminal = pids.at("终端");
    ASSERT_EQ(toolbar->displayedApplicationPID(), terminal);
    tap(*toolbar->toolbar()->applicationButton());
    ASSERT_TRUE(shown(toolbar->applicationPanel()));
    log.clear();
    front("编辑器");
    EXPECT_EQ(logged("application-shortcut-target"),
              (std::vector<std::string>{"application-shortcut-target front=" + std::to_string(pids.at("编辑器")) +
                                        " previous=" + std::to_string(terminal) + " next=0"}));
    EXPECT_FALSE(shown(toolbar->applicationPanel()));
    EXPECT_EQ(toolbar->toolbar()->applicationButton(), nullptr);
    // A scan that finds the same windows changes nothing.
    scheduler.advanceBy(3);
    EXPECT_EQ(logged("application-shortcut-target").size(), 1u);
}

}  // namespace
}  // namespace dorvane
