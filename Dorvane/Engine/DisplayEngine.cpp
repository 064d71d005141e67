#include "Dorvane/Engine/DisplayEngine.h"

#include <map>
#include <set>

#include "Dorvane/Engine/DisplayWorker.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/DisplayTransition.h"
#include "DorvaneCore/Display/HeadlessPlaceholder.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/DecimalText.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

namespace fs = std::filesystem;

namespace {

constexpr double kVerificationPause = 0.2;
constexpr int kVerificationPolls = 10;

std::string bracketedIDs(const std::vector<DisplayState>& displays) {
    std::string text = "[";
    for (std::size_t index = 0; index < displays.size(); ++index) {
        if (index > 0) text += ", ";
        text += std::to_string(displays[index].id);
    }
    return text + "]";
}

const DisplayState* findDisplay(const std::vector<DisplayState>& displays, std::uint32_t id) {
    for (const auto& display : displays) {
        if (display.id == id) return &display;
    }
    return nullptr;
}

}  // namespace

DisplayEngine::DisplayEngine(Services services)
    : root_(std::move(services.root)),
      executable_(std::move(services.executable)),
      queue_(services.queue),
      clock_(services.clock),
      virtualDisplays_(services.virtualDisplays),
      userActivity_(services.userActivity),
      worker_(services.worker),
      random_(std::move(services.random)),
      log_(root_, clock_) {}

DisplayEngine::~DisplayEngine() = default;

// ---- Awaitable operations ----

dispatch::Task<EngineStatus> DisplayEngine::initialize() {
    return dispatch::runOn(queue_, [this] { return initializeNow(); });
}

dispatch::Task<EngineStatus> DisplayEngine::apply(Dimensions dimensions) {
    return dispatch::runOn(queue_, [this, dimensions] { return applyNow(dimensions); });
}

dispatch::Task<bool> DisplayEngine::restore() {
    return dispatch::runOn(queue_, [this] { return restoreNow(); });
}

dispatch::Task<DisplayEngine::Resumed> DisplayEngine::resumePendingRestore() {
    return dispatch::runOn(queue_, [this] { return resumePendingRestoreNow(); });
}

dispatch::Task<void> DisplayEngine::shutdown() {
    return dispatch::runOn(queue_, [this] { shutdownNow(); });
}

dispatch::Task<void> DisplayEngine::beginStableWindow() {
    return dispatch::runOn(queue_, [this] { beginStableWindowNow(); });
}

dispatch::Task<void> DisplayEngine::finishStableWindow() {
    return dispatch::runOn(queue_, [this] { finishStableWindowNow(); });
}

dispatch::Task<void> DisplayEngine::noteRemoteActivity() {
    return dispatch::runOn(queue_, [this] { noteRemoteActivityNow(); });
}

dispatch::Task<std::optional<Dimensions>> DisplayEngine::appliedSize() {
    return dispatch::runOn(queue_, [this] { return applied_; });
}

dispatch::Task<bool> DisplayEngine::restorePending() {
    return dispatch::runOn(queue_, [this] { return pendingRestore_; });
}

// ---- Small members ----

void DisplayEngine::log(std::string_view event, std::string_view detail) { log_.write(event, detail); }

EngineStatus DisplayEngine::report(const std::string& title, const std::optional<std::string>& detail) const {
    return EngineStatus{title, detail, applied_.has_value(), applied_};
}

bool DisplayEngine::hasSession() const {
    std::error_code ignored;
    return fs::exists(sessionPath(), ignored);
}

bool DisplayEngine::idleForStable() const {
    return !hasSession() && !virtualDisplay_ && unreleased_.empty() && !applied_ && !shuttingDown_;
}

std::uint32_t DisplayEngine::virtualDisplayID() const { return virtualDisplay_ ? virtualDisplay_->displayID() : 0; }

const StableModes& DisplayEngine::stableModes() {
    if (!stableModes_) {
        std::optional<std::string> text;
        try {
            text = readFileIfPresent(stablePath());
        } catch (const std::exception&) {
            text.reset();
        }
        stableModes_ = StableModes::fromFileText(text);
    }
    return *stableModes_;
}

void DisplayEngine::noteRemoteActivityNow() {
    dispatch::assertOn(queue_, "DisplayEngine::noteRemoteActivityNow");
    lastDisplayWork_ = clock_.uptime();
    stableBaseline_.reset();
}

// ---- Worker operations ----

std::string DisplayEngine::runWorker(const std::string& command, const std::optional<std::string>& input) {
    dispatch::assertOn(queue_, "DisplayEngine::runWorker");
    return worker_.run(executable_, command, input, workerTimeout);
}

std::vector<DisplayState> DisplayEngine::snapshot() { return parseDisplayStates(runWorker("snapshot", std::nullopt)); }

