#include "Dorvane/QtHost/QtWindowCommands.h"

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "Dorvane/Windows/AutoFillController.h"
#include "Dorvane/Windows/WindowActionLog.h"
#include "Dorvane/Windows/WorkspaceLayoutController.h"

namespace dorvane::qthost {

namespace {

// The shell's seams over the window controllers, which know nothing of the shell.
class WorkspaceLayoutSeam final : public shell::WorkspaceLayout {
public:
    explicit WorkspaceLayoutSeam(windows::WorkspaceLayoutController::Services services) : controller_(services) {}

    void setRegionProvider(RegionProvider provider) override {
        if (provider) controller_.region = std::move(provider);
    }
    void setEnabled(bool on) override { controller_.setEnabled(on); }
    void cancel() override { controller_.cancel(); }
    dispatch::Task<void> suspendCurrentAdjustment() override { return controller_.suspendCurrentAdjustment(); }
    void releaseToolbar() override { controller_.releaseToolbar(); }

private:
    windows::WorkspaceLayoutController controller_;
};

class AutoFillSeam final : public shell::AutoFill {
public:
    explicit AutoFillSeam(windows::AutoFillController::Services services) : controller_(std::move(services)) {}

    void setPerform(Perform perform) override {
        if (perform) controller_.perform = std::move(perform);
    }
    void setCanFill(CanFill canFill) override {
        if (canFill) controller_.canFill = std::move(canFill);
    }
    void setEnabled(bool on) override { controller_.setEnabled(on); }

private:
    windows::AutoFillController controller_;
};

}  // namespace

QtWindowCommands::QtWindowCommands(host::SimulatedHost& host, dispatch::MainQueue& mainQueue, dispatch::Clock& clock,
                                   const std::filesystem::path& supportFolder, const QtOwnWindowReporter& reporter,
                                   std::optional<Queues> queues)
    : ownQueues_(queues ? nullptr : std::make_unique<OwnQueues>()),
      queues_(queues ? *queues : ownQueues_->queues()),
      ownWindows_([&reporter](const QWidget* window) { return reporter.number(window); }),
      localMonitor_(ownWindows_),
      host_(host),
      mainQueue_(mainQueue),
      clock_(clock) {
    const pid_t ownPID = host.process().pid;
    const auto logURL = supportFolder / windows::WindowActionLog::fileName;
    const windows::WindowControllerWorker::Services services{host.accessibility(), host.windowList(),
                                                             host.applicationWorkspace(), host.pointer(), mainQueue,
                                                             clock, ownPID};
    axWorker_ = std::make_unique<windows::WindowAXWorker>(host.accessibility(), host.keyPosting(), queues_.ax,
                                                          OperationDiagnostics::write);
    facade_ = std::make_unique<windows::WindowControlPerformer>(
        windows::WindowControlPerformer::Services{*axWorker_, ownWindows_, host.screens(), mainQueue,
                                                  OperationDiagnostics::write},
        services, queues_.layout, logURL);
    windowController_ = std::make_unique<windows::WindowController>(services, queues_.controller, logURL, host.screens());
    catalog_ = std::make_unique<windows::ApplicationWindowCatalog>(
        queues_.catalog, host.accessibility(),
        windows::ApplicationWindowCatalog::windowServerQuery(host.windowList(), host.applicationWorkspace(), ownPID),
        [&clock] { return clock.uptime(); });
    picker_ = std::make_unique<windows::WindowPicker>(windows::WindowPicker::Services{
        host.accessibility(), host.pointer(), localMonitor_, ownWindows_, host.screens(), host.applicationWorkspace(),
        mainQueue, [this] { return facade_->screenWindows(); }, OperationDiagnostics::write});
}

std::unique_ptr<shell::WorkspaceLayout> QtWindowCommands::makeWorkspaceLayout() {
    return std::make_unique<WorkspaceLayoutSeam>(windows::WorkspaceLayoutController::Services{
        *windowController_, facade_->layoutController(), *catalog_, host_.accessibility(), host_.pointer(),
        host_.applicationWorkspace(), mainQueue_, clock_});
}

std::unique_ptr<shell::AutoFill> QtWindowCommands::makeAutoFill() {
    return std::make_unique<AutoFillSeam>(windows::AutoFillController::Services{
        host_.applicationWorkspace(), host_.accessibility(), host_.pointer(), mainQueue_, host_.process().pid,
        [this] { facade_->resetAutoFillTracker(); }});
}

QtWindowCommands::~QtWindowCommands() {
    picker_->end();
    // The actors stop first: what was posted to them runs while everything they use
    // still exists, and tasks that would hop onto them from then on are dropped.
    if (ownQueues_) {
        ownQueues_->ax.stop();
        ownQueues_->layout.stop();
        ownQueues_->controller.stop();
        ownQueues_->catalog.stop();
    }
}

void QtWindowCommands::setLayoutHooks(PrepareLayout prepare, LayoutArea area) {
    facade_->setPrepareLayout(std::move(prepare));
    facade_->setLayoutArea(std::move(area));
}

dispatch::Task<void> QtWindowCommands::perform(FloatingAction action, std::optional<std::int32_t> targetPID,
                                               displays::Screen screen, std::optional<geometry::Rect> workspace) {
    return windowController_->perform(action, targetPID, screen, workspace);
}

dispatch::Task<std::optional<std::string>> QtWindowCommands::performControl(windows::WindowControl control,
                                                                            std::int32_t pid) {
    return runControl(control, pid);
}

dispatch::Task<std::optional<std::string>> QtWindowCommands::runControl(windows::WindowControl control,
                                                                        std::int32_t pid) {
    co_await facade_->perform(control, pid);
    co_return std::nullopt;
}

}  // namespace dorvane::qthost
