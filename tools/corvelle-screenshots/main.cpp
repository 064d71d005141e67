// corvelle-screenshots OUTPUT_FOLDER
//
// Shows the program's surfaces over a drawn desktop, each in a state the program reaches,
// and writes what the screen shows into OUTPUT_FOLDER: notice-light.png, notice-dark.png,
// launcher-right.png, launcher-error.png, launcher-empty.png, the floating toolbar's
// toolbar-left.png, toolbar-right.png, toolbar-top.png, toolbar-bottom.png,
// toolbar-collapsed.png, toolbar-layout-flyout.png, toolbar-app-shortcuts.png,
// toolbar-launcher.png, toolbar-overflow-dark.png and toolbar-notice.png, the settings window's
// settings-general.png (light, with the Accessibility warning), settings-general-dark.png,
// settings-connection.png (its dropdown open, 4 points under its field), settings-touch.png, settings-resolution.png
// (and -dark), spec-editor-error.png, device-templates.png, settings-quick-actions.png,
// shortcut-editor.png (its icon picker open), recommended-shortcuts.png, application-picker.png,
// the application card's glass menus menu-application.png and menu-chip.png, the alerts
// alert-remove-application.png, alert-save-failed.png, alert-delete-shortcut.png and
// alert-delete-preset.png (each of these also as -dark), resolution-panel-left.png and
// resolution-panel-bottom.png, and screenshots.json
// (where the glass lies in each picture, and for the launcher the desktop's colour under two
// of its pixels).
// Needs an X display with a compositing manager: `make screenshots` (scripts/screenshots)
// provides Xvfb and xcompmgr. The notices speak through a simulated host of the run's own, in a
// temporary folder, whose appearance the tool switches to dark and back, as a person would with
// corvelle-host; whatever $CORVELLE_HOST_DIR names is left alone.

#include <cmath>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include "Dorvane/Input/LauncherModel.h"
#include "Dorvane/InputViews/QtLauncherPanel.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"
#include "Dorvane/QtHost/GuardedApplication.h"
#include "Dorvane/QtHost/QtApplicationPlatform.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/QtHostBase/QtScreenGeometry.h"
#include "Dorvane/Settings/AutomaticResolutionSettings.h"
#include "Dorvane/Settings/ConnectionSettingsPage.h"
#include "Dorvane/Editors/ShortcutApplicationPicker.h"
#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/Settings/ApplicationShortcutsSettings.h"
#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Settings/FixedSettingsPermissions.h"
#include "Dorvane/Settings/ResolutionPanelView.h"
#include "Dorvane/Settings/ResolutionSettingsPage.h"
#include "Dorvane/Settings/SpecEditor.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Shell/ResolutionPanelFrame.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassDropdown.h"
#include "Dorvane/Visual/GlassMenu.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/TransientNotice.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Catalogs/DeviceTemplateCatalog.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"
#include "DorvaneCore/SettingsWindow/DeletionTarget.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"
#include "nlohmann/json.hpp"
#include "Platform/Dispatch/SerialQueue.h"
#include "tools/corvelle-screenshots/PictureFrame.h"
#include "tools/corvelle-screenshots/QuickActionsScene.h"
#include "tools/corvelle-screenshots/ScreenshotDesk.h"
#include "tools/corvelle-screenshots/ToolbarStage.h"

namespace dorvane::screenshots {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// Time for the compositor to show a change before the screen is read.
constexpr int kSettleMilliseconds = 500;
constexpr int kCompositorPatienceMilliseconds = 15000;
constexpr int kMargin = 40;
// Past halfway by this much, the overflowing strip shows a button cut at its top.
constexpr double kOverflowCut = 30;

Json rectJson(const QRect& rect) { return Json::array({rect.x(), rect.y(), rect.width(), rect.height()}); }
std::string colorName(const QColor& color) { return color.name().toStdString(); }

// One step after another on the event loop: each waits, then runs, then hands on.
class Shoot final {
public:
    Shoot(fs::path output, host::SimulatedHost& host, dispatch::MainQueue& mainQueue, dispatch::Clock& clock)
        : output_(std::move(output)), host_(host), mainQueue_(mainQueue), clock_(clock) {}

    void start() {
        desktop_.setGeometry(screen()->geometry());
        desktop_.show();
        probe_.show();
        waitForCompositor(0);
    }

private:
    static QScreen* screen() { return QGuiApplication::primaryScreen(); }
    static QImage grab(const QRect& area) { return screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage(); }

    void after(int milliseconds, std::function<void()> step) { QTimer::singleShot(milliseconds, std::move(step)); }

    void fail(const std::string& why) {
        std::cerr << "corvelle-screenshots: " << why << "\n";
        QCoreApplication::exit(1);
    }

    void waitForCompositor(int waited) {
        const QColor seen = grab(Desktop::probePatch()).pixelColor(10, 10);
        const QColor expected = CompositingProbe::expected();
        const bool blended = std::abs(seen.red() - expected.red()) < 12 && std::abs(seen.green() - expected.green()) < 12 &&
                             std::abs(seen.blue() - expected.blue()) < 12;
        if (blended) {
            probe_.hide();
            return after(kSettleMilliseconds, [this] { setDark(false, [this] { noticeShot("notice-light.png", [this] {
                setDark(true, [this] { noticeShot("notice-dark.png", [this] {
                    setDark(false, [this] { launcherShot("launcher-right.png", LauncherState::apps); });
                }); });
            }); }); });
        }
        if (waited >= kCompositorPatienceMilliseconds) {
            return fail("no compositing manager: translucent windows would come out black; run `make screenshots`");
        }
        after(100, [this, waited] { waitForCompositor(waited + 100); });
    }

