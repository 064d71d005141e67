#include <gtest/gtest.h>

#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Dorvane/Visual/TransientNotice.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"

namespace dorvane {
namespace {

// The application controller with the real toolbar and notice, on a host whose only
// display is 1440 × 924 points (a 1440 × 900 visible frame).
class ToolbarShellTest : public AppControllerTest {
protected:
    ToolbarShellTest() {
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
            neighbours.toolbar = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
                h.scheduler.mainQueue(), h.scheduler, app.screens(), app.applicationWorkspace(), app.workspace(),
                app.accessibility(), *catalog, {},
                ShortcutSender::Services{app.events(), app.pointer(), app.applicationWorkspace(), app.accessibility(),
                                         app.systemSound(), h.scheduler.mainQueue(), h.scheduler, quiet, nullptr},
                quiet, app.process().pid, nullptr, {}, {}, {}});
            auto notice = std::make_unique<TransientNotice>(TransientNotice::Services{
                h.scheduler.mainQueue(), [&app] { return ScreenSpace::of(app.screens().screens()); }, {}, {}});
            this->notice = notice.get();
            neighbours.notice = std::move(notice);
        };
    }
    ~ToolbarShellTest() override { VisualAppearance::shared().set(false, false); }

    std::unique_ptr<windows::ApplicationWindowCatalog> catalog;
    TransientNotice* notice = nullptr;
};

TEST_F(ToolbarShellTest, ANoticeHangsBesideTheExpandedToolbarNotUnderIt) {
    Preferences preferences;
    preferences.toolbarWhenDisconnected = true;
    preferences.toolbarSide = ToolbarSide::left;
    savePreferences(preferences);
    launch();
    ASSERT_TRUE(shown()->menu.front().checked) << "显示工具条";
    controller->showNotice("自动切换未完成", std::string("没有可用的规格"), std::nullopt);
    ASSERT_NE(notice->panel(), nullptr);
    const QRect card = notice->panel()->glassFrame();
    // The work area beside the strip is (72, 0, 1368, 900): its middle is x = 756, its top
    // 24 points down Qt's screen.
    EXPECT_EQ(card.x() + card.width() / 2, 756);
    EXPECT_EQ(card.y(), 24 + 32);
}

}  // namespace
}  // namespace dorvane
