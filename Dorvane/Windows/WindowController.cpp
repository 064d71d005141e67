#include "Dorvane/Windows/WindowController.h"

#include "Dorvane/Windows/ToolkitScreens.h"

namespace dorvane::windows {

WindowController::WindowController(WindowControllerWorker::Services services, dispatch::Executor& workerQueue,
                                   std::filesystem::path logURL, displays::ScreenServices& screens)
    : worker_(services, workerQueue, std::move(logURL)), screens_(screens) {}

WindowController::~WindowController() { lifetime_.end(); }

Rect WindowController::accessibilityFrame(const displays::Screen& screen, const std::vector<displays::Screen>& screens) {
    const ToolkitScreens toolkit(screens.empty() ? std::vector<displays::Screen>{screen} : screens);
    return toolkit.topLeft(toolkit.toolkit(screen.visibleFrame));
}

dispatch::Task<void> WindowController::perform(FloatingAction action, std::optional<std::int32_t> targetPID,
                                               displays::Screen screen, std::optional<Rect> workspace,
                                               dispatch::CancellationToken token) {
    if (performing_) co_return;
    performing_ = true;
    const auto alive = lifetime_.watch();
    // Cleared after success and failure alike, unless the controller went meanwhile.
    struct Clear {
        dispatch::Lifetime::Watch alive;
        bool& performing;
        ~Clear() {
            if (alive) performing = false;
        }
    } clear{alive, performing_};
    token.throwIfCancelled();
    const auto all = screens_.screens();
    const Rect area = accessibilityFrame(screen, all);
    std::vector<Rect> frames;
    for (const auto& each : all) frames.push_back(accessibilityFrame(each, all));
    co_await worker_.perform(action, targetPID, area, std::move(frames), workspace, std::move(token));
}

}  // namespace dorvane::windows