    // Switches the host's appearance and goes on once the program has followed it.
    void setDark(bool dark, std::function<void()> next) {
        host_.systemAdmin().setInterfaceStyle(dark ? system::InterfaceStyle::dark : system::InterfaceStyle::light);
        waitForAppearance(dark, std::move(next), 0);
    }
    void waitForAppearance(bool dark, std::function<void()> next, int waited) {
        if (VisualAppearance::shared().dark() == dark) return after(kSettleMilliseconds, std::move(next));
        if (waited >= kCompositorPatienceMilliseconds) return fail("the appearance change never arrived");
        after(50, [this, dark, next = std::move(next), waited]() mutable { waitForAppearance(dark, std::move(next), waited + 50); });
    }

    void save(const QImage& image, const std::string& name, Json record) {
        if (!image.save(QString::fromStdString((output_ / name).string()))) return fail("cannot write " + name);
        record["size"] = Json::array({image.width(), image.height()});
        index_[name] = std::move(record);
    }

    void noticeShot(const std::string& name, std::function<void()> next) {
        if (!notice_) {
            notice_ = std::make_unique<TransientNotice>(TransientNotice::Services{
                mainQueue_, [this] { return ScreenSpace::of(host_.screens().screens()); },
                [this](const std::string& text) { host_.announcements().announce(text); }, {}});
        }
        // As the program places it: the work area beside an expanded toolbar on the left.
        const auto screens = host_.screens().screens();
        const ScreenSpace space = ScreenSpace::of(screens);
        const geometry::Rect visible = space.toolkit(screens.front().visibleFrame);
        const geometry::Rect toolbar = DesktopToolbarLayout::toolbar(visible, visible.midY(), true, 0, ToolbarSide::left, std::nullopt, false);
        notice_->show("自动切换未完成", std::string("没有与这台设备相符的规格，分辨率保持不变"),
                      DesktopToolbarLayout::workspace(toolbar, visible, ToolbarSide::left));
        after(kSettleMilliseconds, [this, name, next = std::move(next)] {
            const QRect glass = notice_->panel()->glassFrame();
            const QRect area = onScreen(glass.adjusted(-kMargin, -kMargin, kMargin, kMargin));
            save(grab(area), name, Json{{"glass", rectJson(glass.translated(-area.topLeft()))}});
            notice_->dismiss();
            after(kSettleMilliseconds / 2, next);
        });
    }

    // The launcher's model as the pictures show it: thirteen applications, three recent.
    void makeLauncherModel() {
        launcherModel_ = std::make_unique<input::LauncherModel>();
        launcherModel_->setSide(ToolbarSide::right);
        std::vector<LauncherApp> apps;
        for (const auto& [id, name, running] :
             std::vector<std::tuple<std::string, std::string, bool>>{{"com.example.notes", "备忘录", true},
                                                                     {"com.example.calendar", "日历", false},
                                                                     {"com.example.terminal", "终端", true},
                                                                     {"com.example.mail", "邮件", true},
                                                                     {"com.example.music", "音乐", true},
                                                                     {"com.example.calculator", "计算器", false},
                                                                     {"com.example.clock", "时钟", false},
                                                                     {"com.example.maps", "地图", false},
                                                                     {"com.example.photos", "照片", false},
                                                                     {"com.example.preview", "预览", false},
                                                                     {"com.example.weather", "天气", false},
                                                                     {"com.todesk.mac", "ToDesk", false},
                                                                     {"com.uuremote.mac", "UU Remote", false}}) {
            apps.push_back(LauncherApp{id, "/Applications/" + name + ".app", name, running});
        }
        launcherModel_->setApps(std::move(apps));
        launcherModel_->setRecent(RecentApplications({"com.example.notes", "com.example.calendar", "com.example.terminal"}));
    }

