#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "Dorvane/Visual/DesignTokens.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"
#include "Dorvane/Input/AppLauncher.h"
#include "Dorvane/InputViews/AppLauncherView.h"
#include "Dorvane/InputViews/LauncherDecorations.h"
#include "Dorvane/InputViews/LauncherTile.h"
#include "Dorvane/InputViews/QtLauncherPanel.h"
#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"
#include "Dorvane/Visual/PointerHover.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Support/ApplicationsHost.h"

namespace dorvane {
namespace {

// The list inside the view's 16-point padding holds this many columns.
int viewWidthFor(int columns) { return columns * 72 - 8 + 2 * 16; }

// The view alone on a model filled by hand, in a window of its own; presses in virtual time.
class LauncherViewTest : public ::testing::Test {
protected:
    void SetUp() override { model.open = [this](const LauncherApp& app) { opened.push_back(app.id); }; }
    void TearDown() override {
        view.reset();
        testing::settle();
    }

    // Entries named N0, N1, …: ids "id.N0", …; `running` lists the indices that run.
    void fill(int count, std::vector<int> running = {}, std::vector<std::string> recent = {}) {
        std::vector<LauncherApp> apps;
        for (int index = 0; index < count; ++index) {
            const std::string name = "N" + std::to_string(index);
            const bool runs = std::find(running.begin(), running.end(), index) != running.end();
            apps.push_back(LauncherApp{"id." + name, "/Applications/" + name + ".app", name, runs});
        }
        model.setApps(std::move(apps));
        model.setRecent(RecentApplications(recent));
    }
    void make(int columns, int height = 600) {
        view = std::make_unique<AppLauncherView>(model, AppLauncherView::Services{{scheduler, scheduler.mainQueue()}, {}});
        testing::showActive(*view, QRect(200, 100, viewWidthFor(columns), height));
        testing::settle();
    }
    LauncherTile& tile(const std::string& name) const {
        LauncherTile* found = view->tile("id." + name);
        if (found == nullptr) throw std::runtime_error("no tile " + name);
        return *found;
    }
    std::vector<std::string> rows(std::size_t section) const {
        std::vector<std::string> names;
        for (LauncherTile* tile : view->tilesInRows(section)) names.push_back(tile->app().name);
        return names;
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> titles;
        for (LauncherSectionView* section : view->sectionViews()) titles.push_back(section->accessibleName().toStdString());
        return titles;
    }

    // The pointer as the platform delivers it, at a point of the view's window.
    QPoint centre(const QWidget& widget) const { return widget.mapTo(view.get(), widget.rect().center()); }
    void press(QPoint at) { QTest::mousePress(view->windowHandle(), Qt::LeftButton, {}, at); }
    void moveTo(QPoint at) { QTest::mouseMove(view->windowHandle(), at); }
    void release(QPoint at) {
        QTest::mouseRelease(view->windowHandle(), Qt::LeftButton, {}, at);
        testing::settle();
    }

