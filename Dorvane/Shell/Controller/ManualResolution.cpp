#include "Dorvane/Shell/Controller/ManualResolution.h"

#include <algorithm>

#include "Dorvane/Shell/Controller/ControllerDetail.h"

namespace dorvane::shell {

namespace {

CustomPreset* findPreset(std::vector<CustomPreset>& presets, const std::optional<std::string>& id) {
    if (!id) return nullptr;
    const auto found = std::find_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == *id; });
    return found == presets.end() ? nullptr : &*found;
}

}  // namespace

ManualResolution::ManualResolution(Parts parts)
    : state_(parts.state),
      host_(parts.host),
      preferences_(parts.preferences),
      automation_(parts.automation),
      toolbar_(parts.toolbar),
      engine_(parts.engine) {}

ManualResolution::~ManualResolution() { lifetime_.end(); }

void ManualResolution::installCallbacks(ControlPanelModel& model) {
    model.onCustom = weakly(host_, lifetime_, [this](const std::string& id) { selectCustom(id); });
    model.onPreset = weakly(host_, lifetime_, [this](ScreenPreset preset) { selectPreset(preset); });
    model.onSize = weakly(host_, lifetime_, [this](DisplaySize size) { selectSize(size); });
    model.onScale = weakly(host_, lifetime_, [this](std::int64_t percent) { changeScale(percent); });
    model.onPresetScale =
        weakly(host_, lifetime_, [this](const std::string& id, std::int64_t percent) { changePresetScale(id, percent); });
    model.onAdjust = weakly(host_, lifetime_, [this](ResolutionAdjustment::Control control, std::int64_t direction) {
        adjust(control, direction);
    });
    model.onSaveCopy = weakly(host_, lifetime_, [this] { saveCopy(); });
    model.onApply = weakly(host_, lifetime_, [this] { applyManually(true); });
    model.onRecover = weakly(host_, lifetime_, [this] { recover(); });
}

// The selection takes effect at once, its file possibly behind.
void ManualResolution::saveSelection() { preferences_.write(state_.preferences, WriteRule::inEffect); }

void ManualResolution::selectCustom(const std::string& id) {
    const CustomPreset* preset = findPreset(state_.preferences.customPresets, id);
    if (!preset) return;
    state_.copySaved = false;
    state_.preferences.selectedCustomID = id;
    state_.preferences.size = DisplaySize::standard;
    state_.adjustment = preset->adjustment();
    saveSelection();
    applyManually(true);
}

void ManualResolution::selectPreset(ScreenPreset preset) {
    state_.copySaved = false;
    state_.preferences.preset = preset;
    state_.preferences.size = DisplaySize::standard;
    state_.preferences.selectedCustomID.reset();
    state_.adjustment = ResolutionAdjustment(state_.preferences.dimensions(), 100);
    saveSelection();
    applyManually(true);
}

void ManualResolution::selectSize(DisplaySize size) {
    if (const auto selected = state_.preferences.selectedCustom()) {
        if (!CustomPreset::isSupported(selected->dimensions(size))) return;
    }
    state_.preferences.size = size;
    state_.adjustment = ResolutionAdjustment(state_.preferences.dimensions(), 100);
    saveSelection();
    applyManually(true);
}

void ManualResolution::storeSelectedScale(std::int64_t percent) {
    CustomPreset* selected = findPreset(state_.preferences.customPresets, state_.preferences.selectedCustomID);
    if (!selected) return;
    // An invalid copy changes nothing and writes nothing.
    if (const auto scaled = selected->settingScale(percent)) {
        *selected = *scaled;
        saveSelection();
    }
}

void ManualResolution::changeScale(std::int64_t percent) {
    if (state_.busy()) return;
    const auto candidate = state_.adjustment.settingScale(percent);
    if (!candidate) return;
    if (*candidate == state_.adjustment) {
        host_.dismissToolPanels();
        return;
    }
    state_.adjustment = *candidate;
    state_.copySaved = false;
    storeSelectedScale(percent);
    host_.renderMenu();
    applyManually(true);
}

