#include "Dorvane/Shell/Controller/ManualResolution.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Shell/Controller/AdjustmentKeeper.h"
#include "Dorvane/Shell/Controller/ConnectionAutomation.h"
#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/PreferencesKeeper.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/Neighbours/ToolbarControl.h"

namespace dorvane::shell {

namespace {

CustomPreset* findPreset(std::vector<CustomPreset>& presets, const std::optional<std::string>& id) {
    if (!id) return nullptr;
    const auto found = std::find_if(presets.begin(), presets.end(), [&](const CustomPreset& p) { return p.id == *id; });
    return found == presets.end() ? nullptr : &*found;
}

}  // namespace

ManualResolution::ManualResolution(Parts parts)
    : host_(parts.host),
      status_(parts.status),
      preferences_(parts.preferences),
      adjustment_(parts.adjustment),
      automation_(parts.automation),
      toolbar_(parts.toolbar),
      engine_(parts.engine) {
    installCallbacks(parts.model);
}

ManualResolution::~ManualResolution() { lifetime_.end(); }

void ManualResolution::installCallbacks(ControlPanelModel& model) {
    model.onCustom = weakly(host_, lifetime_, [this](const std::string& id) { selectCustom(id); });
    model.onPreset = weakly(host_, lifetime_, [this](ScreenPreset preset) { selectPreset(preset); });
    model.onSize = weakly(host_, lifetime_, [this](DisplaySize size) { selectSize(size); });
    model.onScale = weakly(host_, lifetime_, [this](std::int64_t percent) { changeScale(percent); });
    model.onPresetScale = weakly(
        host_, lifetime_, [this](const std::string& id, std::int64_t percent) { changePresetScale(id, percent); });
    model.onAdjust = weakly(host_, lifetime_, [this](ResolutionAdjustment::Control control, std::int64_t direction) {
        adjust(control, direction);
    });
    model.onSaveCopy = weakly(host_, lifetime_, [this] { saveCopy(); });
    model.onApply = weakly(host_, lifetime_, [this] { applyManually(true); });
    model.onRecover = weakly(host_, lifetime_, [this] { recover(); });
}

// A selection takes effect at once, its file possibly behind.

void ManualResolution::selectCustom(const std::string& id) {
    Preferences next = preferences_.preferences();
    const CustomPreset* preset = findPreset(next.customPresets, id);
    if (!preset) return;
    next.selectedCustomID = id;
    next.size = DisplaySize::standard;
    adjustment_.select(preset->adjustment());
    preferences_.write(std::move(next), WriteRule::inEffect);
    applyManually(true);
}

void ManualResolution::selectPreset(ScreenPreset preset) {
    Preferences next = preferences_.preferences();
    next.preset = preset;
    next.size = DisplaySize::standard;
    next.selectedCustomID.reset();
    adjustment_.select(ResolutionAdjustment(next.dimensions(), 100));
    preferences_.write(std::move(next), WriteRule::inEffect);
    applyManually(true);
}

void ManualResolution::selectSize(DisplaySize size) {
    if (const auto selected = preferences_.preferences().selectedCustom()) {
        if (!CustomPreset::isSupported(selected->dimensions(size))) return;
    }
    Preferences next = preferences_.preferences();
    next.size = size;
    adjustment_.follow(ResolutionAdjustment(next.dimensions(), 100));
    preferences_.write(std::move(next), WriteRule::inEffect);
    applyManually(true);
}

void ManualResolution::storeSelectedScale(std::int64_t percent) {
    Preferences next = preferences_.preferences();
    CustomPreset* selected = findPreset(next.customPresets, next.selectedCustomID);
    if (!selected) return;
    // An invalid copy changes nothing and writes nothing.
    if (const auto scaled = selected->settingScale(percent)) {
        *selected = *scaled;
        preferences_.write(std::move(next), WriteRule::inEffect);
    }
}

void ManualResolution::changeScale(std::int64_t percent) {
    if (status_.busy()) return;
    const auto candidate = adjustment_.adjustment().settingScale(percent);
    if (!candidate) return;
    if (*candidate == adjustment_.adjustment()) {
        host_.dismissToolPanels();
        return;
    }
    adjustment_.select(*candidate);
    storeSelectedScale(percent);
    host_.renderMenu();
    applyManually(true);
}

void ManualResolution::adjust(ResolutionAdjustment::Control control, std::int64_t direction) {
    if (status_.busy()) return;
    const auto candidate = adjustment_.adjustment().stepping(control, direction);
    if (!candidate) return;
    adjustment_.select(*candidate);
    if (control == ResolutionAdjustment::Control::scale) storeSelectedScale(adjustment_.adjustment().scalePercent);
    host_.renderMenu();
    applyManually(false);
}

void ManualResolution::changePresetScale(const std::string& id, std::int64_t percent) {
    if (status_.busy()) return;
    Preferences next = preferences_.preferences();
    CustomPreset* preset = findPreset(next.customPresets, id);
    if (!preset) return;
    const auto scaled = preset->settingScale(percent);
    if (!scaled) return;
    *preset = *scaled;
    if (next.selectedCustomID == id) {
        adjustment_.select(scaled->adjustment());
    } else {
        adjustment_.forgetCopy();
    }
    preferences_.write(std::move(next), WriteRule::inEffect);
}

void ManualResolution::applyManually(bool dismissPanel) {
    if (status_.busy()) return;
    automation_.manualAdjustment();
    const std::int64_t generation = status_.beginNewerOperation();
    status_.retitle("正在应用…", std::nullopt);
    host_.renderMenu();
    host_.launchTask(runManualApply(lifetime_.watch(), generation, dismissPanel));
}

dispatch::Task<void> ManualResolution::runManualApply(dispatch::Lifetime::Watch alive, std::int64_t generation,
                                                      bool dismissPanel) {
    if (!alive || !status_.current(generation)) co_return;
    const Dimensions dimensions = adjustment_.adjustment().dimensions();
    const EngineStatus result = co_await engine_.apply(dimensions);
    // A newer operation or the quit moved the generation on: the result is theirs to drop.
    if (!alive || !status_.current(generation)) co_return;
    status_.report(result);
    if (dismissPanel && !result.detail) host_.dismissToolPanels();
    status_.endOperation();
    toolbar_.redock();
    automation_.runAutomaticResolutionIfNeeded();
    host_.renderMenu();
}

void ManualResolution::recover() {
    if (status_.busy()) return;
    automation_.manualOverride();
    const std::int64_t generation = status_.beginNewerOperation();
    host_.renderMenu();
    host_.launchTask(runRecover(lifetime_.watch(), generation));
}

dispatch::Task<void> ManualResolution::runRecover(dispatch::Lifetime::Watch alive, std::int64_t generation) {
    if (!alive) co_return;
    co_await writeEngineLog(engine_, "manual_restore_start", "");
    if (!alive || !status_.current(generation)) co_return;
    // The engine outlives the controller: between the two engine steps it is reached
    // without `this`, which may be gone by then.
    DisplayEngine& engine = engine_;
    bool restored = false;
    std::optional<Dimensions> stillApplied;
    std::exception_ptr caught;
    try {
        restored = co_await engine.restore();
        if (!restored) stillApplied = co_await engine.appliedSize();
    } catch (const dispatch::TaskCancelled&) {
        throw;
    } catch (const std::exception&) {
        caught = std::current_exception();
    }
    // A quit begun during the restore owns the status ("正在还原屏幕…") and the busy flag.
    if (!alive || status_.terminating()) co_return;
    const std::optional<std::string> failure = caught ? std::optional(loggedFailureText(host_, caught)) : std::nullopt;
    status_.finishOperation(restoreStatus(restored, failure, stillApplied));
    host_.renderMenu();
    toolbar_.redock();
    automation_.runAutomaticResolutionIfNeeded();
}

void ManualResolution::saveCopy() {
    if (status_.busy()) return;
    // Only a size that is on screen can be copied.
    const auto& applied = status_.status().applied;
    if (!applied || *applied != adjustment_.adjustment().dimensions()) return;
    const CustomPreset copy = adjustment_.adjustment().copyPreset();
    Preferences next = preferences_.preferences();
    next.customPresets.push_back(copy);
    next.selectedCustomID = copy.id;
    next.size = DisplaySize::standard;
    if (const auto failure = preferences_.write(std::move(next), WriteRule::validated)) {
        status_.retitle("保存失败", failure);
        host_.renderMenu();
        return;
    }
    adjustment_.savedAsCopy(ResolutionAdjustment(copy.dimensions(DisplaySize::standard), 100));
    status_.retitle("副本已保存");
    host_.renderMenu();
}

}  // namespace dorvane::shell