    testing::LightAppearance appearance;
    dispatch::SimulatedScheduler scheduler{100.0};
    input::LauncherModel model;
    std::vector<std::string> opened;
    std::unique_ptr<AppLauncherView> view;
};

TEST_F(LauncherViewTest, SectionsAndTheirRowsFillFromTheToolbarsSide) {
    make(6, 200);
    EXPECT_TRUE(view->emptyState()->isVisible());
    EXPECT_FALSE(view->scrollArea()->isVisible());

    // N0–N2 recent, N3 and N0 running, N4–N11 the rest.
    fill(12, {0, 3}, {"id.N0", "id.N1", "id.N2", "id.gone"});
    testing::settle();
    EXPECT_FALSE(view->emptyState()->isVisible());
    EXPECT_TRUE(view->scrollArea()->isVisible());
    EXPECT_EQ(titles(), (std::vector<std::string>{"最近", "运行中", "全部"}));
    EXPECT_EQ(view->sectionViews()[0]->header()->count(), QStringLiteral("3"));
    // Beside a right toolbar: the first entry next to it, the rest leftwards.
    EXPECT_EQ(rows(0), (std::vector<std::string>{"N2", "N1", "N0"}));
    EXPECT_EQ(rows(1), std::vector<std::string>{"N3"});
    // Eight in six columns: the 6th to the 1st, then four empty cells, the 8th and the 7th.
    EXPECT_EQ(rows(2), (std::vector<std::string>{"N9", "N8", "N7", "N6", "N5", "N4", "N11", "N10"}));

    // The dot marks running entries except under "运行中"; the tooltip says it too.
    EXPECT_TRUE(tile("N0").showsRunningDot());
    EXPECT_FALSE(tile("N3").showsRunningDot());
    EXPECT_EQ(tile("N0").toolTip(), QStringLiteral("N0（正在运行）"));
    EXPECT_FALSE(tile("N11").iconDecoded()) << "out of sight, so never painted yet";
    tile("N11").grab();
    EXPECT_TRUE(tile("N11").iconDecoded());

    // A wider view lays the rows out again: 528 points of list hold seven columns.
    view->resize(528 + 2 * 16, 200);
    EXPECT_EQ(view->listLayout().columns, 7);
    EXPECT_EQ(rows(2).front(), "N10");

    // Elsewhere rows start at the left edge, in order.
    view->resize(viewWidthFor(6), 200);
    model.setSide(ToolbarSide::left);
    EXPECT_EQ(rows(0), (std::vector<std::string>{"N0", "N1", "N2"}));
    EXPECT_EQ(rows(2).back(), "N11");

    // Hovering a tile is the shared hover of "app:" and its identifier.
    auto& hover = PointerHover::shared();
    const QPointF over = tile("N5").mapToGlobal(QPointF(10, 10));
    hover.pointerMoved(over, "app:id.N5", false);
    hover.pointerMoved(over + QPointF(1, 0), "app:id.N5", false);
    EXPECT_EQ(view->hoveredAppID(), "id.N5");
    hover.reset();
    EXPECT_EQ(view->hoveredAppID(), std::nullopt);
    EXPECT_EQ(tile("N5").targetFill(), std::nullopt);
}

TEST_F(LauncherViewTest, PressesPreviewWhenHeldScrollWhenDraggedAndTapOtherwise) {
    fill(60);
    make(6, 400);
    QScrollBar* bar = view->scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100) << "the list is longer than the view";

    // Held still: the name shows at 0.45 s without another event; the release taps nothing.
    LauncherTile& held = tile("N2");
    press(centre(held));
    EXPECT_EQ(view->pressedAppID(), "id.N2");
    scheduler.advanceBy(0.44);
    EXPECT_FALSE(view->nameBubble()->isVisible());
    scheduler.advanceBy(0.01);
    EXPECT_EQ(view->previewedAppID(), "id.N2");
    ASSERT_TRUE(view->nameBubble()->isVisible());
    EXPECT_EQ(view->nameBubble()->text(), QStringLiteral("N2"));
    release(centre(held));
    EXPECT_EQ(view->pressedAppID(), std::nullopt);
    EXPECT_TRUE(view->nameBubble()->isVisible()) << "until another tile or another showing";

    // 7 points up scrolls the list 7 points with the finger; nothing launches, even back at the start.
    LauncherTile& dragged = tile("N8");
    const QPoint start = centre(dragged);
    press(start);
    moveTo(start - QPoint(0, 7));
    EXPECT_EQ(bar->value(), 7);
    EXPECT_EQ(view->pressedAppID(), std::nullopt);
    moveTo(start - QPoint(0, 4));
    EXPECT_EQ(bar->value(), 4);
    release(start - QPoint(0, 4));
    scheduler.advanceBy(1);
    EXPECT_EQ(view->previewedAppID(), "id.N2") << "a drag previews nothing";