    // The launcher beside an expanded toolbar on the right, as the program places it, with
    // its three sections; then the same after a failed launch; then with nothing installed.
    enum class LauncherState { apps, error, empty };
    void launcherShot(const std::string& name, LauncherState state) {
        const auto screens = host_.screens().screens();
        const ScreenSpace space = ScreenSpace::of(screens);
        const geometry::Rect visible = space.toolkit(screens.front().visibleFrame);
        const geometry::Rect toolbar =
            DesktopToolbarLayout::toolbar(visible, visible.midY(), true, 0, ToolbarSide::right, std::nullopt, false);
        if (!launcherModel_) makeLauncherModel();
        if (state == LauncherState::empty) {
            launcherModel_->setApps({});
            launcherModel_->setRecent(RecentApplications(std::vector<std::string>{}));
        }
        const std::optional<std::string> error =
            state == LauncherState::error ? std::optional<std::string>("无法打开应用程序“地图”。") : std::nullopt;
        launcherModel_->setError(error);
        const geometry::Rect anchor{toolbar.x + 6, toolbar.y + 6, toolbar.width - 12, toolbar.height - 12};
        // Framed as the program frames it: wide enough for the message it shows.
        const geometry::Rect frame = DesktopToolbarLayout::applications(
            anchor, visible, ToolbarSide::right, static_cast<int>(launcherModel_->cellCount()), error.has_value(),
            std::nullopt, 6,
            LauncherViewMetrics::messageWidth(launcherModel_->sections().empty(), error, DesignTokens::measurer()));

        // The desktop before the glass covers it: the launcher's rounded top corner away from the
        // toolbar lets it through, the glass beside its content tints it.
        const QRect glassFrame = qthost::pixelFrame(qthost::qtFrame(frame, space));
        const QImage before = grab(glassFrame);
        const QPoint corner = glassFrame.topLeft();
        const QPoint middle(glassFrame.left() + static_cast<int>(LauncherViewMetrics::padding) / 2, glassFrame.bottom() - 24);

        toolbar_ = std::make_unique<GlassPanel>(QStringLiteral("工具条"), 3, GlassPanel::Input::clickable);
        auto* strip = new NativeGlassView(new ToolbarSymbols(FloatingAction::runningApplications), DesignTokens::radiusLg);
        strip->attach(ToolbarSide::right, true);
        strip->setHairline(DesignTokens::NS::toolbarHairline, ToolbarSide::left);
        toolbar_->setGlass(strip);
        toolbar_->setShadow(DesignTokens::panelShadow);
        toolbar_->setGlassFrame(qthost::pixelFrame(qthost::qtFrame(toolbar, space)));
        toolbar_->present();
        launcher_ = std::make_unique<QtLauncherPanel>(
            *launcherModel_, frame,
            QtLauncherPanel::Services{{clock_, mainQueue_}, [this] { return ScreenSpace::of(host_.screens().screens()); }, {}});
        launcher_->attach(ToolbarSide::right);
        launcher_->present();
        after(kSettleMilliseconds, [this, name, state, before, corner, middle, glassFrame] {
            const QRect glass = launcher_->window()->geometry();
            const QRect area = onScreen(glass.united(toolbar_->glassFrame()).adjusted(-kMargin, -kMargin, 0, 0));
            const QPoint cornerAt = corner - area.topLeft();
            const QPoint middleAt = middle - area.topLeft();
            save(grab(area), name,
                 Json{{"glass", rectJson(glass.translated(-area.topLeft()))},
                      {"corner", Json::array({cornerAt.x(), cornerAt.y()})},
                      {"cornerBackdrop", colorName(before.pixelColor(corner - glassFrame.topLeft()))},
                      {"middle", Json::array({middleAt.x(), middleAt.y()})},
                      {"middleBackdrop", colorName(before.pixelColor(middle - glassFrame.topLeft()))}});
            launcher_.reset();
            toolbar_.reset();
            switch (state) {
                case LauncherState::apps:
                    return after(kSettleMilliseconds / 2, [this] { launcherShot("launcher-error.png", LauncherState::error); });
                case LauncherState::error:
                    return after(kSettleMilliseconds / 2, [this] { launcherShot("launcher-empty.png", LauncherState::empty); });
                case LauncherState::empty: launcherModel_.reset(); return toolbarShots();
            }
        });
    }

    // ---- The floating toolbar ----

    QRect onScreen(const QRect& area) const { return area.intersected(screen()->geometry()); }
    QRect panelOf(const FloatingSwitcher& toolbar) const { return toolbar.panel().geometry(); }
    geometry::Rect visibleFrame() const {
        const auto screens = host_.screens().screens();
        return ScreenSpace::of(screens).toolkit(screens.front().visibleFrame);
    }

    void toolbarShots() {
        stage_ = std::make_unique<ToolbarStage>(host_, mainQueue_, clock_);
        sideShot(0);
    }

    void sideShot(std::size_t index) {
        static const std::array<std::pair<ToolbarSide, const char*>, 4> sides{
            {{ToolbarSide::left, "toolbar-left.png"}, {ToolbarSide::right, "toolbar-right.png"},
             {ToolbarSide::top, "toolbar-top.png"}, {ToolbarSide::bottom, "toolbar-bottom.png"}}};
        if (index == sides.size()) return collapsedShot();
        stage_->expand(sides[index].first);
        after(kSettleMilliseconds, [this, index] {
            const QRect panel = panelOf(stage_->toolbar());
            const QRect area = onScreen(panel.adjusted(-kMargin, -kMargin, kMargin, kMargin));
            save(grab(area), sides[index].second, Json{{"toolbar", rectJson(panel.translated(-area.topLeft()))}});
            sideShot(index + 1);
        });
    }

    void collapsedShot() {
        stage_->collapse();
        after(kSettleMilliseconds, [this] {
            const QRect panel = panelOf(stage_->toolbar());
            const QRect area = onScreen(panel.adjusted(-3 * kMargin, -3 * kMargin, 3 * kMargin, 3 * kMargin));
            save(grab(area), "toolbar-collapsed.png", Json{{"toolbar", rectJson(panel.translated(-area.topLeft()))}});
            layoutFlyoutShot();
        });
    }

    // A flyout beside the left strip: the strip's rows beside it and the flyout itself.
    void flyoutShot(const std::string& name, QWidget* flyout, std::function<void()> next) {
        const QRect panel = panelOf(stage_->toolbar());
        const QRect glass = flyout->geometry();
        const QRect area = onScreen(QRect(panel.left(), glass.top(), glass.right() - panel.left() + 1, glass.height())
                                        .adjusted(0, -kMargin, kMargin, kMargin));
        save(grab(area), name, Json{{"glass", rectJson(glass.translated(-area.topLeft()))}});
        next();
    }

