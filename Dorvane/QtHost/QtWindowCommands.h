#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "Dorvane/QtHost/QtLocalMouseMonitor.h"
#include "Dorvane/QtHost/QtOwnWindows.h"
#include "Dorvane/ShellBase/Neighbours/AutoFill.h"
#include "Dorvane/ShellBase/Neighbours/WindowCommands.h"
#include "Dorvane/ShellBase/Neighbours/WorkspaceLayout.h"
#include "Dorvane/Windows/ApplicationWindowCatalog.h"
#include "Dorvane/Windows/WindowAXWorker.h"
#include "Dorvane/Windows/WindowControlPerformer.h"
#include "Dorvane/Windows/WindowController.h"
#include "Dorvane/Windows/WindowPicker.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::qthost {

class QtOwnWindowReporter;

// The running program's window commands behind the shell's seam: the Accessibility
// worker, the command facade with its own window controller, the application
// controller's window controller (maximise and centre), the window catalog and the
// window picker, each actor on a queue of its own, over the host's services and the
// program's Qt windows. Both controllers write "WindowActions.log" in the support
// folder; operations-log lines go to OperationDiagnostics. It also makes the workspace
// layout and auto-fill neighbours over the same objects; they must go before it does.
// Main thread only; destroyed before the host and the main queue, its queues stop and
// join first.
class QtWindowCommands final : public shell::WindowCommands {
public:
    // Where the actors run.
    struct Queues {
        dispatch::Executor& ax;
        dispatch::Executor& layout;
        dispatch::Executor& controller;
        dispatch::Executor& catalog;
    };

    // Without `queues`, each actor gets a serial queue of its own; tests in virtual time
    // bring the scheduler's.
    QtWindowCommands(host::SimulatedHost& host, dispatch::MainQueue& mainQueue, dispatch::Clock& clock,
                     const std::filesystem::path& supportFolder, const QtOwnWindowReporter& reporter,
                     std::optional<Queues> queues = std::nullopt);
    ~QtWindowCommands() override;
    QtWindowCommands(const QtWindowCommands&) = delete;
    QtWindowCommands& operator=(const QtWindowCommands&) = delete;

    // What the workspace controller, automatic filling and the toolbar build on.
    windows::WindowControlPerformer& facade() { return *facade_; }
    windows::WindowController& windowController() { return *windowController_; }
    windows::ApplicationWindowCatalog& catalog() { return *catalog_; }

    // Keeps other applications' windows clear of the toolbar, moving them with the
    // application controller's window controller.
    std::unique_ptr<shell::WorkspaceLayout> makeWorkspaceLayout();
    // Fills the front window of activated applications through the facade.
    std::unique_ptr<shell::AutoFill> makeAutoFill();

    void setLayoutHooks(PrepareLayout prepare, LayoutArea area) override;
    void startTracking() override { facade_->startTracking(); }
    bool hasOwnTarget() override { return facade_->ownTarget().has_value(); }
    dispatch::Task<void> perform(FloatingAction action, std::optional<std::int32_t> targetPID, displays::Screen screen,
                                 std::optional<geometry::Rect> workspace) override;
    // Failures are thrown; there is never a message to show.
    dispatch::Task<std::optional<std::string>> performControl(windows::WindowControl control,
                                                              std::int32_t pid) override;
    dispatch::Task<void> snap(windows::WindowSnap snap, std::int32_t pid) override { return facade_->snap(snap, pid); }
    dispatch::Task<void> toggleFill(std::int32_t pid) override { return facade_->toggleFill(pid); }
    dispatch::Task<void> autoFillFront(std::int32_t pid) override { return facade_->autoFillFront(pid); }
    dispatch::Task<std::optional<windows::ScreenWindow>> frontScreenWindow(std::int32_t pid) override {
        return facade_->frontScreenWindow(pid);
    }
    std::int64_t beginPlacementSession() override { return facade_->beginPicked(); }
    void placePicked(windows::WindowArrangement arrangement, const windows::ScreenWindow& window, int slot) override {
        facade_->placePicked(arrangement, window, slot);
    }
    dispatch::Task<std::optional<std::string>> endPicked(windows::WindowArrangement arrangement,
                                                         std::int64_t generation) override {
        return facade_->endPicked(arrangement, generation);
    }
    bool beginPicking(windows::WindowArrangement arrangement, const std::optional<windows::ScreenWindow>& prepicked,
                      PlacePicked place, std::function<void()> finished) override {
        return picker_->begin(arrangement, prepicked, std::move(place), std::move(finished));
    }
    void endPicking() override { picker_->end(); }

private:
    dispatch::Task<std::optional<std::string>> runControl(windows::WindowControl control, std::int32_t pid);

    struct OwnQueues {
        dispatch::SerialQueue ax{"window-ax"};
        dispatch::SerialQueue layout{"window-layout"};
        dispatch::SerialQueue controller{"window-controller"};
        dispatch::SerialQueue catalog{"window-catalog"};
        Queues queues() { return Queues{ax, layout, controller, catalog}; }
    };

    std::unique_ptr<OwnQueues> ownQueues_;  // none when the queues were given
    Queues queues_;
    QtOwnWindows ownWindows_;
    std::unique_ptr<windows::WindowAXWorker> axWorker_;
    std::unique_ptr<windows::WindowControlPerformer> facade_;
    std::unique_ptr<windows::WindowController> windowController_;
    std::unique_ptr<windows::ApplicationWindowCatalog> catalog_;
    QtLocalMouseMonitor localMonitor_;
    std::unique_ptr<windows::WindowPicker> picker_;
    host::SimulatedHost& host_;
    dispatch::MainQueue& mainQueue_;
    dispatch::Clock& clock_;
};

}  // namespace dorvane::qthost
