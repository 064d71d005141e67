#include "Dorvane/QtHost/QtWindowCommands.h"

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/Shell/OperationDiagnostics.h"
#include "Dorvane/Windows/WindowActionLog.h"

namespace dorvane::qthost {

QtWindowCommands::QtWindowCommands(host::SimulatedHost& host, dispatch::MainQueue& mainQueue, dispatch::Clock& clock,
                                   const std::filesystem::path& supportFolder, const QtOwnWindowReporter& reporter)
    : axQueue_(std::make_unique<dispatch::SerialQueue>("window-ax")),
      layoutQueue_(std::make_unique<dispatch::SerialQueue>("window-layout")),
      controllerQueue_(std::make_unique<dispatch::SerialQueue>("window-controller")),
      catalogQueue_(std::make_unique<dispatch::SerialQueue>("window-catalog")),
      ownWindows_([&reporter](const QWidget* window) { return reporter.number(window); }) {
    const pid_t ownPID = host.process().pid;
    const auto logURL = supportFolder / windows::WindowActionLog::fileName;
    const windows::WindowControllerWorker::Services services{host.accessibility(), host.windowList(),
                                                             host.applicationWorkspace(), host.pointer(), mainQueue,
                                                             clock, ownPID};
    axWorker_ = std::make_unique<windows::WindowAXWorker>(host.accessibility(), host.keyPosting(), *axQueue_,
                                                          OperationDiagnostics::write);
    facade_ = std::make_unique<windows::WindowControlPerformer>(
        windows::WindowControlPerformer::Services{*axWorker_, ownWindows_, host.screens(), mainQueue,
                                                  OperationDiagnostics::write},
        services, *layoutQueue_, logURL);
    windowController_ = std::make_unique<windows::WindowController>(services, *controllerQueue_, logURL, host.screens());
    catalog_ = std::make_unique<windows::ApplicationWindowCatalog>(
        *catalogQueue_, host.accessibility(),
        windows::ApplicationWindowCatalog::windowServerQuery(host.windowList(), host.applicationWorkspace(), ownPID),
        [&clock] { return clock.uptime(); });
}

QtWindowCommands::~QtWindowCommands() {
    // The actors stop first: what was posted to them runs while everything they use
    // still exists, and tasks that would hop onto them from then on are dropped.
    axQueue_->stop();
    layoutQueue_->stop();
    controllerQueue_->stop();
    catalogQueue_->stop();
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
