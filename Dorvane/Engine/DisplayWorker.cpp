#include "Dorvane/Engine/DisplayWorker.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>

#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/FullHeightRestore.h"
#include "Dorvane/Engine/VirtualDisplay.h"

namespace dorvane {

using displays::DisplayError;
using displays::DisplayID;
using displays::DisplayModeInfo;

DisplayWorker::DisplayWorker(displays::DisplayServices& services) : services_(services) {}

void DisplayWorker::check(DisplayError error, std::string_view label) {
    if (error == DisplayError::success) return;
    throw FitError::message(std::string(label) + "失败（" + std::to_string(displays::errorCode(error)) + "）");
}

namespace {

// Bounds are doubles; the records carry 32-bit origins, truncated as the platform would.
std::int32_t truncatedOrigin(double value) {
    if (!std::isfinite(value)) return 0;
    const double truncated = std::trunc(value);
    if (truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(truncated);
}

bool sameSize(const DisplayModeInfo& info, const DisplayMode& mode) {
    return info.width == mode.width && info.height == mode.height && info.pixelWidth == mode.pixelWidth &&
           info.pixelHeight == mode.pixelHeight;
}

std::string readAll(std::istream& input) {
    return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<DisplayState> DisplayWorker::snapshot() {
    const auto list = services_.onlineDisplayList(displayCapacity);
    check(list.error, "读取显示器");
    std::vector<DisplayState> states;
    for (DisplayID id : list.ids) {
        const auto mode = services_.currentMode(id);
        if (!mode) continue;
        const auto vendor = services_.vendorNumber(id);
        const auto bounds = services_.bounds(id);
        DisplayState state(id, DVDisplayUUID(services_, id),
                           makeHardwareKey(vendor, services_.modelNumber(id), services_.serialNumber(id),
                                           services_.isBuiltin(id)),
                           vendor != kVirtualDisplayVendor, services_.isMain(id), truncatedOrigin(bounds.x),
                           truncatedOrigin(bounds.y), services_.mirrorSource(id), mode->asDisplayMode());
        states.push_back(std::move(state));
    }
    return states;
}

int DisplayWorker::commit(const std::vector<DisplayState>& targets) {
    const auto changes = plannedChanges(targets);
    const int changed = static_cast<int>(
        std::count_if(changes.begin(), changes.end(), [](const TargetChange& change) { return change.any(); }));
    if (changed == 0) return 0;

    auto begun = services_.beginConfiguration();
    check(begun.error, "开始配置");
    if (!begun.configuration) throw FitError::message("无法初始化 CoreGraphics 显示配置会话。");
    auto& configuration = *begun.configuration;
    try {
        configure(configuration, targets, changes);
    } catch (...) {
        configuration.cancel();
        throw;
    }
    check(configuration.complete(displays::ConfigureScope::forSession), "提交配置");
    return changed;
}

std::vector<DisplayWorker::TargetChange> DisplayWorker::plannedChanges(const std::vector<DisplayState>& targets) {
    // Every mode is chosen before anything is configured, so a missing mode changes nothing.
    std::vector<TargetChange> changes;
    std::vector<std::optional<DisplayModeInfo>> currentModes;
    for (const auto& target : targets) {
        currentModes.push_back(services_.currentMode(target.id));
        TargetChange change;
        if (!target.skipMode) change.mode = chosenMode(target, currentModes.back());
        changes.push_back(change);
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const auto& target = targets[i];
        TargetChange& change = changes[i];
        if (change.mode) {
            const auto& current = currentModes[i];
            change.modeChanges = !current || current->modeID != change.mode->modeID;
        }
        change.mirrorChanges = services_.mirrorSource(target.id) != target.mirror;
        if (!target.skipOrigin) {
            const auto bounds = services_.bounds(target.id);
            change.placementChanges = bounds.x != static_cast<double>(target.x) ||
                                      bounds.y != static_cast<double>(target.y) ||
                                      (target.main && !services_.isMain(target.id));
        }
    }
    return changes;
}

DisplayModeInfo DisplayWorker::chosenMode(const DisplayState& target, const std::optional<DisplayModeInfo>& current) {
    auto modes = services_.allModes(target.id, {.includeDuplicateLowResolution = true});
    if (current) modes.insert(modes.begin(), *current);
    std::vector<DisplayModeInfo> candidates;
    for (const auto& mode : modes) {
        if (sameSize(mode, target.mode) && std::fabs(mode.refresh - target.mode.refresh) < 1.0) {
            candidates.push_back(mode);
        }
    }
    if (candidates.empty()) {
        throw FitError::message("当前显示器不支持目标模式 " + std::to_string(target.mode.width) + "×" +
                                std::to_string(target.mode.height) + " HiDPI 超清渲染。");
    }
    auto exact = std::find_if(candidates.begin(), candidates.end(),
                              [&](const DisplayModeInfo& mode) { return mode.modeID == target.mode.modeID; });
    if (exact != candidates.end()) return *exact;
    // min_element keeps the earliest on a tie, so the current mode wins ties.
    return *std::min_element(candidates.begin(), candidates.end(),
                             [&](const DisplayModeInfo& a, const DisplayModeInfo& b) {
                                 return std::fabs(a.refresh - target.mode.refresh) <
                                        std::fabs(b.refresh - target.mode.refresh);
                             });
}

void DisplayWorker::configure(displays::DisplayConfiguration& configuration, const std::vector<DisplayState>& targets,
                              const std::vector<TargetChange>& changes) {
    // Mirrors are broken before new ones are set, modes follow, and placement comes last.
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (changes[i].mirrorChanges && targets[i].mirror == 0) {
            check(configuration.configureMirror(targets[i].id, 0), "解除源屏幕镜像");
        }
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (changes[i].mirrorChanges && targets[i].mirror != 0) {
            check(configuration.configureMirror(targets[i].id, targets[i].mirror), "配置镜像");
        }
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (changes[i].modeChanges) check(configuration.configureMode(targets[i].id, *changes[i].mode), "配置分辨率");
    }
    // The main display is placed last: the display left at (0, 0) becomes main.
    std::vector<std::size_t> order(targets.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return !targets[a].main && targets[b].main; });
    for (std::size_t i : order) {
        if (changes[i].placementChanges) {
            check(configuration.configureOrigin(targets[i].id, targets[i].x, targets[i].y), "配置排列");
        }
    }
}

std::vector<DisplayState> DisplayWorker::normalizeRestoration(const std::vector<DisplayState>& targets) {
    std::vector<DisplayState> result;
    for (const auto& target : targets) {
        if (!target.physical || target.mirror != 0 || !services_.isBuiltin(target.id)) {
            result.push_back(target);
            continue;
        }
        const auto modes = services_.allModes(target.id, {.includeDuplicateLowResolution = true});
        std::optional<Dimensions> nativePixels;
        auto native = std::find_if(modes.begin(), modes.end(), [](const DisplayModeInfo& m) { return m.isNative(); });
        if (native != modes.end()) nativePixels = Dimensions(native->pixelWidth, native->pixelHeight);
        std::vector<DisplayMode> available;
        for (const auto& mode : modes) {
            if (mode.isValid()) available.push_back(mode.asDisplayMode());
        }
        DisplayState normalized = target;
        normalized.mode = FullHeightRestore::mode(target.mode, available, nativePixels, true);
        result.push_back(std::move(normalized));
    }
    return result;
}

void DisplayWorker::reportFailure(const std::exception& error, std::ostream& errors, const FailureDetail& detail) {
    const std::string shown = shownText(error);
    // The developer's account goes to the log first: the parent may read the person's text
    // as soon as the worker has ended, and its own log line follows this one.
    if (const std::string technical = technicalText(error); technical != shown && detail) {
        detail(shown + " cause=" + technical);
    }
    errors << shown;
    errors.flush();
}

int DisplayWorker::execute(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
                           std::ostream& errors, const FailureDetail& detail) {
    try {
        if (arguments.empty()) throw FitError::message("缺少命令");
        const std::string& command = arguments.front();
        std::string answer;
        if (command == "snapshot") {
            answer = json::serialize(encodeDisplayStates(snapshot()));
        } else if (command == "commit") {
            const auto request = CommitRequest::fromJson(json::parse(readAll(input)));
            answer = "{\"changedDisplays\":" + std::to_string(commit(request.targets)) + "}";
        } else if (command == "normalize-restore") {
            const auto request = CommitRequest::fromJson(json::parse(readAll(input)));
            answer = json::serialize(encodeDisplayStates(normalizeRestoration(request.targets)));
        } else {
            throw FitError::message("未知命令");
        }
        output << answer;
        output.flush();
        return 0;
    } catch (const std::exception& error) {
        reportFailure(error, errors, detail);
        return 1;
    }
}

}  // namespace dorvane