    void layoutFlyoutShot() {
        stage_->expand(ToolbarSide::left);
        stage_->toolbar().toolbar()->windowButton()->accessibilityPerformPress();
        after(kSettleMilliseconds, [this] {
            ToolbarPanel* flyout = stage_->toolbar().windowPanel();
            if (flyout == nullptr || !flyout->isVisible()) return fail("the layout flyout did not open");
            flyoutShot("toolbar-layout-flyout.png", flyout, [this] {
                stage_->toolbar().orderWindowPanelOut();
                applicationShortcutsShot();
            });
        });
    }

    void applicationShortcutsShot() {
        stage_->expand(ToolbarSide::left, stage_->withFrontApplicationShortcuts());
        // The scan of which applications own windows brings the application's button.
        after(kSettleMilliseconds, [this] {
            ToolbarButton* button = stage_->toolbar().toolbar()->applicationButton();
            if (button == nullptr) return fail("the application button did not appear");
            button->accessibilityPerformPress();
            after(kSettleMilliseconds, [this] {
                ToolbarPanel* flyout = stage_->toolbar().applicationPanel();
                if (flyout == nullptr || !flyout->isVisible()) return fail("the application flyout did not open");
                flyoutShot("toolbar-app-shortcuts.png", flyout, [this] {
                    stage_->toolbar().hideApplicationShortcuts();
                    toolbarLauncherShot();
                });
            });
        });
    }

