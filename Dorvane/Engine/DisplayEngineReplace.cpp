// Handing a fitted layout over to a virtual display of another size.

#include <cerrno>
#include <exception>
#include <system_error>

#include "Dorvane/Engine/DisplayEngine.h"
#include "DorvaneCore/Core/FailureText.h"
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
    DisplayHandover handover;
    handover.oldSize = *applied_;
    handover.oldID = virtualDisplay_->displayID();
    // Bytes that are no session are never written back by the fallback.
    const auto recovery = recoveryBytes();

    const auto live = HeadlessPlaceholder::mirrorable(snapshot());
    if (!fittedAround(live, handover.oldID)) throw FitError::message(kLayoutChangedMessage);
    for (const auto& display : live) {
        if (display.id == handover.oldID) handover.oldState = display;
        if (display.physical) handover.physical.push_back(display);
    }

    log("display_replacement_start", handover.oldSize.label() + " -> " + dimensions.label());
    std::exception_ptr failure;
    try {
        handOver(handover, dimensions, injectFailure, injectFailureAfterSwitch);
        return;
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    log("display_replacement_failed", messageOf(failure));

    if (!handover.oldReleased && putOldDisplayBack(handover)) {
        applied_ = handover.oldSize;
        log("display_replacement_rolled_back", handover.oldSize.label() + " source_retained=true");
        std::rethrow_exception(failure);
    }
    fallBackToPhysicalLayout(handover, dimensions, recovery);
    log("display_replacement_rolled_back", handover.oldSize.label() + " source_retained=false");
    std::rethrow_exception(failure);
}

void DisplayEngine::handOver(DisplayHandover& handover, const Dimensions& dimensions, bool injectFailure,
                             bool injectFailureAfterSwitch) {
    const auto standard = ZeroDisplayActivation::standard();
    handover.newDisplay = createDisplay(dimensions, standard);
    const std::uint32_t newID = handover.newID = handover.newDisplay->displayID();
    const auto source = readySource(newID, dimensions, standard);
    const auto targets = DisplayTransition::targets(source, dimensions, handover.physical, handover.oldState);
    for (const auto& target : targets) {
        if (target.id == newID) handover.newTarget = target;
    }
    if (injectFailure) throw FitError::message("测试：模拟屏幕切换失败");
    handover.commitAttempted = true;
    commit(targets);
    verifyTransition(targets, newID, std::nullopt);
    if (injectFailureAfterSwitch) throw FitError::message("测试：模拟屏幕交接后失败");

    retire(std::exchange(virtualDisplay_, std::move(handover.newDisplay)));  // the old display leaves the system
    handover.oldReleased = true;
    std::vector<DisplayState> remaining;
    for (const auto& target : targets) {
        if (target.id != handover.oldID) remaining.push_back(target);
    }
    verifyTransition(remaining, newID, handover.oldID);

    applied_ = dimensions;
    log("display_handoff",
        "old=" + std::to_string(handover.oldID) + " new=" + std::to_string(newID) + " physical_restore=false");
    log("display_replacement_complete", dimensions.label());
}

bool DisplayEngine::putOldDisplayBack(DisplayHandover& handover) {
    try {
        if (handover.commitAttempted && handover.newTarget) {
            const auto reverse = DisplayTransition::targets(handover.oldState, handover.oldSize, handover.physical,
                                                            handover.newTarget);
            commit(reverse);
            verifyTransition(reverse, handover.oldID, std::nullopt);
        }
        const bool created = handover.newDisplay != nullptr;
        retire(std::move(handover.newDisplay));
        verifyTransition(
            DisplayTransition::targets(handover.oldState, handover.oldSize, handover.physical, std::nullopt),
            handover.oldID, created ? std::optional<std::uint32_t>(handover.newID) : std::nullopt);
        return true;
    } catch (const std::exception& recoveryError) {
        log("display_handoff_recovery_failed", technicalText(recoveryError));
        return false;
    }
}

// Back to the physical layout, then the old size fitted anew over the layout saved before
// the first fit.
void DisplayEngine::fallBackToPhysicalLayout(DisplayHandover& handover, const Dimensions& dimensions,
                                             const std::optional<std::string>& recovery) {
    retire(std::move(handover.newDisplay));
    try {
        if (!restoreNow()) {
            // No physical display to go back to: the restore now waits for one, and
            // fitting the old size again would only repeat this hand-over.
            if (handover.oldReleased) applied_ = dimensions;  // the display kept meanwhile is the new one
            throw FitError::message("显示器接回后自动还原");
        }
        activate(handover.oldSize, false, recovery, false);
    } catch (const std::exception& fallbackError) {
        log("display_replacement_rollback_failed", technicalText(fallbackError));
        std::throw_with_nested(FitError::message("切换及恢复上次规格失败：" + shownText(fallbackError)));
    }
}

}  // namespace dorvane
