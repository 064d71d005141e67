// Start-up check, apply and the fit itself.

#include <cstdio>
#include <exception>

#include "Dorvane/Engine/DisplayEngine.h"
#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/ActivationBase.h"
#include "DorvaneCore/Display/DisplayTransition.h"
#include "DorvaneCore/Display/HeadlessPlaceholder.h"
#include "DorvaneCore/Resolution/SupportedRange.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {

namespace {

constexpr int kLeftoverPolls = 15;
constexpr double kLeftoverPause = 0.2;
constexpr const char* kConflictMessage =
    "检测到系统当前正在使用其他虚拟屏幕或屏幕镜像。请先关闭冲突的显示设置，再应用分辨率。";

std::string appliedTitle(const Dimensions& dimensions) { return "已应用 · " + dimensions.label(); }

std::string threeDecimals(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string conflictKeys(const std::vector<DisplayState>& displays) {
    std::string text;
    for (const auto& display : displays) {
        if (!text.empty()) text += " ";
        text += std::to_string(display.id) + ":" + display.hardwareKey + ":" + display.uuid.value_or("-");
    }
    return text;
}

}  // namespace

EngineStatus DisplayEngine::initializeNow() {
    dispatch::assertOn(queue_, "DisplayEngine::initializeNow");
    try {
        if (!recovered_) {
            if (hasSession()) restoreNow();
            recovered_ = true;
        }
        if (!DVVirtualDisplay::isAvailable(virtualDisplays_)) throw FitError::message("当前系统不支持虚拟屏幕。");
        return report(applied_ ? appliedTitle(*applied_) : "就绪", std::nullopt);
    } catch (const std::exception& error) {
        // The status shows the cause only in the panels: the log keeps it too.
        log("check_failed", technicalText(error));
        // Held out by another program, the check did not finish: it did not find the system
        // wanting.
        const bool heldOut = dynamic_cast<const BusyFailure*>(&error) != nullptr;
        return report(hasSession() ? "待还原屏幕" : heldOut ? "检测未完成" : "检测未通过", shownText(error));
    }
}

EngineStatus DisplayEngine::applyNow(const Dimensions& dimensions) {
    dispatch::assertOn(queue_, "DisplayEngine::applyNow");
    if (shuttingDown_) return report("正在还原…", std::nullopt);
    auto status = initializeNow();
    if (status.detail) return status;
    if (applied_ != dimensions) {
        try {
            activate(dimensions, false, std::nullopt, false);
        } catch (const std::exception& error) {
            log("error", technicalText(error));
            const char* title = applied_ ? "切换未完成" : hasSession() ? "待还原屏幕" : "应用未完成";
            return report(title, shownText(error));
        }
    }
    return report(appliedTitle(dimensions), std::nullopt);
}

void DisplayEngine::activate(const Dimensions& dimensions, bool injectFailure,
                             const std::optional<std::string>& givenRecoveryData, bool injectFailureAfterSwitch) {
    dispatch::assertOn(queue_, "DisplayEngine::activate");
    if (!isSupportedSize(dimensions)) throw FitError::message("分辨率超出支持范围。");
    if (virtualDisplay_ && applied_ && hasSession()) {
        replaceDisplay(dimensions, injectFailure, injectFailureAfterSwitch);
        return;
    }

    std::optional<std::string> recoveryData = givenRecoveryData;
    if (hasSession()) {
        const bool restored = restoreNow();
        if (!restored && virtualDisplay_ && applied_) {
            replaceDisplay(dimensions, injectFailure, injectFailureAfterSwitch);
            return;
        }
        // A deferred restore keeps the layout saved before the first fit for the new session.
        if (hasSession() && !recoveryData) recoveryData = recoveryBytes();
    }

    const auto [live, woken] = settledLayout();
    const auto states = baseLayout(live);
    if (recoveryData) {
        writeSession(*recoveryData);
    } else {
        save(states);
    }

    const double start = clock_.uptime();
    const auto policy = ZeroDisplayActivation::policy(live);
    if (policy.wakeDisplays && !woken) {
        // Nothing is left once an own leftover has gone: wake the displays before creating.
        log("no_display_online", "creating virtual display without a base display");
        wakeDisplays();
    }
    switchToVirtualDisplay(dimensions, states, policy, injectFailure, start);
}

DisplayEngine::LiveLayout DisplayEngine::settledLayout() {
    auto live = snapshot();
    bool woken = false;
    if (live.empty()) {
        // Displays that sleep show no mode and drop out of the snapshot. Wake them before
        // the layout is judged and saved, so the session keeps the layout they come back with.
        log("no_display_online", "creating virtual display without a base display");
        wakeDisplays();
        woken = true;
        live = snapshot();
    }
    auto verdict = ActivationBase::verdict(live);
    if (verdict.kind == ActivationBase::Verdict::Kind::ownLeftover) {
        log("own_virtual_leftover", "held=" + std::to_string(virtualDisplayID()) + " " + layout(live));
        releaseVirtualDisplays();
        applied_.reset();
        for (int poll = 0; poll < kLeftoverPolls; ++poll) {
            clock_.sleep(kLeftoverPause);
            live = snapshot();
            verdict = ActivationBase::verdict(live);
            if (verdict.kind != ActivationBase::Verdict::Kind::ownLeftover) break;
        }
    }
    return LiveLayout{live, woken};
}

std::vector<DisplayState> DisplayEngine::baseLayout(const std::vector<DisplayState>& live) {
    const auto correction = stableModes().corrected(live);
    if (!correction.fixed.empty()) {
        log("snapshot_layout_corrected", "live=" + layout(live) + " using=" + layout(correction.states));
    }
    const auto& states = correction.states;
    const auto base = ActivationBase::verdict(states);
    if (base.kind != ActivationBase::Verdict::Kind::ok) {
        log("display_conflict",
            "verdict=" + base.text() + " displays=" + layout(states) + " keys=" + conflictKeys(states));
        throw FitError::message(kConflictMessage);
    }
    for (const auto& display : states) {
        if (display.mirror != 0) {
            log("base_mirror_set", layout(states));
            break;
        }
    }
    return states;
}

void DisplayEngine::switchToVirtualDisplay(const Dimensions& dimensions, const std::vector<DisplayState>& states,
                                           const ZeroDisplayActivation& policy, bool injectFailure, double start) {
    try {
        releaseVirtualDisplays();
        virtualDisplay_ = createDisplay(dimensions, policy);
        const std::uint32_t sourceID = virtualDisplay_->displayID();
        const auto source = readySource(sourceID, dimensions, policy);
        const auto mirrorable = HeadlessPlaceholder::mirrorable(states);
        if (mirrorable.size() < states.size()) {
            std::string ids;
            for (const auto& display : states) {
                if (!HeadlessPlaceholder::isPlaceholder(display)) continue;
                ids += (ids.empty() ? "" : ", ") + std::to_string(display.id);
            }
            log("headless_placeholder_skipped", "ids=[" + ids + "]");
        }
        const auto targets = DisplayTransition::targets(source, dimensions, mirrorable, std::nullopt);
        if (injectFailure) throw FitError::message("测试：模拟屏幕切换失败");
        commit(targets);
        verifyTransition(targets, sourceID, std::nullopt);
        applied_ = dimensions;
        lastDisplayWork_ = clock_.uptime();
        log("activated", dimensions.label() + " seconds=" + threeDecimals(clock_.uptime() - start));
    } catch (const std::exception& error) {
        log("activation_failed", technicalText(error));
        releaseVirtualDisplays();
        applied_.reset();
        try {
            restoreNow();
        } catch (const std::exception& restoreError) {
            std::throw_with_nested(FitError::message("适配未能完成，且桌面还原异常：" + shownText(restoreError)));
        }
        throw;
    }
}

}  // namespace dorvane