    // The settings window as a new user first sees it: Accessibility not granted yet, the
    // factory presets, the toolbar on the right; the theme follows the system, which the
    // tool switches from light to dark as the program's window would follow it.
    void settingsShots() {
        Preferences preferences;
        preferences.theme = AppTheme::system;
        preferences.autoResolutionEnabled = true;
        preferences.autoRestoreOnDisconnect = true;
        preferences.customPresets.push_back(CustomPreset{"custom-1", "书房显示器", 1920, 1080, 125});
        settingsModel_.setPreferences(preferences);
        settingsWindow_ = std::make_unique<QWidget>();
        settingsWindow_->setWindowTitle(QStringLiteral("设置"));
        settingsWindow_->setFixedSize(900, 720);
        auto* layout = new QVBoxLayout(settingsWindow_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        settingsView_ = new SettingsView(settingsModel_, false, SettingsPage::general,
                                         SettingsEnvironment{settingsPermissions_, *loginItems_, loginFolder_.path().toStdString(),
                                                             [] { return true; }, editorServices()},
                                         settingsWindow_.get());
        layout->addWidget(settingsView_);
        const QRect screenArea = screen()->geometry();
        settingsWindow_->move(screenArea.center() - QPoint(450, 360));
        settingsWindow_->show();
        settingsWindow_->activateWindow();
        after(kSettleMilliseconds, [this] {
            settingsShot("settings-general.png", [this] {
                setDark(true, [this] {
                    settingsShot("settings-general-dark.png", [this] {
                        setDark(false, [this] {
                            settingsView_->setPage(SettingsPage::connection);
                            after(kSettleMilliseconds, [this] { connectionShot(); });
                        });
                    });
                });
            });
        });
    }

    // The launcher beside the left strip, the two glass surfaces joined.
    void toolbarLauncherShot() {
        stage_->expand(ToolbarSide::left);
        FloatingSwitcher& toolbar = stage_->toolbar();
        const geometry::Rect anchor = toolbar.panelFrame().insetBy(6, 6);
        if (!launcherModel_) makeLauncherModel();
        const geometry::Rect frame = DesktopToolbarLayout::applications(
            anchor, visibleFrame(), ToolbarSide::left, static_cast<int>(launcherModel_->cellCount()), false, std::nullopt, 6);
        launcherModel_->setError(std::nullopt);
        launcherModel_->setSide(ToolbarSide::left);
        launcher_ = std::make_unique<QtLauncherPanel>(
            *launcherModel_, frame,
            QtLauncherPanel::Services{{clock_, mainQueue_}, [this] { return ScreenSpace::of(host_.screens().screens()); }, {}});
        launcher_->attach(ToolbarSide::left);
        launcher_->present();
        stage_->companionOpen(FloatingAction::runningApplications);
        after(kSettleMilliseconds, [this] {
            const QRect glass = launcher_->window()->geometry();
            const QRect panel = panelOf(stage_->toolbar());
            const QRect area = onScreen(QRect(panel.left(), glass.top(), glass.right() - panel.left() + 1, glass.height())
                                            .adjusted(0, -kMargin, kMargin, kMargin));
            save(grab(area), "toolbar-launcher.png", Json{{"glass", rectJson(glass.translated(-area.topLeft()))}});
            launcher_.reset();
            stage_->companionOpen(std::nullopt);
            setDark(true, [this] { overflowShot(); });
        });
    }

    // Thirty buttons on the right, scrolled about halfway to where a button is cut at the top:
    // both ends fade, and the fade at the top lies over a button, not in the gap between two.
    void overflowShot() {
        stage_->expand(ToolbarSide::right, ToolbarStage::withOperations(30));
        ToolbarContent* strip = stage_->toolbar().toolbar();
        strip->setOffset(strip->maxOffset() / 2 + kOverflowCut);
        after(kSettleMilliseconds, [this] {
            const QRect panel = panelOf(stage_->toolbar());
            const QRect area = onScreen(panel.adjusted(-kMargin, -kMargin, kMargin, kMargin));
            save(grab(area), "toolbar-overflow-dark.png", Json{{"toolbar", rectJson(panel.translated(-area.topLeft()))}});
            setDark(false, [this] { toolbarNoticeShot(); });
        });
    }

    // A notice as the program places it beside the expanded strip on the left.
    void toolbarNoticeShot() {
        stage_->expand(ToolbarSide::left);
        const geometry::Rect area =
            DesktopToolbarLayout::workspace(stage_->toolbar().reservedToolbarFrame(), visibleFrame(), ToolbarSide::left);
        notice_->show("没有可操作的窗口", std::nullopt, area);
        after(kSettleMilliseconds, [this] {
            const QRect glass = notice_->panel()->glassFrame();
            const QRect panel = panelOf(stage_->toolbar());
            const QRect shot = onScreen(QRect(panel.left(), panel.top(), glass.right() + kMargin - panel.left(),
                                              glass.bottom() + 3 * kMargin - panel.top()));
            save(grab(shot), "toolbar-notice.png",
                 Json{{"glass", rectJson(glass.translated(-shot.topLeft()))},
                      {"toolbar", rectJson(panel.translated(-shot.topLeft()))}});
            notice_->dismiss();
            stage_.reset();
            after(kSettleMilliseconds / 2, [this] { settingsShots(); });
        });
    }

    QRect settingsFrame() const { return QRect(settingsWindow_->mapToGlobal(QPoint(0, 0)), settingsWindow_->size()); }

    void settingsShot(const std::string& name, std::function<void()> next) {
        save(grab(settingsFrame()), name, Json{{"page", name}});
        after(kSettleMilliseconds / 2, std::move(next));
    }

    void connectionShot() {
        auto* page = dynamic_cast<ConnectionSettingsPage*>(settingsView_->currentPage());
        if (page == nullptr) return fail("the connection page did not show");
        auto* field = page->settings()->presetDropdown();
        field->click();
        field->controller().handleKey(125);  // Down: the pointer row under the choice
        after(kSettleMilliseconds, [this, field] {
            GlassPanel* list = field->controller().popup().panel();
            if (list == nullptr) return fail("the connection page's dropdown did not open");
            const QRect window = settingsFrame();
            const QRect area = onScreen(window.united(list->glassFrame()));
            save(grab(area), "settings-connection.png",
                 Json{{"window", rectJson(window.translated(-area.topLeft()))},
                      {"glass", rectJson(list->glassFrame().translated(-area.topLeft()))},
                      {"trigger", rectJson(QRect(field->mapToGlobal(QPoint(0, 0)), field->size()).translated(-area.topLeft()))},
                      {"rows", std::min<int>(static_cast<int>(field->items().size()), DesignTokens::dropdownMaxRows)}});
            field->controller().close();
            settingsView_->setPage(SettingsPage::touch);
            after(kSettleMilliseconds, [this] {
                settingsShot("settings-touch.png", [this] { resolutionShots(); });
            });
        });
    }

    // The resolution page with the preset in effect marked and the status detail, light and
    // dark; then the editor refusing a width and the device templates, each over the window.
    void resolutionShots() {
        Preferences preferences = settingsModel_.preferences();
        preferences.customPresets.push_back(CustomPreset{"custom-2", "iPad 横屏", 1180, 820, 100});
        const auto phone = templatePreset("iPhone 17 Pro Max · 横屏");
        if (!phone) return fail("the device templates have no iPhone 17 Pro Max · 横屏");
        preferences.customPresets.push_back(*phone);
        preferences.selectedCustomID = "custom-1";
        settingsModel_.setPreferences(preferences);
        settingsModel_.setApplied(CustomPreset{"custom-1", "书房显示器", 1920, 1080, 125}.dimensions(DisplaySize::standard));
        settingsModel_.setDetail(std::string("已应用“书房显示器”：1536 × 864"));
        settingsView_->setPage(SettingsPage::resolution);
        after(kSettleMilliseconds, [this] {
            settingsShot("settings-resolution.png", [this] {
                setDark(true, [this] {
                    settingsShot("settings-resolution-dark.png", [this] { setDark(false, [this] { editorShot(); }); });
                });
            });
        });
    }

    // A preset as "设备模板" adds it from the program's device catalog.
    static std::optional<CustomPreset> templatePreset(const std::string& title) {
        try {
            for (const auto& entry : DeviceTemplateCatalog::bundled().entries()) {
                if (entry.title() == title) return entry.preset();
            }
        } catch (const std::exception&) {
            // No catalog: the caller says what is missing.
        }
        return std::nullopt;
    }

    void sheetShot(const char* slot, const std::string& name, std::function<void()> next) {
        QDialog* sheet = settingsView_->sheets().presented(slot);
        if (sheet == nullptr) return fail("the sheet for " + name + " did not open");
        const QRect window = settingsFrame();
        const QRect frame(sheet->mapToGlobal(QPoint(0, 0)), sheet->size());
        const QRect area = onScreen(window.united(frame));
        save(grab(area), name,
             Json{{"window", rectJson(window.translated(-area.topLeft()))},
                  {"sheet", rectJson(frame.translated(-area.topLeft()))}});
        after(kSettleMilliseconds / 2, std::move(next));
    }

    void editorShot() {
        settingsView_->setDraft(SpecDraft{"custom-2", "iPad 横屏", "1180px", "820", false, 100});
        after(kSettleMilliseconds / 2, [this] {
            QDialog* sheet = settingsView_->sheets().presented(SettingsView::draftSheet);
            auto* editor = sheet ? sheet->findChild<SpecEditor*>() : nullptr;
            if (editor == nullptr) return fail("the editor did not open");
            editor->commit(false);
            after(kSettleMilliseconds, [this] {
                sheetShot(SettingsView::draftSheet, "spec-editor-error.png", [this] {
                    settingsView_->setDraft(std::nullopt);
                    settingsView_->setShowingDeviceTemplates(true);
                    after(kSettleMilliseconds, [this] {
                        sheetShot(ResolutionSettingsPage::deviceTemplatesSheet, "device-templates.png", [this] {
                            settingsView_->setShowingDeviceTemplates(false);
                            quickActionsShots();
                        });
                    });
                });
            });
        });
    }

    // The editors read the screens of the host and the picture's own applications.
    EditorServices editorServices() {
        EditorServices services;
        services.screens = &host_.screens();
        services.installedApplications = &pictureApplications_;
        services.mainQueue = &mainQueue_;
        services.scanQueue = &scanQueue_;
        return services;
    }

    void quickActionsShots() {
        settingsModel_.setPreferences(quickActionsPreferences(settingsModel_.preferences()));
        settingsView_->setPage(SettingsPage::floating);
        after(kSettleMilliseconds, [this] {
            settingsShot("settings-quick-actions.png", [this] {
                settingsView_->setEditingShortcut(editedShortcut());
                after(kSettleMilliseconds / 2, [this] { shortcutEditorShot(); });
            });
        });
    }

    void shortcutEditorShot() {
        QDialog* sheet = settingsView_->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet);
        auto* shortcutEditor = sheet != nullptr ? sheet->findChild<ShortcutEditor*>() : nullptr;
        if (shortcutEditor == nullptr) return fail("the shortcut editor did not open");
        shortcutEditor->iconToggle()->click();
        after(kSettleMilliseconds, [this] {
            sheetShot(QuickActionsSettingsPage::shortcutEditorSheet, "shortcut-editor.png", [this] {
                settingsView_->setEditingShortcut(std::nullopt);
                settingsView_->setShowingPresetSheet(true);
                after(kSettleMilliseconds, [this] {
                    sheetShot(QuickActionsSettingsPage::presetSheet, "recommended-shortcuts.png", [this] {
                        settingsView_->setShowingPresetSheet(false);
                        auto* page = dynamic_cast<QuickActionsSettingsPage*>(settingsView_->currentPage());
                        if (page == nullptr) return fail("the quick-actions page did not show");
                        page->applications()->addApplicationButton()->click();
                        after(kSettleMilliseconds, [this] {
                            sheetShot(ApplicationShortcutsSettings::pickerSheet, "application-picker.png", [this] {
                                QDialog* sheet = settingsView_->sheets().presented(ApplicationShortcutsSettings::pickerSheet);
                                auto* picker = sheet != nullptr ? sheet->findChild<ShortcutApplicationPicker*>() : nullptr;
                                if (picker == nullptr) return fail("the application picker did not open");
                                picker->cancelButton()->click();
                                menuAndAlertShots(false, [this] {
                                    settingsWindow_.reset();
                                    panelShot(ToolbarSide::left, "resolution-panel-left.png", [this] {
                                        panelShot(ToolbarSide::bottom, "resolution-panel-bottom.png", [this] { finish(); });
                                    });
                                });
                            });
                        });
                    });
                });
            });
        });
    }

