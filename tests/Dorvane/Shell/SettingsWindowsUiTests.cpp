#include <gtest/gtest.h>

#include <cmath>

#include <QCloseEvent>
#include <QLabel>
#include <QTest>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/Settings/FixedSettingsPermissions.h"
#include "Dorvane/Settings/ResolutionPanelView.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "Platform/System/LoginItems.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

// Content that says what it was built with and counts the builds.
class CountingViews final : public qthost::SettingsViewFactory {
public:
    std::unique_ptr<QWidget> makeSettingsView(ControlPanelModel&, bool startNew, SettingsPage page) override {
        ++settingsBuilds;
        lastStartNew = startNew;
        lastPage = page;
        return std::make_unique<QLabel>(QStringLiteral("settings"));
    }
    std::unique_ptr<QWidget> makeResolutionPanelView(ControlPanelModel&, const shell::ResolutionContent& content) override {
        ++resolutionBuilds;
        lastContent = content;
        return std::make_unique<QLabel>(QStringLiteral("resolution"));
    }
    std::optional<double> resolutionPanelHeight(QWidget&, int) override { return std::nullopt; }
    int settingsBuilds = 0;
    int resolutionBuilds = 0;
    bool lastStartNew = false;
    SettingsPage lastPage = SettingsPage::general;
    shell::ResolutionContent lastContent;
};

TEST(QtSettingsWindows, TheSettingsWindowIsFixedRebuiltOnlyWhenItMustAndHidesOnClose) {
    testing::qtApplication();
    ControlPanelModel model;
    auto views = std::make_unique<CountingViews>();
    auto& built = *views;
    qthost::QtSettingsWindows windows(std::move(views), nullptr);

    windows.showSettings(model, false, std::nullopt);
    QWidget* window = windows.settingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(built.settingsBuilds, 1);
    EXPECT_EQ(built.lastPage, SettingsPage::resolution);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("设置"));
    EXPECT_EQ(window->size(), QSize(900, 720));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const auto buttons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    EXPECT_EQ(window->windowFlags() & buttons, Qt::WindowCloseButtonHint);
    QWidget* content = windows.settingsContent();

    // Shown again: the same content, whatever its views hold.
    windows.showSettings(model, false, std::nullopt);
    EXPECT_EQ(built.settingsBuilds, 1);
    EXPECT_EQ(windows.settingsContent(), content);
    windows.showSettings(model, false, SettingsPage::touch);
    EXPECT_EQ(built.settingsBuilds, 2);
    EXPECT_EQ(built.lastPage, SettingsPage::touch);
    // Rebuilt while shown: the new content is there before the loop turns, for the next key.
    EXPECT_TRUE(windows.settingsContent()->isVisible());
    windows.showSettings(model, true, SettingsPage::touch);  // a new custom preset: its page
    EXPECT_EQ(built.settingsBuilds, 3);
    EXPECT_TRUE(built.lastStartNew);
    EXPECT_EQ(built.lastPage, SettingsPage::resolution);

    // Closing hides the window, which is kept for next time.
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(windows.settingsWindow(), window);
    windows.showSettings(model, false, std::nullopt);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(built.settingsBuilds, 3);
}

// The settings window over an in-memory host, whose user defaults keep its place.
class SettingsPlaceTest : public ::testing::Test {
protected:
    SettingsPlaceTest() { testing::qtApplication(); }
    // The place kept, or (-1, -1).
    QPoint kept() {
        const auto saved = defaults.value("Dorvane.Settings");
        return saved ? QPoint((*saved)["x"].get<int>(), (*saved)["y"].get<int>()) : QPoint(-1, -1);
    }

    ControlPanelModel model;
    dispatch::SimulatedScheduler clock;
    host::SimulatedHost machine{std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptop)),
                                processes::ProcessRole::application, clock};
    system::UserDefaults& defaults = machine.userDefaults();
};

TEST_F(SettingsPlaceTest, TheSettingsWindowOpensWhereItWasLeft) {
    {
        qthost::QtSettingsWindows windows(std::make_unique<CountingViews>(), &defaults);
        windows.showSettings(model, false, std::nullopt);
        windows.settingsWindow()->move(40, 50);
        windows.settingsWindow()->close();
    }
    EXPECT_EQ(kept(), QPoint(40, 50));
    qthost::QtSettingsWindows again(std::make_unique<CountingViews>(), &defaults);
    again.showSettings(model, false, std::nullopt);
    EXPECT_EQ(again.settingsWindow()->pos(), QPoint(40, 50));
}

