#include "Dorvane/Input/AppLauncher.h"

#include <vector>

#include "DorvaneCore/Launcher/LauncherOrder.h"
#include "DorvaneCore/Launcher/LauncherScan.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "Dorvane/ShellBase/ScreenSpace.h"

namespace dorvane::input {

using workspace::ActivationPolicy;
using workspace::RunningApplication;

AppLauncher::AppLauncher(Services services) : services_(std::move(services)), files_(services_.root) {
    if (services_.fileQueue == nullptr) {
        ownFileQueue_ = std::make_unique<dispatch::SerialQueue>("launcher-files");
        services_.fileQueue = ownFileQueue_.get();
    }
    usage_ = files_.loadUsage();
    if (auto recent = files_.loadRecent()) {
        model_.setRecent(std::move(*recent));
        model_.layoutChanged();
    }
    model_.close = [this, alive = lifetime_.watch()] {
        if (alive) hide();
    };
    model_.open = [this, alive = lifetime_.watch()](const LauncherApp& app) {
        if (alive) open(app);
    };
    model_.layoutChanged = [this, alive = lifetime_.watch()] {
        if (alive) updateFrame();
    };
    model_.setIconLocator([&installed = services_.installed](const std::string& path) { return installed.iconFile(path); });
    activations_ = services_.workspace.observe(
        workspace::WorkspaceNotification::didActivateApplication,
        [this, alive = lifetime_.watch()](const std::optional<RunningApplication>& application) {
            if (alive) applicationActivated(application);
        });
    try {
        if (const auto frontmost = services_.workspace.frontmostApplication()) record(*frontmost);
    } catch (const std::exception&) {
        // The next activation is recorded all the same.
    }
}

AppLauncher::~AppLauncher() {
    lifetime_.end();
    activations_.cancel();
}

void AppLauncher::setCallbacks(shell::LauncherCallbacks callbacks) { callbacks_ = std::move(callbacks); }

void AppLauncher::show(geometry::Rect anchor, const displays::Screen& screen, ToolbarSide side) {
    anchor_ = anchor;
    presentationScreen_ = screen;
    model_.setSide(side);
    model_.setPresentationID(++presentationGeneration_);
    model_.setError(std::nullopt);
    model_.layoutChanged();
    refresh();

    const auto frame = panelFrameFor(false);
    if (!panel_ && services_.makePanel) panel_ = services_.makePanel(model_, frame);
    if (!panel_) return;
    panel_->setFrame(frame);
    panel_->attach(side);
    panel_->present();
    panel_->reveal(side);
}

void AppLauncher::update(geometry::Rect anchor, const displays::Screen& screen, ToolbarSide side) {
    if (!panelVisible()) return;
    anchor_ = anchor;
    presentationScreen_ = screen;
    model_.setSide(side);
    panel_->attach(side);
    updateFrame();
}

bool AppLauncher::panelVisible() const { return panel_ && panel_->isVisible(); }

std::optional<geometry::Rect> AppLauncher::panelFrame() const {
    if (!panel_) return std::nullopt;
    return panel_->frame();
}

void AppLauncher::orderPanelOut() {
    if (panel_) panel_->orderOut();
}

void AppLauncher::bumpPresentationGeneration() { ++presentationGeneration_; }

void AppLauncher::hide() {
    ++presentationGeneration_;
    orderPanelOut();
    if (callbacks_.onHide) callbacks_.onHide();
}

void AppLauncher::applicationActivated(const std::optional<RunningApplication>& application) {
    if (application) record(*application);
}

void AppLauncher::refresh() {
    std::vector<ApplicationBundle> candidates = workspace::installedBundles(services_.installed);
    std::vector<RunningApplication> running;
    try {
        running = services_.runningApplications.runningApplications();
    } catch (const std::exception&) {
        // An unreadable workspace lists nothing as running; the folders still count.
    }
    std::unordered_set<std::string> runningIdentifiers;
    for (const auto& application : running) {
        if (application.bundleID) runningIdentifiers.insert(*application.bundleID);
        if (application.activationPolicy != ActivationPolicy::regular || !application.bundlePath) continue;
        if (auto bundle = services_.installed.readBundle(*application.bundlePath)) candidates.push_back(std::move(*bundle));
    }
    auto apps = launcherApps(candidates, runningIdentifiers);
    LauncherOrder(model_.recent(), usage_, compareNames_).sort(apps);
    model_.setApps(std::move(apps));
    model_.layoutChanged();
}

geometry::Rect AppLauncher::panelFrameFor(bool hasError) const {
    const auto space = ScreenSpace::of(services_.screens.screens(), presentationScreen_);
    return DesktopToolbarLayout::applications(*anchor_, space.toolkit(presentationScreen_->visibleFrame), model_.side(),
                                              static_cast<int>(model_.cellCount()), hasError, std::nullopt,
                                              scrollingColumns,
                                              LauncherViewMetrics::messageWidth(model_.sections().empty(),
                                                                                hasError ? model_.error() : std::nullopt,
                                                                                services_.measureText));
}

void AppLauncher::updateFrame() {
    if (!panelVisible() || !anchor_ || !presentationScreen_) return;
    const auto frame = panelFrameFor(model_.error().has_value());
    if (frame != panel_->frame()) panel_->setFrame(frame);
}

void AppLauncher::open(const LauncherApp& app) {
    if (model_.launching()) return;
    model_.setLaunching(true);
    const auto generation = presentationGeneration_;
    orderPanelOut();
    if (callbacks_.onHide) callbacks_.onHide();
    // The completion comes on another thread; everything it changes is on the main queue.
    services_.installed.openApplication(
        app.path, true,
        [&mainQueue = services_.mainQueue, alive = lifetime_.watch(), this, app,
         generation](const workspace::OpenApplicationResult& result) {
            mainQueue.post([alive, this, app, generation, result] {
                if (alive) finishLaunch(app, generation, result);
            });
        });
}

void AppLauncher::finishLaunch(const LauncherApp& app, std::uint64_t generation,
                               const workspace::OpenApplicationResult& result) {
    model_.setLaunching(false);
    const bool current = generation == presentationGeneration_;
    if (!result.succeeded()) {
        if (!current) return;
        model_.setError(result.error);
        model_.layoutChanged();
        if (panel_) {
            panel_->present();
            // Only a shown panel follows its layout: now it grows by the error's row.
            updateFrame();
        }
        if (callbacks_.onShow) callbacks_.onShow();
        return;
    }
    usage_.increment(app.id);
    try {
        const auto frontmost = services_.workspace.frontmostApplication();
        if (frontmost && identifierOf(*frontmost) == app.id) record(*frontmost);
    } catch (const std::exception&) {
        // Recorded when its activation is announced.
    }
    write([usage = usage_](const LauncherFiles& files) { files.saveUsage(usage); });
    if (current) orderPanelOut();
}

std::optional<std::string> AppLauncher::identifierOf(const RunningApplication& application) const {
    if (application.bundleID && !application.bundleID->empty()) return application.bundleID;
    if (application.bundlePath && !application.bundlePath->empty()) return standardizedPath(*application.bundlePath);
    return std::nullopt;
}

void AppLauncher::record(const RunningApplication& application) {
    if (application.activationPolicy != ActivationPolicy::regular) return;
    if (application.pid == services_.ownPID || application.bundleID == ownBundleIdentifier) return;
    try {
        if (!services_.workspace.runningApplication(application.pid)) return;  // it has quit since
    } catch (const std::exception&) {
        return;
    }
    if (const auto identifier = identifierOf(application)) record(*identifier);
}

void AppLauncher::record(const std::string& identifier) {
    auto recent = model_.recent();
    recent.record(identifier);
    if (recent == model_.recent()) return;
    model_.setRecent(recent);
    model_.layoutChanged();
    write([recent](const LauncherFiles& files) { files.saveRecent(recent); });
}

void AppLauncher::write(std::function<void(const LauncherFiles&)> save) {
    // Failures leave the file as it was; the launcher goes on with what it holds.
    services_.fileQueue->post([files = files_, save = std::move(save)] {
        try {
            save(files);
        } catch (const std::exception&) {
        }
    });
}

}  // namespace dorvane::input