    // ---- Menus and alerts of the settings window ----

    static std::string named(const std::string& base, bool dark) { return base + (dark ? "-dark.png" : ".png"); }

    ApplicationCardView* notesCard() const {
        auto* page = dynamic_cast<QuickActionsSettingsPage*>(settingsView_->currentPage());
        return page != nullptr ? page->applications()->card("com.example.notes") : nullptr;
    }

    // The application card's two glass menus, then its alerts and the resolution page's, in
    // one appearance; then, after the light pass, all of it again in the dark.
    void menuAndAlertShots(bool dark, std::function<void()> next) {
        settingsView_->setPage(SettingsPage::floating);
        after(kSettleMilliseconds / 2, [this, dark, next = std::move(next)] {
            ApplicationCardView* card = notesCard();
            if (card == nullptr) return fail("the application card did not show");
            card->menuButton()->click();
            after(kSettleMilliseconds, [this, card, dark, next] {
                menuShot(*card, card->menu(), named("menu-application", dark), [this, card, dark, next] {
                    StyledButton* chip = card->shownChips().front();
                    Q_EMIT chip->customContextMenuRequested(chip->rect().center());
                    after(kSettleMilliseconds, [this, card, dark, next] {
                        menuShot(*card, card->chipMenu(), named("menu-chip", dark), [this, dark, next] {
                            removalAlertShot(dark, next);
                        });
                    });
                });
            });
        });
    }

    // The menu with the card it belongs to, framed so that it cuts no text of the window.
    void menuShot(ApplicationCardView& card, GlassMenu& menu, const std::string& name, std::function<void()> next) {
        GlassPanel* list = menu.popup().panel();
        if (!menu.isOpen() || list == nullptr) return fail("the menu for " + name + " did not open");
        const QRect glass = list->glassFrame();
        const QRect cardFrame(card.mapToGlobal(QPoint(0, 0)), card.size());
        const QRect keep = cardFrame.united(glass);
        const QRect area = onScreen(clearOfCutPieces(keep.adjusted(-kMargin / 2, -kMargin / 2, kMargin / 2, kMargin), keep,
                                                     drawnPieces(*card.window())));
        save(grab(area), name,
             Json{{"glass", rectJson(glass.translated(-area.topLeft()))},
                  {"card", rectJson(cardFrame.translated(-area.topLeft()))}});
        menu.close();
        after(kSettleMilliseconds / 2, std::move(next));
    }