// A drag is written once, where it comes to rest; a program that quits with the window
// open keeps its place too, also right after a move.
TEST_F(SettingsPlaceTest, TheSettingsWindowsPlaceIsKeptAfterMovesAndWhenTheProgramQuitsWithItOpen) {
    {
        qthost::QtSettingsWindows windows(std::make_unique<CountingViews>(), &defaults, nullptr, &clock.mainQueue());
        windows.showSettings(model, false, std::nullopt);
        QWidget* window = windows.settingsWindow();
        testing::settle();
        clock.advanceBy(1);
        for (int step = 1; step <= 5; ++step) {
            window->move(100 + 10 * step, 60 + step);
            testing::settle();
            clock.advanceBy(0.2);
        }
        EXPECT_NE(kept(), QPoint(150, 65)) << "not on every step of the drag";
        clock.advanceBy(qthost::QtSettingsWindows::frameSaveDelay);
        EXPECT_EQ(kept(), QPoint(150, 65));

        window->move(300, 200);
        testing::settle();
    }
    EXPECT_EQ(kept(), QPoint(300, 200));
    {
        // Quitting with it open, long after its last move.
        qthost::QtSettingsWindows windows(std::make_unique<CountingViews>(), &defaults, nullptr, &clock.mainQueue());
        windows.showSettings(model, false, std::nullopt);
        EXPECT_EQ(windows.settingsWindow()->pos(), QPoint(300, 200));
        defaults.removeValue("Dorvane.Settings");
        clock.advanceBy(5);
    }
    EXPECT_EQ(kept(), QPoint(300, 200));
}

// Qt's offscreen screen is not the host's: a first window is centred on the host's main
// display, below its menu bar.
TEST_F(SettingsPlaceTest, AFirstSettingsWindowIsCentredOnTheHostsMainDisplay) {
    const auto screens = machine.screens().screens();
    ASSERT_FALSE(screens.empty());
    const geometry::Rect visible = screens.front().visibleFrame;
    qthost::QtSettingsWindows windows(std::make_unique<CountingViews>(), &defaults, &machine.screens());
    windows.showSettings(model, false, std::nullopt);
    const QPoint expected(static_cast<int>(std::lround(visible.x + (visible.width - 900) / 2)),
                          static_cast<int>(std::lround(visible.y + (visible.height - 720) / 2)));
    EXPECT_EQ(windows.settingsWindow()->pos(), expected);
    EXPECT_GT(expected.y(), 0);
}

TEST(QtSettingsWindows, TheResolutionPanelGetsNewContentEachTimeAndStartsTransparent) {
    testing::qtApplication();
    ControlPanelModel model;
    auto views = std::make_unique<CountingViews>();
    auto& built = *views;
    qthost::QtSettingsWindows windows(std::move(views), nullptr);
    shell::ResolutionContent content;
    content.firstPresetID = "factory:phoneRecommended";

    windows.prepareResolution(model, content, {1000, 100, 300, 400}, ToolbarSide::right);
    QWidget* panel = windows.resolutionPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(windows.resolutionPanelVisible()) << "made and filled, not shown yet";
    windows.showResolution({1000, 100, 300, 400}, ToolbarSide::right, true);
    EXPECT_TRUE(windows.resolutionPanelVisible());
    EXPECT_EQ(panel->windowOpacity(), 0.0);
    EXPECT_EQ(panel->geometry(), QRect(1000, 100, 300, 400));
    EXPECT_EQ(built.lastContent.firstPresetID, "factory:phoneRecommended");
    windows.revealResolution();
    EXPECT_EQ(panel->windowOpacity(), 1.0);

    windows.orderResolutionOut();
    EXPECT_FALSE(windows.resolutionPanelVisible());
    windows.prepareResolution(model, content, {1000, 120, 300, 380}, ToolbarSide::right);
    windows.showResolution({1000, 120, 300, 380}, ToolbarSide::right, false);
    EXPECT_EQ(windows.resolutionPanel(), panel);
    EXPECT_EQ(built.resolutionBuilds, 2);
    EXPECT_EQ(windows.resolutionPanelFrame(), (geometry::Rect{1000, 120, 300, 380}));
}

