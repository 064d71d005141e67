#include <gtest/gtest.h>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtWindowCommands.h"
#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Dorvane/Visual/TransientNotice.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane {
namespace {

// The application controller with the real toolbar and notice, on a host whose only
// display is 1440 × 924 points (a 1440 × 900 visible frame), whose lock another program
// may hold.
class ToolbarShellTest : public AppControllerTest {
protected:
    ToolbarShellTest() {
        h.engine.reset();
        h.app = std::make_unique<host::SimulatedHost>(lockable, processes::ProcessRole::application, h.scheduler,
                                                      &h.scheduler.mainQueue());
        h.engine = h.makeEngine();
        statusBar = std::make_unique<NotingStatusBar>(h.app->statusBar(), log);
        VisualAppearance::shared().set(false, true);
        h.admin().unplug("external");
        h.admin().edit([](host::HostState& state) {
            auto& display = state.displays.front();
            display.notch = false;
            auto mode = display.modes.front();
            mode.info.modeID = 900;
            mode.info.width = 1440;
            mode.info.height = 924;
            display.modes.push_back(mode);
        });
        h.admin().setMode("builtin", 900);
        catalog = std::make_unique<windows::ApplicationWindowCatalog>(
            h.scheduler.makeSerialQueue("catalog"), h.app->accessibility(),
            windows::ApplicationWindowCatalog::windowServerQuery(h.app->windowList(), h.app->applicationWorkspace(),
                                                                 h.app->process().pid),
            [this] { return h.scheduler.uptime(); });
        replaceNeighbours = [this](shell::Neighbours& neighbours) {
            auto& app = *h.app;
            const OperationLog quiet = [](std::string_view) {};
            auto toolbar = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
                h.scheduler.mainQueue(), h.scheduler, app.screens(), app.applicationWorkspace(), app.workspace(),
                app.accessibility(), *catalog, {},
                ShortcutSender::Services{app.events(), app.pointer(), app.applicationWorkspace(), app.accessibility(),
                                         app.systemSound(), h.scheduler.mainQueue(), h.scheduler, quiet, nullptr},
                quiet, app.process().pid, nullptr, {}, {}, {}});
            this->toolbar = toolbar.get();
            neighbours.toolbar = std::move(toolbar);
            auto notice = std::make_unique<TransientNotice>(TransientNotice::Services{
                h.scheduler.mainQueue(), [&app] { return ScreenSpace::of(app.screens().screens()); }, {}, {}});
            this->notice = notice.get();
            neighbours.notice = std::move(notice);
            // The window commands over the host, and the workspace layout that keeps windows
            // clear of the expanded strip.
            reporter = std::make_unique<qthost::QtOwnWindowReporter>(app.ownWindows(), reporterErrors);
            auto& actors = h.scheduler.makeSerialQueue("window-actors");
            auto commands = std::make_unique<qthost::QtWindowCommands>(
                app, h.scheduler.mainQueue(), h.scheduler, h.root, *reporter,
                qthost::QtWindowCommands::Queues{actors, actors, actors, actors});
            neighbours.workspaceLayout = commands->makeWorkspaceLayout();
            neighbours.windows = std::move(commands);
        };
    }
    ~ToolbarShellTest() override { VisualAppearance::shared().set(false, false); }

    void expandOnTheLeft() {
        Preferences preferences;
        preferences.toolbarWhenDisconnected = true;
        preferences.toolbarSide = ToolbarSide::left;
        savePreferences(preferences);
        launch();
        ASSERT_TRUE(shown()->menu.front().checked) << "显示工具条";
    }

    // The program's window on the host.
    std::optional<host::ListedWindow> listed(const std::string& title) {
        for (const auto& window : h.tool.windowsAdmin().view().windows) {
            if (window.pid == h.app->process().pid && window.title == title) return window;
        }
        return std::nullopt;
    }

    std::shared_ptr<testing::RefusingHostStore> lockable = std::make_shared<testing::RefusingHostStore>(h.store);
    std::unique_ptr<windows::ApplicationWindowCatalog> catalog;
    std::ostringstream reporterErrors;
    std::unique_ptr<qthost::QtOwnWindowReporter> reporter;
    FloatingSwitcher* toolbar = nullptr;
    TransientNotice* notice = nullptr;
};

