// The automatic moves beside the docked toolbar: a window that overlaps the expanded
// toolbar is moved just past it or trimmed; when the toolbar collapses, a window that
// bordered it is stretched back to the screen edge. They give way to the user: a busy
// worker or a pressed mouse button makes them do nothing, and a button pressed during a
// write stops it.
#include <string>

#include "Dorvane/Windows/WindowControllerWorker.h"
#include "DorvaneCore/Windows/WindowLayout.h"
#include "DorvaneCore/Windows/WindowLogText.h"
#include "Platform/Accessibility/AXNames.h"

namespace dorvane::windows {

using accessibility::AXElement;
using accessibility::AXError;
using accessibility::AXValue;
namespace attribute = accessibility::attribute;

dispatch::Task<void> WindowControllerWorker::moveAsideFromToolbar(ApplicationWindowCatalog::Window window, Rect toolbar,
                                                                  Rect screen, ToolbarSide side,
                                                                  dispatch::CancellationToken token) {
    return adjustBesideToolbar(ToolbarMove::moveAside, window, toolbar, screen, side, std::move(token));
}

dispatch::Task<void> WindowControllerWorker::fillCollapsedToolbar(ApplicationWindowCatalog::Window window, Rect toolbar,
                                                                  Rect screen, ToolbarSide side,
                                                                  dispatch::CancellationToken token) {
    return adjustBesideToolbar(ToolbarMove::fillCollapsed, window, toolbar, screen, side, std::move(token));
}

dispatch::Task<void> WindowControllerWorker::adjustBesideToolbar(ToolbarMove move,
                                                                 ApplicationWindowCatalog::Window catalogWindow,
                                                                 Rect toolbar, Rect screen, ToolbarSide side,
                                                                 dispatch::CancellationToken token) {
    co_await dispatch::resumeOn(queue_);
    if (token.isCancelled() || performing_ || !services_.ax.isProcessTrusted() || userHoldsMouse()) co_return;
    const BusyScope busy(*this, true);
    co_await readFrontmost();

    const pid_t pid = catalogWindow.pid;
    const AXElement application = reader_.application(pid, toolbarMessagingTimeout);
    for (const auto& window : reader_.elements(application, attribute::windows)) {
        if (token.isCancelled() || userHoldsMouse()) co_return;
        reader_.setTimeout(window, toolbarMessagingTimeout);
        if (reader_.isTrue(window, attribute::fullScreen) || reader_.isTrue(window, attribute::minimized) ||
            reader_.text(window, attribute::subrole) != accessibility::subrole::standardWindow) {
            continue;
        }
        const auto frame = frameIfReadable(window);
        if (!frame) continue;
        const auto number = windowServerID(pid, window, *frame);
        if (number != catalogWindow.number) continue;
        if (!WindowLayout::approximatelyEqual(*frame, catalogWindow.frame, WindowLayout::settleTolerance)) continue;
        const auto target = move == ToolbarMove::moveAside
                                ? WindowLayout::avoidingToolbar(*frame, toolbar, screen, side)
                                : WindowLayout::fillingCollapsedToolbar(*frame, toolbar, screen, side,
                                                                        collapseTolerance);
        if (!target) continue;

        const std::string from = " from=" + rectText(*frame) + " target=" + rectText(*target);
        const std::string app = "appPID=" + std::to_string(pid);
        if (move == ToolbarMove::moveAside && target->size() == frame->size()) {
            // A pure move: one position write, neither verified nor waited for.
            if (!reader_.settable(window, attribute::position)) co_return;
            if (token.isCancelled() || userHoldsMouse()) co_return;
            const AXError result = services_.ax.setAttributeValue(window, attribute::position, AXValue(target->origin()));
            log("toolbar overlap move " + app + " result=" + std::to_string(accessibility::axErrorCode(result)) + from);
            co_return;
        }
        const bool moving = move == ToolbarMove::moveAside;
        std::exception_ptr failure;
        try {
            co_await setCompatibleFrame(*target, window, application, number, true, std::nullopt,
                                        enhancedUserInterface(application), token);
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) {
            log(std::string(moving ? "toolbar overlap skipped " : "toolbar collapse skipped ") + app +
                " error=" + errorDescription(failure));
        } else {
            log(std::string(moving ? "toolbar overlap trimmed " : "toolbar collapse filled ") + app + from);
        }
        co_return;
    }
}

}  // namespace dorvane::windows
