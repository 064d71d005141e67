#include "Dorvane/Input/ShortcutPermissions.h"
#include "Platform/Host/Machines/SystemSettingsApp.h"
#include "tests/Dorvane/Input/InputHarness.h"

namespace dorvane {
namespace {

// A panel that remembers where it was put and whether it shows.
class RecordingGuideUI final : public PermissionGuideUI {
public:
    struct Shown {
        std::optional<geometry::Rect> frame;
        bool visible = false;
        bool dragging = false;
        std::function<void()> close;
        std::function<void()> dragEnded;
    };
    class Panel final : public PermissionGuidePanel {
    public:
        explicit Panel(std::shared_ptr<Shown> shown) : shown_(std::move(shown)) {}
        ~Panel() override { shown_->visible = false; }
        void setFrame(const geometry::Rect& frame) override { shown_->frame = frame; }
        void orderFrontRegardless() override { shown_->visible = true; }
        void orderOut() override { shown_->visible = false; }
        bool ignoresMouseEvents() const override { return shown_->dragging; }

    private:
        std::shared_ptr<Shown> shown_;
    };

    std::unique_ptr<PermissionGuidePanel> makePanel(std::function<void()> close,
                                                    std::function<void()> dragEnded) override {
        shown = std::make_shared<Shown>();
        shown->close = std::move(close);
        shown->dragEnded = std::move(dragEnded);
        return std::make_unique<Panel>(shown);
    }
    void activateProgram() override { ++activations; }

    std::shared_ptr<Shown> shown;
    int activations = 0;
};

class ShortcutPermissionsTest : public testing::InputHarness {
protected:
    void SetUp() override {
        InputHarness::SetUp();
        tool->permissionsAdmin().set(host::Permission::accessibility, false);
    }

    ShortcutPermissions::Services services(PermissionGuideUI* guide) {
        return ShortcutPermissions::Services{app->accessibility(), app->events(),      app->applicationWorkspace(),
                                             app->windowList(),    app->screens(),     app->urlOpener(),
                                             scheduler.mainQueue(), scheduler,         guide};
    }

    // A guide opened without trust, whose completion counts into `ran`.
    void openGuide(int& ran) {
        tool->permissionsAdmin().set(host::Permission::accessibility, false);
        permissions->completion = [&ran] { ++ran; };
        permissions->showGuide();
    }

    std::optional<std::string> frontmostName() {
        const auto front = app->applicationWorkspace().frontmostApplication();
        return front ? std::optional(front->name) : std::nullopt;
    }

    RecordingGuideUI ui;
    std::unique_ptr<ShortcutPermissions> permissions = std::make_unique<ShortcutPermissions>(services(&ui));
};

TEST_F(ShortcutPermissionsTest, ObserversHearOfChangesOnlyWhileMonitoringPollsEveryThreeQuarterSeconds) {
    std::vector<ShortcutPermissionState> heard;
    auto observation = permissions->observe([&heard](const auto& state) { heard.push_back(state); });
    EXPECT_EQ(permissions->state(), (ShortcutPermissionState{false, true}));
    permissions->refresh();
    EXPECT_TRUE(heard.empty());  // unchanged reads are not told

    permissions->startMonitoring();
    permissions->startMonitoring();  // once is enough
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(0.74);
    EXPECT_TRUE(heard.empty());
    scheduler.advanceBy(0.01);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].granted());

    permissions->stopMonitoring();
    tool->permissionsAdmin().set(host::Permission::postEvents, false);
    scheduler.advanceBy(5);
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_FALSE(permissions->isMonitoring());
}

TEST_F(ShortcutPermissionsTest, WithoutAnApplicationToShowItInTheGuideOnlyOpensSystemSettings) {
    ShortcutPermissions bare(services(nullptr));
    bare.completion = [] { ADD_FAILURE() << "ran without a guide"; };
    bare.showGuide();
    EXPECT_EQ(frontmostName(), host::kSystemSettingsName);
    EXPECT_FALSE(bare.isGuideOpen());
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(1);
}

TEST_F(ShortcutPermissionsTest, TheGuideFollowsSystemSettingsAndStepsAsideWhileTheRowIsDragged) {
    permissions->showGuide();
    ASSERT_TRUE(ui.shown);
    EXPECT_FALSE(ui.shown->visible);  // placed by the first tick
    scheduler.advanceBy(0.25);
    EXPECT_TRUE(ui.shown->visible);
    EXPECT_EQ(ui.shown->frame, (geometry::Rect{596, 184, 550, 80}));

    tool->windowsAdmin().focus(5);  // the editor comes forward: the guide hides
    scheduler.advanceBy(0.25);
    EXPECT_FALSE(ui.shown->visible);
    app->urlOpener().open(ShortcutPermissions::kAccessibilityURL);  // System Settings back in front
    ui.shown->dragging = true;
    scheduler.advanceBy(0.25);
    EXPECT_FALSE(ui.shown->visible);  // placed, but not brought up during a drag
    ui.shown->dragging = false;
    scheduler.advanceBy(0.25);
    EXPECT_TRUE(ui.shown->visible);

    // A System Settings window too small to hold it: the guide hides.
    for (const auto& window : tool->windowsAdmin().view().windows) {
        if (window.title == "辅助功能") tool->windowsAdmin().drag(window.number, {300, 300, 320, 600});
    }
    scheduler.advanceBy(0.25);
    EXPECT_FALSE(ui.shown->visible);
}

TEST_F(ShortcutPermissionsTest, TrustRunsTheCompletionOnceClosingTheGuideWhileClosingOrGivingUpDropsIt) {
    int ran = 0;
    openGuide(ran);
    scheduler.advanceBy(0.25);
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(0.25);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(ui.activations, 1);
    EXPECT_FALSE(permissions->isGuideOpen());
    EXPECT_FALSE(ui.shown->visible);
    scheduler.advanceBy(5);
    EXPECT_EQ(ran, 1);

    // The close button drops the completion: trust later runs nothing.
    openGuide(ran);
    ui.shown->close();
    EXPECT_FALSE(permissions->isGuideOpen());
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(1);
    EXPECT_EQ(ran, 1);

    // After three minutes the guide gives up silently.
    openGuide(ran);
    scheduler.advanceBy(179.9);
    EXPECT_TRUE(permissions->isGuideOpen());
    scheduler.advanceBy(0.25);
    EXPECT_FALSE(permissions->isGuideOpen());
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(1);
    EXPECT_EQ(ran, 1);

    // A new guide keeps the completion just set and closes the old panel.
    openGuide(ran);
    const auto first = ui.shown;
    permissions->showGuide();
    EXPECT_NE(ui.shown, first);
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(0.25);
    EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace dorvane