    // The settings window with the alert in `slot` hanging from it; its first button ("取消",
    // or "好") then closes it.
    void alertShot(SheetAlert* alert, const std::string& name, std::function<void()> next) {
        if (alert == nullptr || !alert->isVisible()) return fail("the alert for " + name + " did not show");
        const QRect frame(alert->mapToGlobal(QPoint(0, 0)), alert->size());
        save(grab(settingsFrame()), name, Json{{"alert", rectJson(frame.translated(-settingsFrame().topLeft()))}});
        alert->buttons().front()->click();
        after(kSettleMilliseconds / 2, std::move(next));
    }

    SheetAlert* presentedAlert(const char* slot) const {
        return qobject_cast<SheetAlert*>(settingsView_->sheets().presented(slot));
    }

    void removalAlertShot(bool dark, std::function<void()> next) {
        ApplicationCardView* card = notesCard();
        card->menuButton()->click();
        after(kSettleMilliseconds / 2, [this, card, dark, next = std::move(next)] {
            card->menu().choose(0);
            after(kSettleMilliseconds, [this, dark, next] {
                alertShot(presentedAlert(ApplicationShortcutsSettings::removalAlert), named("alert-remove-application", dark),
                          [this, dark, next] { failureAlertShot(dark, next); });
            });
        });
    }

    // The settings refuse the feature switch (the picture's panel model stores nothing).
    void failureAlertShot(bool dark, std::function<void()> next) {
        auto* page = dynamic_cast<QuickActionsSettingsPage*>(settingsView_->currentPage());
        page->applications()->featureSwitch()->click();
        after(kSettleMilliseconds, [this, dark, next = std::move(next)] {
            alertShot(presentedAlert(ApplicationShortcutsSettings::failureAlert), named("alert-save-failed", dark),
                      [this, dark, next] { editorAlertShot(dark, next); });
        });
    }

    void editorAlertShot(bool dark, std::function<void()> next) {
        settingsView_->setEditingShortcut(editedShortcut());
        after(kSettleMilliseconds / 2, [this, dark, next = std::move(next)] {
            QDialog* sheet = settingsView_->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet);
            auto* editor = sheet != nullptr ? sheet->findChild<ShortcutEditor*>() : nullptr;
            if (editor == nullptr) return fail("the shortcut editor did not open");
            editor->deleteButton()->click();
            after(kSettleMilliseconds, [this, editor, dark, next] {
                alertShot(editor->deleteAlert(), named("alert-delete-shortcut", dark), [this, dark, next] {
                    settingsView_->setEditingShortcut(std::nullopt);
                    presetAlertShot(dark, next);
                });
            });
        });
    }

    void presetAlertShot(bool dark, std::function<void()> next) {
        settingsView_->setPage(SettingsPage::resolution);
        const auto phone = templatePreset("iPhone 17 Pro Max · 横屏");
        if (!phone) return fail("the device templates have no iPhone 17 Pro Max · 横屏");
        settingsView_->setPendingDeletion(DeletionTarget::forPreset(*phone));
        after(kSettleMilliseconds, [this, dark, next = std::move(next)] {
            alertShot(presentedAlert(SettingsView::deletionAlert), named("alert-delete-preset", dark), [this, dark, next] {
                if (dark) return setDark(false, next);
                setDark(true, [this, next] { menuAndAlertShots(true, next); });
            });
        });
    }

    // The resolution panel beside the toolbar, shown and framed as the program shows it (its
    // settings windows, its panel view): its content measured before it shows, and the panel
    // as tall as that beside the toolbar. On the left with a preset applied, at the
    // bottom with nothing applied; the picture holds the panel and the toolbar beside it
    // (along the bottom, the whole strip).
    void panelShot(ToolbarSide side, const std::string& name, std::function<void()> next) {
        const bool bottom = side == ToolbarSide::bottom;
        Preferences preferences = settingsModel_.preferences();
        preferences.toolbarSide = side;
        preferences.selectedCustomID = "custom-2";
        settingsModel_.setPreferences(preferences);
        settingsModel_.setDetail(std::nullopt);
        settingsModel_.setAdjustment(ResolutionAdjustment(Dimensions{1180, 820}, 100));
        settingsModel_.setApplied(bottom ? std::nullopt : std::optional(Dimensions{1180, 820}));

        if (!stage_) stage_ = std::make_unique<ToolbarStage>(host_, mainQueue_, clock_);
        stage_->expand(side);
        stage_->companionOpen(FloatingAction::resolution);
        const auto frameFor = [this, side, presets = static_cast<int>(preferences.customPresets.size())](
                                  std::optional<double> height) {
            const auto screens = host_.screens().screens();
            return resolutionPanelFrame(stage_->toolbar().panelFrame(), screens.front(), screens, side, presets, height);
        };
        if (!panelWindows_) {
            panelWindows_ = std::make_unique<qthost::QtSettingsWindows>(
                std::make_unique<SettingsViews>(std::make_unique<FixedSettingsPermissions>(false),
                                                std::make_unique<system::XdgAutostartLoginItems>(
                                                    loginFolder_.path().toStdString(), "/opt/corvelle/corvelle"),
                                                loginFolder_.path().toStdString(), editorServices()),
                nullptr, &host_.screens());
        }
        panelHeight_ = 0;
        const auto measured = panelWindows_->prepareResolution(
            settingsModel_,
            shell::ResolutionContent{preferences.selectedCustomID, [] {}, [] {},
                                     [this](double height) { panelHeight_ = height; }},
            frameFor(std::nullopt), side);
        panelWindows_->showResolution(frameFor(measured), side, false);
        after(kSettleMilliseconds / 2, [this, measured, frameFor, bottom, name, next = std::move(next)] {
            if (panelHeight_ <= 0) return fail("the resolution panel reported no height");
            if (!measured || std::abs(*measured - panelHeight_) > 0.5) {
                return fail("the resolution panel reported another height than it measured before it showed");
            }
            after(kSettleMilliseconds, [this, frameFor, bottom, name, next] {
                const QRect panelFrame = panelWindows_->resolutionPanel()->geometry();
                const QRect toolbar = panelOf(stage_->toolbar());
                QRect area = panelFrame.adjusted(-kMargin, -kMargin, kMargin, kMargin);
                if (bottom) {
                    area = area.united(toolbar.adjusted(-kMargin, 0, kMargin, 0));
                    area.setBottom(toolbar.bottom());
                } else {
                    area.setLeft(toolbar.left());
                }
                area = onScreen(area);
                save(grab(area), name,
                     Json{{"glass", rectJson(panelFrame.translated(-area.topLeft()))},
                          {"toolbar", rectJson(toolbar.translated(-area.topLeft()))},
                          {"room", frameFor(std::nullopt).height}});
                panelWindows_->orderResolutionOut();
                stage_->companionOpen(std::nullopt);
                after(kSettleMilliseconds / 2, next);
            });
        });
    }

