// Handing a fitted layout over to a virtual display of another size.

#include <cerrno>
#include <exception>
#include <system_error>

#include "Dorvane/Engine/DisplayEngine.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/DisplayTransition.h"
#include "DorvaneCore/Display/HeadlessPlaceholder.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {

namespace {

std::string messageOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& caught) {
        return caught.what();
    } catch (...) {
        return "未知错误";
    }
}

// The live layout must be the fitted one: the old display main, everything else
// physical and mirroring it (or nothing), and someone mirroring it unless nothing
// physical is online.
bool fittedAround(const std::vector<DisplayState>& live, std::uint32_t oldID) {
    bool found = false;
    bool mirrored = false;
    bool anyPhysical = false;
    for (const auto& display : live) {
        if (display.physical) anyPhysical = true;
        if (display.mirror == oldID) mirrored = true;
        if (display.id == oldID) {
            if (!display.main) return false;
            found = true;
        } else if (!display.physical || (display.mirror != oldID && display.mirror != 0)) {
            return false;
        }
    }
    return found && (mirrored || !anyPhysical);
}

}  // namespace

void DisplayEngine::replaceDisplay(const Dimensions& dimensions, bool injectFailure, bool injectFailureAfterSwitch) {
    if (!applied_ || !virtualDisplay_) throw FitError::message("尚未应用分辨率");
    const Dimensions oldSize = *applied_;
    const std::uint32_t oldID = virtualDisplay_->displayID();
    // Bytes that are no session are never written back by the fallback.
    const auto recovery = recoveryBytes();

    const auto live = HeadlessPlaceholder::mirrorable(snapshot());
    if (!fittedAround(live, oldID)) throw FitError::message(kLayoutChangedMessage);
    DisplayState oldState;
    std::vector<DisplayState> physical;
    for (const auto& display : live) {
        if (display.id == oldID) oldState = display;
        if (display.physical) physical.push_back(display);
    }

    log("display_replacement_start", oldSize.label() + " -> " + dimensions.label());
    const auto standard = ZeroDisplayActivation::standard();
    std::unique_ptr<DVVirtualDisplay> newDisplay;  // ours until it takes over
    std::uint32_t newID = 0;
    std::optional<DisplayState> newTarget;
    bool commitAttempted = false;
    bool oldReleased = false;
    std::exception_ptr failure;
    try {
        newDisplay = createDisplay(dimensions, standard);
        newID = newDisplay->displayID();
        const auto source = readySource(newID, dimensions, standard);
        const auto targets = DisplayTransition::targets(source, dimensions, physical, oldState);
        for (const auto& target : targets) {
            if (target.id == newID) newTarget = target;
        }
        if (injectFailure) throw FitError::message("测试：模拟屏幕切换失败");
        commitAttempted = true;
        commit(targets);
        verifyTransition(targets, newID, std::nullopt);
        if (injectFailureAfterSwitch) throw FitError::message("测试：模拟屏幕交接后失败");

        retire(std::exchange(virtualDisplay_, std::move(newDisplay)));  // the old display leaves the system
        oldReleased = true;
        std::vector<DisplayState> remaining;
        for (const auto& target : targets) {
            if (target.id != oldID) remaining.push_back(target);
        }
        verifyTransition(remaining, newID, oldID);

        applied_ = dimensions;
        log("display_handoff",
            "old=" + std::to_string(oldID) + " new=" + std::to_string(newID) + " physical_restore=false");
        log("display_replacement_complete", dimensions.label());
        return;
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    log("display_replacement_failed", messageOf(failure));

    if (!oldReleased) {
        // Put the old display back as the main display and let the new one go.
        bool retained = false;
        try {
            if (commitAttempted && newTarget) {
                const auto reverse = DisplayTransition::targets(oldState, oldSize, physical, newTarget);
                commit(reverse);
                verifyTransition(reverse, oldID, std::nullopt);
            }
            const bool created = newDisplay != nullptr;
            retire(std::move(newDisplay));
            verifyTransition(DisplayTransition::targets(oldState, oldSize, physical, std::nullopt), oldID,
                             created ? std::optional<std::uint32_t>(newID) : std::nullopt);
            retained = true;
        } catch (const std::exception& recoveryError) {
            log("display_handoff_recovery_failed", recoveryError.what());
        }
        if (retained) {
            applied_ = oldSize;
            log("display_replacement_rolled_back", oldSize.label() + " source_retained=true");
            std::rethrow_exception(failure);
        }
    }

    // Last resort: back to the physical layout, then the old size fitted anew over the
    // layout saved before the first fit.
    retire(std::move(newDisplay));
    try {
        if (!restoreNow()) {
            // No physical display to go back to: the restore now waits for one, and
            // fitting the old size again would only repeat this hand-over.
            if (oldReleased) applied_ = dimensions;  // the display kept meanwhile is the new one
            throw FitError::message("显示器接回后自动还原");
        }
        activate(oldSize, false, recovery, false);
    } catch (const std::exception& fallbackError) {
        log("display_replacement_rollback_failed", fallbackError.what());
        throw FitError::message(std::string("切换及恢复上次规格失败：") + fallbackError.what());
    }
    log("display_replacement_rolled_back", oldSize.label() + " source_retained=false");
    std::rethrow_exception(failure);
}

}  // namespace dorvane