    // A press whose window hides ends there; a move without the button ends it too.
    press(centre(tile("N1")));
    view->hide();
    EXPECT_EQ(view->pressedAppID(), std::nullopt);
    release(QPoint(1, 1));
    testing::showActive(*view, view->geometry());
    press(centre(tile("N1")));
    QMouseEvent lost(QEvent::MouseMove, QPointF(centre(tile("N1"))), view->mapToGlobal(QPointF(centre(tile("N1")))),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&tile("N1"), &lost);
    EXPECT_EQ(view->pressedAppID(), std::nullopt);
    release(centre(tile("N1")));
    scheduler.advanceBy(1);
    EXPECT_EQ(opened, std::vector<std::string>{});

    // A new showing forgets the name; a quick click taps.
    model.setPresentationID(model.presentationID() + 1);
    EXPECT_FALSE(view->nameBubble()->isVisible());
    press(centre(tile("N1")));
    release(centre(tile("N1")));
    EXPECT_EQ(opened, std::vector<std::string>{"id.N1"});
}

TEST_F(LauncherViewTest, KeysAndAssistiveTechnologyActOnTilesUnlessALaunchIsUnderWay) {
    fill(2);
    make(6);
    QAccessibleInterface* section = QAccessible::queryAccessibleInterface(view->sectionViews().front());
    ASSERT_NE(section, nullptr);

    QAccessibleInterface* first = QAccessible::queryAccessibleInterface(&tile("N0"));
    ASSERT_NE(first, nullptr);
    QAccessibleActionInterface* actions = first->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QStringLiteral("显示名称")));
    actions->doAction(QStringLiteral("显示名称"));
    EXPECT_EQ(view->previewedAppID(), "id.N0");
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(view->previewedAppID(), std::nullopt);

    tile("N1").setFocus(Qt::TabFocusReason);
    QTest::keyClick(view->windowHandle(), Qt::Key_Space);
    EXPECT_EQ(opened, (std::vector<std::string>{"id.N0", "id.N1"}));

    model.setLaunching(true);
    EXPECT_FALSE(tile("N0").isEnabled());
    EXPECT_FALSE(tile("N0").accessibilityPerformPress());
    EXPECT_FALSE(tile("N0").showName());
    actions->doAction(QAccessibleActionInterface::pressAction());
    press(centre(tile("N0")));
    release(centre(tile("N0")));
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(view->previewedAppID(), std::nullopt);
}

// The launcher with its Qt panel over a machine in memory.
class LauncherPanelTest : public ::testing::Test {
protected:
    void TearDown() override {
        launcher.reset();
        testing::settle();
    }
    void start() {
        auto make = QtLauncherPanel::factory(QtLauncherPanel::Services{
            {machine.scheduler, machine.scheduler.mainQueue()}, [this] { return space(); }, {}});
        launcher = std::make_unique<input::AppLauncher>(input::AppLauncher::Services{
            machine.folder.path() / "support", machine.scheduler.mainQueue(), &files, machine.app.applicationWorkspace(),
            machine.app.workspace(), machine.app.installedApplications(), machine.app.screens(), machine.app.process().pid,
            [this, make](input::LauncherModel& model, const geometry::Rect& frame) {
                auto made = make(model, frame);
                panel = static_cast<QtLauncherPanel*>(made.get());
                return made;
            },
            DesignTokens::measurer()});
        settle();
    }
    ScreenSpace space() { return ScreenSpace::of(machine.app.screens().screens()); }
    void settle() {
        machine.scheduler.runUntilIdle();
        testing::settle();
    }
    void show() {
        const auto screen = machine.app.screens().screens().front();
        const auto visible = space().toolkit(screen.visibleFrame);
        const auto toolbar =
            DesktopToolbarLayout::toolbar(visible, visible.midY(), true, 0, ToolbarSide::right, std::nullopt, false);
        launcher->show(toolbar, screen, ToolbarSide::right);
        settle();
        revealed = panel->glass()->revealAnimation() != nullptr;
        // The unfold clips the panel, pointer included, until it ends.
        ASSERT_TRUE(testing::processUntil([this] { return panel->glass()->revealAnimation() == nullptr; }));
    }
    // A click as the platform delivers it, in the middle of a tile.
    void click(const std::string& id) {
        const LauncherTile* tile = panel->view()->tile(id);
        ASSERT_NE(tile, nullptr);
        const QPoint at = tile->mapTo(panel->window(), tile->rect().center());
        QTest::mouseClick(panel->window()->windowHandle(), Qt::LeftButton, {}, at);
        settle();
    }
    int opens() const {
        const auto log = machine.store->actionLog();
        return static_cast<int>(
            std::count_if(log.begin(), log.end(), [](const auto& entry) { return entry.action == "applicationOpen"; }));
    }
    void launchDelayPasses() {
        machine.scheduler.advanceBy(host::kDefaultLaunchDelay);
        testing::settle();
    }