void ManualResolution::adjust(ResolutionAdjustment::Control control, std::int64_t direction) {
    if (state_.busy()) return;
    const auto candidate = state_.adjustment.stepping(control, direction);
    if (!candidate) return;
    state_.copySaved = false;
    state_.adjustment = *candidate;
    if (control == ResolutionAdjustment::Control::scale) storeSelectedScale(state_.adjustment.scalePercent);
    host_.renderMenu();
    applyManually(false);
}

void ManualResolution::changePresetScale(const std::string& id, std::int64_t percent) {
    if (state_.busy()) return;
    CustomPreset* preset = findPreset(state_.preferences.customPresets, id);
    if (!preset) return;
    const auto scaled = preset->settingScale(percent);
    if (!scaled) return;
    *preset = *scaled;
    if (state_.preferences.selectedCustomID == id) state_.adjustment = scaled->adjustment();
    state_.copySaved = false;
    saveSelection();
}

void ManualResolution::applyManually(bool dismissPanel) {
    if (state_.busy()) return;
    automation_.manualAdjustment();
    const std::int64_t generation = ++state_.applyGeneration;
    state_.applying = true;
    state_.status.title = "正在应用…";
    state_.status.detail.reset();
    host_.renderMenu();
    host_.launchTask(runManualApply(lifetime_.watch(), generation, dismissPanel));
}

dispatch::Task<void> ManualResolution::runManualApply(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                                      bool dismissPanel) {
    if (!alive || generation != state_.applyGeneration || state_.terminating) co_return;
    const Dimensions dimensions = state_.adjustment.dimensions();
    const EngineStatus result = co_await engine_.apply(dimensions);
    // A newer operation or the quit moved the generation on: the result is theirs to drop.
    if (!alive || generation != state_.applyGeneration || state_.terminating) co_return;
    state_.status = result;
    if (dismissPanel && !result.detail) host_.dismissToolPanels();
    state_.applying = false;
    toolbar_.redock();
    automation_.runAutomaticResolutionIfNeeded();
    host_.renderMenu();
}

void ManualResolution::recover() {
    if (state_.busy()) return;
    automation_.manualOverride();
    const std::int64_t generation = ++state_.applyGeneration;
    state_.applying = true;
    host_.renderMenu();
    host_.launchTask(runRecover(lifetime_.watch(), generation));
}

dispatch::Task<void> ManualResolution::runRecover(dispatch::Lifetime::Watch alive, std::int64_t generation) {
    if (!alive) co_return;
    co_await writeEngineLog(engine_, "manual_restore_start", "");
    if (!alive || generation != state_.applyGeneration || state_.terminating) co_return;
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
    if (!alive || state_.terminating) co_return;
    state_.status = restoreStatus(restored, failure, stillApplied);
    state_.applying = false;
    host_.renderMenu();
    toolbar_.redock();
    automation_.runAutomaticResolutionIfNeeded();
}

void ManualResolution::saveCopy() {
    if (state_.busy()) return;
    // Only a size that is on screen can be copied.
    if (!state_.status.applied || *state_.status.applied != state_.adjustment.dimensions()) return;
    const CustomPreset copy = state_.adjustment.copyPreset();
    Preferences next = state_.preferences;
    next.customPresets.push_back(copy);
    next.selectedCustomID = copy.id;
    next.size = DisplaySize::standard;
    if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
        state_.status.title = "保存失败";
        state_.status.detail = failure;
        host_.renderMenu();
        return;
    }
    state_.adjustment = ResolutionAdjustment(copy.dimensions(DisplaySize::standard), 100);
    state_.status.title = "副本已保存";
    state_.copySaved = true;
    host_.renderMenu();
}

}  // namespace dorvane::shell
