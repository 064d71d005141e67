#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "Dorvane/Windows/WindowControllerWorker.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::windows {

// The main-queue front of one frame worker: it owns the worker, keeps the busy flag that
// lets its owner start one window action at a time, and turns the screens into the
// top-left work areas the worker expects. The application controller has one for the
// toolbar's maximise and centre and the moves beside the toolbar; the command facade has
// one for snaps, layouts and fills, whose frame gate shares its flag.
class WindowController {
public:
    // The worker runs on `workerQueue`, which must outlive the controller's tasks.
    WindowController(WindowControllerWorker::Services services, dispatch::Executor& workerQueue,
                     std::filesystem::path logURL, displays::ScreenServices& screens);
    ~WindowController();
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    WindowControllerWorker& worker() { return worker_; }

    // True while an action of this controller (or a gated write of the facade) runs.
    bool performing() const { return performing_; }
    void setPerforming(bool performing) { performing_ = performing; }

    // Maximise or centre on the process's focused window, within `workspace` (top-left)
    // when given, else on the visible frame of `screen`. A second action while one runs
    // is dropped without a word; the worker's errors and cancellation pass through.
    dispatch::Task<void> perform(FloatingAction action, std::optional<std::int32_t> targetPID,
                                 displays::Screen screen, std::optional<Rect> workspace,
                                 dispatch::CancellationToken token = {});

    // A screen's visible frame in the top-left space, flipped through the toolkit's space
    // against the first screen of the list (the screen's own frame when the list is empty).
    static Rect accessibilityFrame(const displays::Screen& screen, const std::vector<displays::Screen>& screens);

private:
    WindowControllerWorker worker_;
    displays::ScreenServices& screens_;
    bool performing_ = false;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::windows