    testing::LightAppearance appearance;
    testing::ApplicationsHost machine;
    dispatch::Executor& files = machine.scheduler.makeSerialQueue("launcher-files");
    std::unique_ptr<input::AppLauncher> launcher;
    QtLauncherPanel* panel = nullptr;
    bool revealed = false;
};

TEST_F(LauncherPanelTest, TheGlassPanelBesideTheToolbarLaunchesATappedTileAndEscapeClosesIt) {
    machine.install("Foo", "com.example.foo");
    start();
    show();
    ASSERT_NE(panel, nullptr);
    OverlayFloatingPanel& window = *panel->window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), qthost::pixelFrame(qthost::qtFrame(*launcher->panelFrame(), space())));
    EXPECT_TRUE(revealed);
    EXPECT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(QApplication::focusWidget(), &window) << "nothing inside takes the keyboard";

    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(panel->isVisible());

    show();
    click("com.example.foo");
    EXPECT_FALSE(panel->isVisible());
    launchDelayPasses();
    EXPECT_EQ(opens(), 1);
}

TEST_F(LauncherPanelTest, AFailedLaunchShowsItsBannerOnlyInThePresentationItBegan) {
    const auto bad = machine.install("Bad", "com.example.bad");
    machine.admin().behave(bad, [](host::LaunchBehaviour& behaviour) { behaviour.fails = true; });
    start();
    show();
    click("com.example.bad");
    launchDelayPasses();
    ASSERT_TRUE(panel->isVisible());
    const LauncherErrorBanner& banner = *panel->view()->banner();
    EXPECT_TRUE(banner.isVisible());
    EXPECT_EQ(banner.text(), QStringLiteral("无法打开应用程序“Bad”。"));
    EXPECT_LT(banner.geometry().bottom(), panel->view()->scrollArea()->geometry().top()) << "above the sections";

    // The next showing drops it; a failure that lands after the user reopened shows none.
    show();
    EXPECT_FALSE(banner.isVisible());
    click("com.example.bad");
    launcher->hide();
    show();
    launchDelayPasses();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(banner.isVisible());
}

// Each state's panel is sized for its message: the empty launcher shows its line whole,
// and a failed launch beside a single tile shows its error on one line.
TEST_F(LauncherPanelTest, EachStatesPanelIsSizedForItsMessage) {
    start();
    show();
    ASSERT_TRUE(panel->isVisible());
    const LauncherEmptyState& empty = *panel->view()->emptyState();
    ASSERT_TRUE(empty.isVisible());
    const double line = QFontMetricsF(DesignTokens::font(LauncherViewMetrics::emptyFont))
                            .horizontalAdvance(LauncherEmptyState::message());
    EXPECT_GE(empty.width(), line) << "the line is not cut at either end";
    EXPECT_GE(panel->window()->width(), line + 2 * LauncherViewMetrics::padding);
    launcher->hide();

    const auto bad = machine.install("Bad", "com.example.bad");
    machine.admin().behave(bad, [](host::LaunchBehaviour& behaviour) { behaviour.fails = true; });
    show();
    click("com.example.bad");
    launchDelayPasses();
    ASSERT_TRUE(panel->isVisible());
    const LauncherErrorBanner& banner = *panel->view()->banner();
    ASSERT_TRUE(banner.isVisible());
    EXPECT_EQ(banner.lines(), QStringList{banner.text()}) << "one line, nothing elided";
}

}  // namespace
}  // namespace dorvane
