#include "Dorvane/App/InputNeighbours.h"

#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/Input/ShortcutSender.h"
#include "Dorvane/Input/UUTouchScroll.h"
#include "Dorvane/QtHost/QtPermissionGuide.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"

namespace dorvane {

namespace {

void writeOperation(std::string_view line) { OperationDiagnostics::write(line); }

// The permission monitor and its guide, shared by the tracker and the sender.
struct ProgramPermissions {
    explicit ProgramPermissions(const qthost::NeighbourServices& services)
        : ui(services.host.screens(), services.host.applicationWorkspace(), services.host.process().pid,
             services.executable),
          monitor(ShortcutPermissions::Services{services.host.accessibility(), services.host.events(),
                                                services.host.applicationWorkspace(), services.host.windowList(),
                                                services.host.screens(), services.host.urlOpener(),
                                                services.mainQueue, services.clock, &ui}) {}

    qthost::QtPermissionGuideUI ui;
    ShortcutPermissions monitor;
};

class ProgramPermissionTracker final : public shell::PermissionTracker {
public:
    explicit ProgramPermissionTracker(std::shared_ptr<ProgramPermissions> permissions)
        : permissions_(std::move(permissions)) {}

    void refresh() override { permissions_->monitor.refresh(); }
    bool accessibilityGranted() const override { return permissions_->monitor.state().accessibility; }
    void setCompletion(std::function<void()> completion) override {
        permissions_->monitor.completion = std::move(completion);
    }
    void showGuide() override { permissions_->monitor.showGuide(); }

private:
    std::shared_ptr<ProgramPermissions> permissions_;
};

class ProgramDockSender final : public shell::DockShortcutSender {
public:
    ProgramDockSender(const qthost::NeighbourServices& services, std::shared_ptr<ProgramPermissions> permissions)
        : permissions_(std::move(permissions)),
          sender_(ShortcutSender::Services{services.host.events(), services.host.pointer(),
                                           services.host.applicationWorkspace(), services.host.accessibility(),
                                           services.host.systemSound(), services.mainQueue, services.clock,
                                           writeOperation, &permissions_->monitor}) {}

    void enqueueTap(const NamedShortcut& shortcut, std::optional<std::int32_t> targetPID) override {
        sender_.enqueueTap(shortcut, targetPID);
    }
    void releaseAll() override { sender_.releaseAll(); }
    dispatch::Task<void> waitForPendingTap() override { co_await sender_.pendingTap(); }

private:
    std::shared_ptr<ProgramPermissions> permissions_;  // outlives the sender, which asks it
    ShortcutSender sender_;
};

}  // namespace

InputNeighbours makeInputNeighbours(const qthost::NeighbourServices& services) {
    auto permissions = std::make_shared<ProgramPermissions>(services);
    InputNeighbours input;
    input.dockSender = std::make_unique<ProgramDockSender>(services, permissions);
    input.monitor = std::shared_ptr<ShortcutPermissions>(permissions, &permissions->monitor);
    input.permissions = std::make_unique<ProgramPermissionTracker>(std::move(permissions));
    input.touchScroll = std::make_unique<UUTouchScroll>(
        UUTouchScroll::Services{services.host.events(), services.host.processes(), services.host.windowList(),
                                services.clock, EventTapThread::shared(), writeOperation});
    return input;
}

}  // namespace dorvane