void DisplayEngine::commit(const std::vector<DisplayState>& targets) {
    const std::string answer = runWorker("commit", json::serialize(CommitRequest{targets}.toJson()));
    // The commit is done whatever the answer says; an answer we cannot read only costs the log line.
    std::optional<std::int64_t> changed;
    try {
        const auto object = json::parse(answer);
        if (!object.is_object()) return;
        for (const auto& [key, value] : object.items()) {
            const auto count = json::decode<std::int64_t>(value);
            if (key == "changedDisplays") changed = count;
        }
    } catch (const std::exception&) {
        return;
    }
    if (changed) {
        log("display_commit", "targets=" + std::to_string(targets.size()) + " changed=" + std::to_string(*changed));
    }
}

std::vector<DisplayState> DisplayEngine::restorationTargets(const std::vector<DisplayState>& targets) {
    auto answered =
        parseDisplayStates(runWorker("normalize-restore", json::serialize(CommitRequest{targets}.toJson())));
    for (const auto& display : answered) {
        const DisplayState* target = findDisplay(targets, display.id);
        if (target == nullptr || target->mode.matches(display.mode)) continue;
        log("full_height_restore", "id=" + std::to_string(display.id) + " " + std::to_string(target->mode.width) +
                                       "×" + std::to_string(target->mode.height) + " -> " +
                                       std::to_string(display.mode.width) + "×" +
                                       std::to_string(display.mode.height) +
                                       " refresh=" + decimalText(display.mode.refresh));
    }
    return answered;
}

void DisplayEngine::save(const std::vector<DisplayState>& displays) {
    dispatch::assertOn(queue_, "DisplayEngine::save");
    writeSession(json::serialize(encodeDisplayStates(displays)));
}

void DisplayEngine::verifyTransition(const std::vector<DisplayState>& targets, std::uint32_t sourceID,
                                     std::optional<std::uint32_t> disappearingID) {
    std::set<std::uint32_t> expected;
    for (const auto& target : targets) expected.insert(target.id);
    std::set<std::uint32_t> expectedWhileVanishing = expected;
    if (disappearingID) expectedWhileVanishing.insert(*disappearingID);

    bool matchedBefore = false;
    for (int poll = 0; poll < kVerificationPolls; ++poll) {
        const auto visible = HeadlessPlaceholder::mirrorable(snapshot());
        std::set<std::uint32_t> visibleIDs;
        for (const auto& display : visible) visibleIDs.insert(display.id);
        if (visibleIDs != expected && (!disappearingID || visibleIDs != expectedWhileVanishing)) {
            throw FitError::message("适配期间显示器硬件拓扑发生变化，操作已中止。");
        }
        const bool last = poll == kVerificationPolls - 1;
        if (DisplayTransition::matches(visible, targets, sourceID)) {
            if (matchedBefore) return;
            if (last) break;
            matchedBefore = true;
        } else {
            if (poll == 3 || poll == 7) {
                // The system sometimes switches a display's mode right after a commit: ask again.
                std::vector<DisplayState> drifted;
                for (const auto& target : targets) {
                    if (target.id != sourceID && !(target.physical && target.mirror == 0)) continue;
                    const DisplayState* live = findDisplay(visible, target.id);
                    if (live != nullptr && !live->mode.matches(target.mode)) {
                        drifted.push_back(target);
                        drifted.back().skipOrigin = true;
                    }
                }
                if (!drifted.empty()) {
                    log("mode_reapply", "attempt=" + std::to_string(poll) + " ids=" + bracketedIDs(drifted));
                    commit(drifted);
                }
            }
            if (last) break;
            matchedBefore = false;
        }
        clock_.sleep(kVerificationPause);
    }
    const auto final = snapshot();
    log("verification_failed", json::serialize(encodeDisplayStates(final)));
    throw FitError::message("分辨率切换后未能通过状态校验");
}

// ---- Stable modes ----

void DisplayEngine::beginStableWindowNow() {
    dispatch::assertOn(queue_, "DisplayEngine::beginStableWindowNow");
    stableWindowStart_ = clock_.uptime();
    stableBaseline_.reset();
    if (!idleForStable()) return;
    try {
        stableBaseline_ = snapshot();
    } catch (const std::exception&) {
        stableBaseline_.reset();
    }
}

void DisplayEngine::finishStableWindowNow() {
    dispatch::assertOn(queue_, "DisplayEngine::finishStableWindowNow");
    if (!stableBaseline_) return;
    const auto baseline = std::move(*stableBaseline_);
    stableBaseline_.reset();

    const auto allPhysical = [](const std::vector<DisplayState>& displays) {
        for (const auto& display : displays) {
            if (!display.physical) return false;
        }
        return true;
    };
    if (!idleForStable() || !(lastDisplayWork_ < stableWindowStart_) || !allPhysical(baseline)) return;
    std::vector<DisplayState> live;
    try {
        live = snapshot();
    } catch (const std::exception&) {
        return;
    }
    if (!allPhysical(live) || !(lastDisplayWork_ < stableWindowStart_)) return;

    stableModes();
    if (!stableModes_->record(baseline, live)) return;
    log("stable_layout", layout(live));
    try {
        writeFileAtomically(stablePath(), json::serialize(stableModes_->toJson()));
    } catch (const std::exception&) {
        // The record stays in memory and the next change writes the file again.
    }
}

}  // namespace dorvane