// Escape closes the resolution panel also when it comes right after the panel got new
// content (a measured height does that just after it opened), before the loop turned: the
// key, already on its way, meets the new content and not a panel that holds the keyboard
// with nothing in it to answer.
TEST(QtSettingsWindows, EscapeRightAfterTheResolutionPanelGotNewContentClosesIt) {
    testing::qtApplication();
    ControlPanelModel model;
    testing::TemporaryFolder folder{"corvelle-panel"};
    qthost::QtSettingsWindows windows(
        std::make_unique<SettingsViews>(
            std::make_unique<FixedSettingsPermissions>(true),
            std::make_unique<system::XdgAutostartLoginItems>(folder.path() / "autostart", "/bin/true"), folder.path()),
        nullptr);
    int closes = 0;
    shell::ResolutionContent content;
    content.close = [&] {
        ++closes;
        windows.orderResolutionOut();
    };
    content.restore = [] {};
    content.onContentHeight = [](double) {};

    // Opened transparent, as before its first height is known.
    windows.prepareResolution(model, content, {1000, 100, 300, 400}, ToolbarSide::right);
    windows.showResolution({1000, 100, 300, 400}, ToolbarSide::right, true);
    QWidget* panel = windows.resolutionPanel();
    ASSERT_TRUE(testing::processUntil([&] { return QApplication::activeWindow() == panel; }));
    windows.replaceResolutionContent(model, content, ToolbarSide::right);
    EXPECT_TRUE(windows.resolutionContent()->isVisible());
    QTest::keyClick(panel->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(windows.resolutionPanelVisible());
}

// The controller's side of the two windows, on recording windows.
class ResolutionPanelTest : public AppControllerTest {
protected:
    void SetUp() override {
        launch();
        auto& toolbar = *fakes->toolbar;
        toolbar.screen = h.app->screens().screens().front();
        const auto visible = geometry::flippedVertically(toolbar.screen->visibleFrame,
                                                         displays::primaryScreenHeight(h.app->screens().screens()));
        toolbar.panel = geometry::Rect{visible.maxX() - 72, visible.minY(), 72, visible.height};
    }
    shell::ToolbarCallbacks& toolbar() { return fakes->toolbar->callbacks; }
    testing::RecordingSettingsWindows& windows() { return *fakes->settingsWindows; }
};

TEST_F(ResolutionPanelTest, TheButtonTogglesThePanelWhichShowsOnceItsHeightIsKnown) {
    log.calls.clear();
    fakes->launcher->visible = true;
    toolbar().onAction(FloatingAction::resolution);
    EXPECT_TRUE(log.has("resolution.show hidden"));
    EXPECT_FALSE(fakes->launcher->visible);
    EXPECT_EQ(fakes->toolbar->active, FloatingAction::resolution);
    // Beside the toolbar, in the host's top-left space.
    const auto screens = h.app->screens().screens();
    const auto expected = geometry::flippedVertically(
        DesktopToolbarLayout::resolutionPanel(fakes->toolbar->panel.insetBy(6, 6),
                                              geometry::flippedVertically(screens.front().visibleFrame,
                                                                          displays::primaryScreenHeight(screens)),
                                              ToolbarSide::right, 7),
        displays::primaryScreenHeight(screens));
    EXPECT_EQ(windows().frame, expected);

    // Without a height the panel shows itself after 0.35 s.
    h.scheduler.advanceBy(0.3);
    EXPECT_TRUE(windows().hidden);
    h.scheduler.advanceBy(0.1);
    EXPECT_FALSE(windows().hidden);

    // The second tap closes it; the next showing is visible at once.
    toolbar().onAction(FloatingAction::resolution);
    EXPECT_FALSE(windows().visible);
    EXPECT_EQ(fakes->toolbar->active, std::nullopt);
    windows().content.onContentHeight(420);
    h.scheduler.runUntilIdle();
    toolbar().onAction(FloatingAction::resolution);
    EXPECT_TRUE(log.has("resolution.show"));

    // Heights that move by half a point or less change nothing.
    log.calls.clear();
    controller->resolutionContentHeightChanged(420.5);
    windows().frame = {0, 0, 10, 10};  // as if moved away
    controller->resolutionContentHeightChanged(420.4);
    EXPECT_FALSE(log.has("resolution.setFrame"));
    controller->resolutionContentHeightChanged(421);
    EXPECT_TRUE(log.has("resolution.setFrame"));
    EXPECT_TRUE(log.has("resolution.replaceContent"));
    // Shortened to the content, hanging from the top of the room beside the toolbar.
    const geometry::Rect shortened{expected.x, expected.y, expected.width, 421};
    EXPECT_EQ(windows().frame, shortened);
    // A content taller than the room keeps the room.
    controller->resolutionContentHeightChanged(5000);
    EXPECT_EQ(windows().frame, expected);
    controller->resolutionContentHeightChanged(421);
    EXPECT_EQ(windows().frame, shortened);

    // With no screen for the toolbar, the button does nothing.
    toolbar().onAction(FloatingAction::resolution);
    fakes->toolbar->screen.reset();
    log.calls.clear();
    toolbar().onAction(FloatingAction::resolution);
    EXPECT_FALSE(log.has("resolution.show"));
}

TEST_F(ResolutionPanelTest, PanelCallbacksCloseRestoreAndOpenTheSettings) {
    toolbar().onAction(FloatingAction::resolution);
    windows().content.restore();
    EXPECT_FALSE(windows().visible);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(h.details("manual_restore_start").size(), 1u);

    log.calls.clear();
    controller->panelModel().onSettings();
    controller->panelModel().onNewCustom();
    toolbar().onAction(FloatingAction::settings);
    toolbar().onAction(FloatingAction::resolution);  // hides the settings window
    EXPECT_EQ(log.calls, (std::vector<std::string>{"settings.show resolution", "settings.show new -",
                                                   "settings.show -", "settings.orderOut", "resolution.show hidden",
                                                   "toolbar.hideApplicationShortcuts"}));
}

// The controller with the real resolution panel and its view, the program's windows listed
// on the host as the program lists them.
class ResolutionPanelOnTheHostTest : public ResolutionPanelTest {
protected:
    void SetUp() override {
        replaceNeighbours = [this](shell::Neighbours& neighbours) {
            auto made = qthost::QtSettingsWindows::overHost(
                std::make_unique<SettingsViews>(std::make_unique<FixedSettingsPermissions>(true),
                                                std::make_unique<system::XdgAutostartLoginItems>(
                                                    folder.path() / "autostart", "/bin/true"),
                                                folder.path()),
                *h.app, h.scheduler.mainQueue(), reporter);
            panelWindows = made.get();
            neighbours.settingsWindows = std::move(made);
        };
        reporter.start();
        ResolutionPanelTest::SetUp();
    }
    // The windows go before the reporter that lists them.
    void TearDown() override {
        controller.reset();
        h.scheduler.runUntilIdle();
    }
    // Until the view's own measuring and what it brings about have run their course.
    void settle() {
        for (int round = 0; round < 10; ++round) {
            QCoreApplication::processEvents();
            h.scheduler.runUntilIdle();
        }
    }

    testing::TemporaryFolder folder{"corvelle-panel"};
    std::ostringstream ownWindowErrors;
    qthost::QtOwnWindowReporter reporter{h.app->ownWindows(), ownWindowErrors};
    qthost::QtSettingsWindows* panelWindows = nullptr;
};

// Measured before it shows, the panel holds the keyboard at its content's own height from
// the first moment the host lists it so, visible at once, and no new frame follows.
TEST_F(ResolutionPanelOnTheHostTest, ThePanelHoldsTheKeyboardOnlyAtItsContentsHeight) {
    std::vector<geometry::Rect> keyFrames;
    bool looking = false;
    auto watch = h.store->subscribe([&](const host::HostPulse&) {
        if (looking) return;
        looking = true;
        const auto view = h.tool.windowsAdmin().view();
        for (const auto& window : view.windows) {
            if (window.number != view.keyWindow || window.title != "Corvelle 分辨率" || !window.onScreen) continue;
            if (keyFrames.empty() || keyFrames.back() != window.bounds) keyFrames.push_back(window.bounds);
        }
        looking = false;
    });
    toolbar().onAction(FloatingAction::resolution);
    settle();
    const auto* view = static_cast<ResolutionPanelView*>(panelWindows->resolutionContent());
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(keyFrames.empty()) << "the panel has the keyboard";
    EXPECT_EQ(keyFrames.front().height, view->measuredHeight() + ResolutionPanelView::padding * 2);
    EXPECT_EQ(keyFrames.size(), 1u);
    EXPECT_EQ(panelWindows->resolutionPanel()->windowOpacity(), 1.0);
    EXPECT_EQ(ownWindowErrors.str(), "");
}

}  // namespace
}  // namespace dorvane
