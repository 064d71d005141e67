#include <gtest/gtest.h>

#include <string>
#include <vector>


#include "Dorvane/Input/AppLauncher.h"
#include "Dorvane/InputViews/QtLauncherPanel.h"
#include "Dorvane/Settings/ApplicationShortcutsSettings.h"
#include "Dorvane/Settings/ResolutionSettingsPage.h"
#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Dorvane/Visual/DropdownMenuView.h"
#include "Dorvane/Visual/GlassMenu.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "tests/Dorvane/Settings/QuickActionsUiSupport.h"
#include "tests/Support/AccessibleNames.h"
#include "DorvaneCore/Input/KeyCombination.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "Platform/Host/Machines/WindowFixtures.h"
#include "tests/Dorvane/Toolbar/ToolbarHarness.h"
#include "tests/Support/ApplicationsHost.h"

namespace dorvane {
namespace {

using testing::click;
using testing::settle;

// Every control of the settings window, its pages, sheets and alerts, with a shortcut, a
// custom resolution preset and an application with a shortcut to show.
class NamedControlsTest : public testing::QuickActionsTest {
protected:
    void SetUp() override {
        QuickActionsTest::SetUp();
        tool->permissionsAdmin().set(host::Permission::accessibility, true);
        tracker->refresh();
        editors.installedApplications = &machine.app.installedApplications();
        editors.runningApplications = &machine.app.workspace();
        editors.scanQueue = &scanQueue;
        machine.install("Notes", "com.example.notes");
        panel.edit([](Preferences& p) {
            p.setAutomaticResolutionEnabled(true);
            p.showWindowControls = true;
            p.applicationShortcutsEnabled = true;
            p.customPresets.push_back(CustomPreset{"mine", "我的规格", 1600, 900, 100});
            p.namedShortcuts.push_back(NamedShortcut("copy", "拷贝", ShortcutKey(8, modifier::command, "C")));
            p.applicationShortcuts = {{"com.example.notes", "Notes", "/Applications/Notes.app",
                                       {NamedShortcut("new", "新建", ShortcutKey(45, modifier::command, "N"))}},
                                      {"local.host.Terminal", "终端", "/Applications/终端.app",
                                       {NamedShortcut("t", "清屏", parseKeyCombination("cmd+k"))}}};
        });
    }
    void TearDown() override {
        toolbar.reset();
        launcher.reset();
        scheduler.runUntilIdle();
        machine.scheduler.runUntilIdle();
        QuickActionsTest::TearDown();
    }

    // The toolbar expanded over the host's desk with the terminal in front.
    void expandToolbar() {
        tool->windowsAdmin().reset(host::WindowsFixture::desk);
        for (const auto& application : tool->windowsAdmin().view().applications) {
            if (application.name == "终端") app->applicationWorkspace().activate(application.pid);
        }
        catalog = std::make_unique<windows::ApplicationWindowCatalog>(
            scheduler.makeSerialQueue("named-controls-catalog"), app->accessibility(),
            windows::ApplicationWindowCatalog::windowServerQuery(app->windowList(), app->applicationWorkspace(),
                                                                 app->process().pid),
            [this] { return scheduler.uptime(); });
        const OperationLog quiet = [](std::string_view) {};
        toolbar = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
            scheduler.mainQueue(), scheduler, app->screens(), app->applicationWorkspace(), app->workspace(),
            app->accessibility(), *catalog, {},
            ShortcutSender::Services{app->events(), app->pointer(), app->applicationWorkspace(), app->accessibility(),
                                     app->systemSound(), scheduler.mainQueue(), scheduler, quiet, nullptr},
            quiet, app->process().pid, nullptr, {}, {}, {}});
        toolbar->reduceMotion = [] { return true; };
        toolbar->configure(panel.model.preferences());
        toolbar->setEnabled(true);
        toolbar->toggleList();
        scheduler.runUntilIdle();
        settle();
    }
    // The launcher's panel beside the toolbar's place, over a machine with two applications.
    void showLauncher() {
        machine.install("Maps", "com.example.maps");
        const auto space = [this] { return ScreenSpace::of(machine.app.screens().screens()); };
        launcher = std::make_unique<input::AppLauncher>(input::AppLauncher::Services{
            machine.folder.path() / "support", machine.scheduler.mainQueue(), &launcherFiles,
            machine.app.applicationWorkspace(), machine.app.workspace(), machine.app.installedApplications(),
            machine.app.screens(), machine.app.process().pid,
            QtLauncherPanel::factory(QtLauncherPanel::Services{{machine.scheduler, machine.scheduler.mainQueue()}, space, {}}),
            DesignTokens::measurer()});
        machine.scheduler.runUntilIdle();
        const auto screen = machine.app.screens().screens().front();
        const auto visible = space().toolkit(screen.visibleFrame);
        const auto anchor =
            DesktopToolbarLayout::toolbar(visible, visible.midY(), true, 0, ToolbarSide::right, std::nullopt, false);
        launcher->show(anchor, screen, ToolbarSide::right);
        machine.scheduler.runUntilIdle();
        settle();
    }