TEST_F(ToolbarShellTest, ANoticeHangsBesideTheExpandedToolbarNotUnderIt) {
    expandOnTheLeft();
    controller->showNotice("自动切换未完成", std::string("没有可用的规格"), std::nullopt);
    ASSERT_NE(notice->panel(), nullptr);
    const QRect card = notice->panel()->glassFrame();
    // The work area beside the strip is (72, 0, 1368, 900): its middle is x = 756, its top
    // 24 points down Qt's screen.
    EXPECT_EQ(card.x() + card.width() / 2, 756);
    EXPECT_EQ(card.y(), 24 + 32);
}

TEST_F(ToolbarShellTest, AWindowDraggedUnderTheExpandedStripIsMovedClearAndStretchedBackOnCollapse) {
    trust.trusted = true;
    h.tool.permissionsAdmin().set(host::Permission::accessibility, true);
    expandOnTheLeft();
    host::ApplicationLaunch editor;
    editor.name = "编辑器";
    editor.bundleID = "com.example.editor";
    const pid_t pid = h.tool.windowsAdmin().launch(editor);
    host::WindowRecord record;
    record.pid = pid;
    record.frame = {300, 200, 600, 400};
    record.title = "文档";
    const auto window = h.tool.windowsAdmin().open(record);
    const auto frameOf = [&] {
        for (const auto& listed : h.tool.windowsAdmin().view().windows) {
            if (listed.number == window) return listed.bounds;
        }
        return geometry::Rect{};
    };
    h.scheduler.advanceBy(2);
    ASSERT_EQ(frameOf(), geometry::Rect(300, 200, 600, 400));
    // Under the 72-point strip: moved to its edge, its size kept.
    h.tool.windowsAdmin().drag(window, {40, 200, 600, 400});
    h.scheduler.advanceBy(1);
    EXPECT_EQ(frameOf(), geometry::Rect(72, 200, 600, 400));
    // Collapsing gives the strip's width back to the window that bordered it.
    toolbar->toggleList();
    h.scheduler.advanceBy(3);
    EXPECT_EQ(frameOf(), geometry::Rect(0, 200, 672, 400));
}

// "未连接时显示" switched on in the settings while another program holds the host (and
// changes nothing) is saved and checked in the menu at once, and the toolbar shows, listed
// among the host's windows, once the hold ends.
TEST_F(ToolbarShellTest, TheToolbarSwitchedOnDuringAHoldShowsOnceItEnds) {
    launch();
    reporter->start();  // the program joins the host's applications, as once it runs for good
    ASSERT_FALSE(toolbar->enabled());
    lockable->held = true;
    controller->panelModel().onToolbarWhenDisconnectedToggle(true);
    h.scheduler.advanceBy(30);
    EXPECT_TRUE(storedPreferences().toolbarWhenDisconnected);
    EXPECT_TRUE(controller->panelModel().preferences().toolbarWhenDisconnected);
    EXPECT_FALSE(listed("Corvelle 快捷操作"));
    lockable->held = false;
    h.scheduler.advanceBy(host::HostCatchUp::longestDelaySeconds + 0.1);
    EXPECT_TRUE(toolbar->panel().isVisible());
    const auto shown = listed("Corvelle 快捷操作");
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->onScreen);
    EXPECT_GT(shown->bounds.x, 1440 - 100);  // docked at the right edge
    EXPECT_TRUE(this->shown()->menu.front().checked) << "显示工具条";
}

}  // namespace
}  // namespace dorvane
