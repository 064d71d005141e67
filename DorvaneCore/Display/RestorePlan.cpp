#include "DorvaneCore/Display/RestorePlan.h"

#include <algorithm>
#include <set>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/HeadlessPlaceholder.h"

namespace dorvane {

const char* const RestorePlan::ambiguousHardwareMessage =
    "检测到多个相同硬件特征的显示器，无法确定还原目标。已保留恢复快照。";

bool operator==(const RestorePlan::Outcome& left, const RestorePlan::Outcome& right) {
    if (left.kind != right.kind) return false;
    if (left.kind != RestorePlan::Outcome::Kind::restore) return true;
    return std::equal(left.targets.begin(), left.targets.end(), right.targets.begin(), right.targets.end(),
                      [](const DisplayState& a, const DisplayState& b) { return a.id == b.id; });
}

std::map<std::uint32_t, DisplayState> RestorePlan::mapping(const std::vector<DisplayState>& saved,
                                                           const std::vector<DisplayState>& live) {
    std::map<std::uint32_t, DisplayState> result;
    // A live display belongs to at most one saved display. Without this, one
    // saved display matched by UUID and another by hardware key could both
    // claim it, and the targets would name one display twice: a restore that
    // can never verify.
    std::map<std::uint32_t, std::uint32_t> claimedBy;  // live id -> saved id

    auto claim = [&](const DisplayState& savedDisplay, const DisplayState& liveDisplay) {
        auto previous = result.find(savedDisplay.id);
        if (previous != result.end()) claimedBy.erase(previous->second.id);
        result.insert_or_assign(savedDisplay.id, liveDisplay);
        claimedBy[liveDisplay.id] = savedDisplay.id;
    };
    auto isFree = [&](const DisplayState& liveDisplay, const DisplayState& savedDisplay) {
        auto owner = claimedBy.find(liveDisplay.id);
        return owner == claimedBy.end() || owner->second == savedDisplay.id;
    };

    for (const auto& s : saved) {
        if (s.uuid) {
            auto byUUID = std::find_if(live.begin(), live.end(),
                                       [&](const DisplayState& l) { return l.uuid && *l.uuid == *s.uuid; });
            if (byUUID != live.end()) {
                if (isFree(*byUUID, s)) claim(s, *byUUID);
                continue;
            }
        }
        std::vector<const DisplayState*> candidates;
        for (const auto& l : live) {
            if (l.physical && l.hardwareKey == s.hardwareKey) candidates.push_back(&l);
        }
        if (candidates.size() > 1) throw FitError::message(ambiguousHardwareMessage);
        if (candidates.size() == 1 && isFree(*candidates.front(), s)) claim(s, *candidates.front());
    }
    return result;
}

RestorePlan::Outcome RestorePlan::outcome(const std::vector<DisplayState>& savedList,
                                          const std::vector<DisplayState>& liveList) {
    const auto saved = HeadlessPlaceholder::mirrorable(savedList);
    const auto live = HeadlessPlaceholder::mirrorable(liveList);
    const bool anyPhysical = std::any_of(live.begin(), live.end(), [](const DisplayState& d) { return d.physical; });
    if (!anyPhysical) return Outcome::deferred();
    if (saved.empty()) return Outcome::release();
    if (mapping(saved, live).empty()) return Outcome::release();
    return Outcome::restore(targets(saved, live));
}

std::vector<DisplayState> RestorePlan::targets(const std::vector<DisplayState>& saved,
                                               const std::vector<DisplayState>& live) {
    const auto matched = mapping(saved, live);
    if (matched.empty()) return {};

    // The new main display: the saved main's match, else the matched display with the smallest id.
    std::optional<DisplayState> newMain;
    auto savedMain = std::find_if(saved.begin(), saved.end(), [](const DisplayState& d) { return d.main; });
    if (savedMain != saved.end()) {
        auto found = matched.find(savedMain->id);
        if (found != matched.end()) newMain = found->second;
    }
    if (!newMain) {
        std::vector<DisplayState> byID;
        for (const auto& [_, liveDisplay] : matched) byID.push_back(liveDisplay);
        std::sort(byID.begin(), byID.end(), [](const DisplayState& a, const DisplayState& b) { return a.id < b.id; });
        newMain = byID.front();
    }

    // Positions are rebased on the saved position of the display that becomes main.
    const DisplayState* origin = nullptr;
    for (const auto& s : saved) {
        auto found = matched.find(s.id);
        if (found != matched.end() && found->second.id == newMain->id) {
            origin = &s;
            break;
        }
    }
    const std::int64_t originX = origin ? origin->x : 0;
    const std::int64_t originY = origin ? origin->y : 0;

    std::vector<DisplayState> result;
    for (const auto& s : saved) {
        auto found = matched.find(s.id);
        if (found == matched.end()) continue;
        const DisplayState& m = found->second;
        DisplayState target = s;
        target.id = m.id;
        target.uuid = m.uuid;
        target.main = m.id == newMain->id;
        target.x = static_cast<std::int32_t>(std::int64_t{s.x} - originX);
        target.y = static_cast<std::int32_t>(std::int64_t{s.y} - originY);
        target.mirror = 0;
        if (s.mirror != 0) {
            auto mirrored = matched.find(s.mirror);
            if (mirrored != matched.end()) target.mirror = mirrored->second.id;
        }
        result.push_back(std::move(target));
    }
    return result;
}

std::vector<DisplayState> RestoreDrift::drifted(const std::vector<DisplayState>& targets,
                                                const std::vector<DisplayState>& live) {
    std::vector<DisplayState> result;
    for (const auto& t : targets) {
        auto l = std::find_if(live.begin(), live.end(), [&](const DisplayState& d) { return d.id == t.id; });
        if (l == live.end()) continue;
        const bool modeDrift = !t.skipMode && !l->mode.matches(t.mode);
        const bool originDrift = !t.skipOrigin && (l->x != t.x || l->y != t.y || l->main != t.main);
        const bool mirrorDrift = l->mirror != t.mirror;
        if (modeDrift || originDrift || mirrorDrift) result.push_back(t);
    }
    return result;
}

}  // namespace dorvane