    // Every control on screen now has a name, and the walk met `expected` among them (so it
    // did reach what was meant to be open).
    void expectNamed(const std::string& where, const QStringList& expected) {
        scheduler.runUntilIdle();
        machine.scheduler.runUntilIdle();
        settle();
        // The operation cards' switches go without a name: the card's title beside them says
        // what they switch.
        const auto exempt = [this](QObject* object) {
            if (view == nullptr || view->currentPage() == nullptr) return false;
            auto* floating = dynamic_cast<QuickActionsSettingsPage*>(view->currentPage());
            if (floating == nullptr) return false;
            for (auto* card : floating->shownCards()) {
                if (object == card->toggle()) return true;
            }
            return false;
        };
        const testing::AccessibleWalk walk = testing::walkWindowsOnScreen(exempt);
        for (const auto& control : walk.unnamed) ADD_FAILURE() << where << ": no name for " << control;
        for (const QString& name : expected) {
            EXPECT_TRUE(walk.met(name)) << where << ": " << name.toStdString() << " not met among "
                                        << walk.named.join(QStringLiteral(" | ")).toStdString();
        }
    }
    // Closes what `slot` presents, as Escape does.
    void dismiss(const char* slot) {
        QDialog* dialog = view->sheets().presented(slot);
        ASSERT_NE(dialog, nullptr) << slot;
        QTest::keyClick(dialog, Qt::Key_Escape);
        settle();
        EXPECT_EQ(view->sheets().presented(slot), nullptr) << slot;
    }

    testing::ApplicationsHost machine;
    dispatch::Executor& scanQueue = scheduler.makeSerialQueue("named-controls-scan");
    dispatch::Executor& launcherFiles = machine.scheduler.makeSerialQueue("named-controls-launcher");
    std::unique_ptr<windows::ApplicationWindowCatalog> catalog;
    std::unique_ptr<FloatingSwitcher> toolbar;
    std::unique_ptr<input::AppLauncher> launcher;
};

