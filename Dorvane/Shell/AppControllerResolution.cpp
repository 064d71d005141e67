// What the user chooses rather than the connection automation: selecting a custom
// preset or a built-in one, scaling and stepping it, saving the size as a copy,
// applying, and restoring the physical displays by hand.

#include <algorithm>

#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/ControllerDetail.h"

namespace dorvane {

namespace {

CustomPreset* findPreset(std::vector<CustomPreset>& presets, const std::optional<std::string>& id) {
    if (!id) return nullptr;
    const auto found = std::find_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == *id; });
    return found == presets.end() ? nullptr : &*found;
}

}  // namespace

void AppController::selectCustom(const std::string& id) {
    const CustomPreset* preset = findPreset(preferences_.customPresets, id);
    if (!preset) return;
    copySaved_ = false;
    preferences_.selectedCustomID = id;
    preferences_.size = DisplaySize::standard;
    adjustment_ = preset->adjustment();
    save();
    applyManually(true);
}

void AppController::selectPreset(ScreenPreset preset) {
    copySaved_ = false;
    preferences_.preset = preset;
    preferences_.size = DisplaySize::standard;
    preferences_.selectedCustomID.reset();
    adjustment_ = ResolutionAdjustment(preferences_.dimensions(), 100);
    save();
    applyManually(true);
}

void AppController::selectSize(DisplaySize size) {
    if (const auto selected = preferences_.selectedCustom()) {
        if (!CustomPreset::isSupported(selected->dimensions(size))) return;
    }
    preferences_.size = size;
    adjustment_ = ResolutionAdjustment(preferences_.dimensions(), 100);
    save();
    applyManually(true);
}

void AppController::storeSelectedScale(std::int64_t percent) {
    CustomPreset* selected = findPreset(preferences_.customPresets, preferences_.selectedCustomID);
    if (!selected) return;
    // An invalid copy changes nothing and writes nothing.
    if (const auto scaled = selected->settingScale(percent)) {
        *selected = *scaled;
        save();
    }
}

void AppController::changeScale(std::int64_t percent) {
    if (applying_ || terminating_) return;
    const auto candidate = adjustment_.settingScale(percent);
    if (!candidate) return;
    if (*candidate == adjustment_) {
        dismissToolPanels();
        return;
    }
    adjustment_ = *candidate;
    copySaved_ = false;
    storeSelectedScale(percent);
    renderMenu();
    applyManually(true);
}

void AppController::adjust(ResolutionAdjustment::Control control, std::int64_t direction) {
    if (applying_ || terminating_) return;
    const auto candidate = adjustment_.stepping(control, direction);
    if (!candidate) return;
    copySaved_ = false;
    adjustment_ = *candidate;
    if (control == ResolutionAdjustment::Control::scale) storeSelectedScale(adjustment_.scalePercent);
    renderMenu();
    applyManually(false);
}

void AppController::changePresetScale(const std::string& id, std::int64_t percent) {
    if (applying_ || terminating_) return;
    CustomPreset* preset = findPreset(preferences_.customPresets, id);
    if (!preset) return;
    const auto scaled = preset->settingScale(percent);
    if (!scaled) return;
    *preset = *scaled;
    if (preferences_.selectedCustomID == id) adjustment_ = scaled->adjustment();
    copySaved_ = false;
    save();
}

void AppController::applyManually(bool dismissPanel) {
    if (applying_ || terminating_) return;
    automaticPolicy_.manualAdjustment();
    // A change during a connection whose resolution the automation applied keeps the
    // selection to go back to.
    if (!(automaticPolicy_.connected && automaticPolicy_.ownsResolution)) automaticRestorePoint_.reset();
    const std::int64_t generation = ++applyGeneration_;
    applying_ = true;
    status_.title = "正在应用…";
    status_.detail.reset();
    renderMenu();
    launchTask(runManualApply(lifetime_.watch(), generation, dismissPanel));
}

dispatch::Task<void> AppController::runManualApply(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                                   bool dismissPanel) {
    if (!alive || generation != applyGeneration_ || terminating_) co_return;
    const Dimensions dimensions = adjustment_.dimensions();
    const EngineStatus result = co_await engine_.apply(dimensions);
    // A newer operation or the quit moved the generation on: the result is theirs to drop.
    if (!alive || generation != applyGeneration_ || terminating_) co_return;
    status_ = result;
    if (dismissPanel && !result.detail) dismissToolPanels();
    applying_ = false;
    floatingSwitcher_->redock();
    runAutomaticResolutionIfNeeded();
    renderMenu();
}

void AppController::recover() {
    if (applying_ || terminating_) return;
    automaticPolicy_.manualOverride();
    automaticRestorePoint_.reset();
    const std::int64_t generation = ++applyGeneration_;
    applying_ = true;
    renderMenu();
    launchTask(runRecover(lifetime_.watch(), generation));
}

dispatch::Task<void> AppController::runRecover(dispatch::Lifetime::Watch alive, std::int64_t generation) {
    if (!alive) co_return;
    co_await controller::writeEngineLog(engine_, "manual_restore_start", "");
    if (!alive || generation != applyGeneration_ || terminating_) co_return;
    // The engine outlives the controller: between the two engine steps it is reached
    // without `this`, which may be gone by then.
    DisplayEngine& engine = engine_;
    bool restored = false;
    std::optional<Dimensions> stillApplied;
    std::optional<std::string> failure;
    try {
        restored = co_await engine.restore();
        if (!restored) stillApplied = co_await engine.appliedSize();
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (const std::exception& error) {
        failure = error.what();
    }
    // A quit begun during the restore owns the status ("正在还原屏幕…") and the busy flag.
    if (!alive || terminating_) co_return;
    status_ = controller::restoreStatus(restored, failure, stillApplied);
    applying_ = false;
    renderMenu();
    floatingSwitcher_->redock();
    runAutomaticResolutionIfNeeded();
}

void AppController::saveCopy() {
    if (applying_ || terminating_) return;
    // Only a size that is on screen can be copied.
    if (!status_.applied || *status_.applied != adjustment_.dimensions()) return;
    const CustomPreset copy = adjustment_.copyPreset();
    Preferences next = preferences_;
    next.customPresets.push_back(copy);
    next.selectedCustomID = copy.id;
    next.size = DisplaySize::standard;
    if (const auto failure = commitWrite(std::move(next))) {
        status_.title = "保存失败";
        status_.detail = failure;
        renderMenu();
        return;
    }
    adjustment_ = ResolutionAdjustment(copy.dimensions(DisplaySize::standard), 100);
    status_.title = "副本已保存";
    copySaved_ = true;
    renderMenu();
}

}  // namespace dorvane