    void finish() {
        panelWindows_.reset();
        std::ofstream file(output_ / "screenshots.json");
        file << index_.dump(2) << "\n";
        if (!file) return fail("cannot write screenshots.json");
        QCoreApplication::exit(0);
    }

    fs::path output_;
    host::SimulatedHost& host_;
    dispatch::MainQueue& mainQueue_;
    dispatch::Clock& clock_;
    Desktop desktop_;
    CompositingProbe probe_;
    std::unique_ptr<TransientNotice> notice_;
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<GlassPanel> toolbar_;
    std::unique_ptr<qthost::QtSettingsWindows> panelWindows_;
    std::unique_ptr<input::LauncherModel> launcherModel_;
    std::unique_ptr<QtLauncherPanel> launcher_;
    std::unique_ptr<ToolbarStage> stage_;
    ControlPanelModel settingsModel_;
    FixedSettingsPermissions settingsPermissions_{false};
    QTemporaryDir loginFolder_;
    std::unique_ptr<system::XdgAutostartLoginItems> loginItems_ = std::make_unique<system::XdgAutostartLoginItems>(
        loginFolder_.path().toStdString(), "/opt/corvelle/corvelle");
    PictureApplications pictureApplications_;
    dispatch::SerialQueue scanQueue_{"application-scan"};
    std::unique_ptr<QWidget> settingsWindow_;
    SettingsView* settingsView_ = nullptr;
    double panelHeight_ = 0;
    Json index_ = Json::object();
};

}  // namespace
}  // namespace dorvane::screenshots

int main(int argc, char** argv) {
    using namespace dorvane;
    if (argc != 2) {
        std::cerr << "usage: corvelle-screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    const std::filesystem::path output = argv[1];
    std::error_code error;
    std::filesystem::create_directories(output, error);
    if (error) {
        std::cerr << "corvelle-screenshots: cannot make " << output << ": " << error.message() << "\n";
        return 1;
    }
    // What escapes a step of the shoot (a host call that failed, say) ends the run with one
    // line and status 1, as the tool's own failures do; only the first is said.
    bool failed = false;
    const dispatch::UnhandledFailureHandler onUnhandled = [&failed](const std::string&, std::exception_ptr failure) {
        if (std::exchange(failed, true)) return;
        std::cerr << "corvelle-screenshots: " << dispatch::failureText(failure) << "\n";
        QCoreApplication::exit(1);
    };
    qthost::GuardedApplication application(argc, argv, onUnhandled);
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        std::cerr << "corvelle-screenshots: needs an X display with a compositing manager; run `make screenshots`\n";
        return 1;
    }
    // The pictures' host is the run's own, never the user's: the shoot launches applications,
    // announces notices and switches the appearance there. Removed at the end.
    const QTemporaryDir hostRoot;
    if (!hostRoot.isValid()) {
        std::cerr << "corvelle-screenshots: cannot make a temporary folder: " << hostRoot.errorString().toStdString()
                  << "\n";
        return 1;
    }
    try {
        QApplication::setFont(DesignTokens::font(DesignTokens::fontBody));
        // A blinking text cursor would make a picture depend on the moment it was taken.
        QApplication::setCursorFlashTime(0);
        dispatch::SystemClock clock;
        qthost::QtMainQueue mainQueue(onUnhandled);
        const auto host = host::SimulatedHost::openFolder(std::filesystem::path(hostRoot.path().toStdString()) / "host",
                                                          processes::ProcessRole::tool, clock, &mainQueue);
        qthost::QtApplicationPlatform platform;
        platform.followAppearance(host->appearance(), mainQueue);
        screenshots::Shoot shoot(output, *host, mainQueue, clock);
        QTimer::singleShot(0, [&shoot] { shoot.start(); });
        return QApplication::exec();
    } catch (const std::exception& failure) {
        std::cerr << "corvelle-screenshots: " << failure.what() << "\n";
        return 1;
    }
}