TEST_F(NamedControlsTest, EveryControlOfTheSettingsWindowItsSheetsAndAlertsTheToolbarAndTheLauncherHasAName) {
    open(false, SettingsPage::general);
    const std::vector<std::pair<SettingsPage, QString>> pages{
        {SettingsPage::general, QStringLiteral("常规")},
        {SettingsPage::resolution, QStringLiteral("新增规格")},
        {SettingsPage::floating, QStringLiteral("添加操作")},
        {SettingsPage::connection, QStringLiteral("切换分辨率")},
        {SettingsPage::touch, QStringLiteral("触控")}};
    for (const auto& [shownPage, control] : pages) {
        view->setPage(shownPage);
        expectNamed("page " + control.toStdString(), {control, QStringLiteral("分辨率")});
    }

    // The resolution page's sheets and the deletion alert.
    auto& resolution = shown<ResolutionSettingsPage>(SettingsPage::resolution);
    click(*resolution.newPresetButton());
    expectNamed("preset editor", {QStringLiteral("保存")});
    dismiss(SettingsView::draftSheet);
    click(*resolution.templatesButton());
    expectNamed("device templates", {QStringLiteral("搜索设备型号"), QStringLiteral("品牌"), QStringLiteral("手机")});
    dismiss(ResolutionSettingsPage::deviceTemplatesSheet);
    view->setPendingDeletion(DeletionTarget::forPreset(panel.model.preferences().customPresets.back()));
    expectNamed("deletion alert", {QStringLiteral("删除"), QStringLiteral("取消")});
    dismiss(SettingsView::deletionAlert);

    // The quick-actions page's sheets.
    QuickActionsSettingsPage& floating = page();
    click(*floating.presetsButton());
    expectNamed("recommended shortcuts", {QStringLiteral("添加复制")});
    dismiss(QuickActionsSettingsPage::presetSheet);
    click(*floating.addOperationButton());
    expectNamed("shortcut editor", {QStringLiteral("主按键"), QStringLiteral("更换图标")});
    dismiss(QuickActionsSettingsPage::shortcutEditorSheet);
    for (auto* card : page().shownCards()) {
        if (card->card().id == ConfiguredOperation::builtinID(FloatingAction::fillWindow)) click(*card->pencil());
    }
    expectNamed("icon sheet", {QStringLiteral("搜索图标"), QStringLiteral("复制")});
    dismiss(QuickActionsSettingsPage::builtinIconSheet);

    // The application lists' sheets and alerts.
    ApplicationShortcutsSettings& applications = *page().applications();
    click(*applications.addApplicationButton());
    expectNamed("application picker", {QStringLiteral("搜索应用")});
    dismiss(ApplicationShortcutsSettings::pickerSheet);
    ApplicationCardView* card = applications.card("com.example.notes");
    ASSERT_NE(card, nullptr);
    click(*card->chip("new"));
    expectNamed("application shortcut editor", {QStringLiteral("删除"), QStringLiteral("主按键")});
    dismiss(ApplicationShortcutsSettings::editorSheet);
    QTest::mouseClick(card->window()->windowHandle(), Qt::RightButton, {}, testing::centreOf(*card->chip("new")));
    expectNamed("shortcut menu", {QStringLiteral("停用")});
    card->chipMenu().close();
    click(*card->menuButton());
    expectNamed("application menu", {QStringLiteral("移除应用")});
    ASSERT_TRUE(card->menu().isOpen());
    const DropdownMenuView* rows = card->menu().popup().menu();
    testing::clickAt(*card->menu().popup().panel(), rows->mapTo(card->menu().popup().panel(), rows->rowRect(0).center()));
    expectNamed("removal alert", {QStringLiteral("移除")});
    dismiss(ApplicationShortcutsSettings::removalAlert);
    accepts = false;
    click(*applications.featureSwitch());
    expectNamed("failure alert", {QStringLiteral("好")});
    dismiss(ApplicationShortcutsSettings::failureAlert);
    window->hide();

    // The toolbar, with its layouts and the front application's shortcuts open beside it.
    expandToolbar();
    ASSERT_TRUE(toolbar->expanded());
    expectNamed("toolbar", {QStringLiteral("设置")});
    ASSERT_NE(toolbar->toolbar()->windowButton(), nullptr);
    testing::tap(*toolbar->toolbar()->windowButton());
    ASSERT_NE(toolbar->toolbar()->applicationButton(), nullptr);
    testing::tap(*toolbar->toolbar()->applicationButton());
    expectNamed("toolbar flyouts", {QStringLiteral("清屏")});
    toolbar.reset();

    // The launcher.
    showLauncher();
    expectNamed("launcher", {QStringLiteral("Maps")});
}

}  // namespace
}  // namespace dorvane
