#include "DorvaneCore/Display/DisplayTransition.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "DorvaneCore/Core/FitError.h"

namespace dorvane {

namespace {

[[noreturn]] void refuse() { throw FitError::message(kLayoutChangedMessage); }

bool sizeSupported(const Dimensions& size) {
    return size.width >= kMinimumFitSide && size.width <= kMaximumFitSide && size.height >= kMinimumFitSide &&
           size.height <= kMaximumFitSide;
}

const DisplayState* findByID(const std::vector<DisplayState>& displays, std::uint32_t id) {
    auto found = std::find_if(displays.begin(), displays.end(), [&](const DisplayState& d) { return d.id == id; });
    return found == displays.end() ? nullptr : &*found;
}

bool hasDuplicateIDs(const std::vector<DisplayState>& displays) {
    std::set<std::uint32_t> seen;
    for (const auto& d : displays) {
        if (!seen.insert(d.id).second) return true;
    }
    return false;
}

bool modeMatches(const DisplayMode& live, const DisplayMode& target) { return live.matches(target); }

}  // namespace

DisplayMode fittedMode(const Dimensions& size) {
    return DisplayMode{size.width, size.height, size.width * 2, size.height * 2, 60.0, 0};
}

std::vector<DisplayState> DisplayTransition::targets(const DisplayState& source, const Dimensions& dimensions,
                                                     const std::vector<DisplayState>& physical,
                                                     const std::optional<DisplayState>& retiring) {
    if (!sizeSupported(dimensions)) refuse();
    if (source.physical || source.mirror != 0) refuse();

    std::set<std::uint32_t> ids;
    auto distinct = [&](std::uint32_t id) { return ids.insert(id).second; };
    for (const auto& d : physical) {
        if (!distinct(d.id)) refuse();
    }
    if (!distinct(source.id)) refuse();
    if (retiring && !distinct(retiring->id)) refuse();

    if (retiring && (retiring->physical || retiring->mirror != 0)) refuse();

    for (const auto& d : physical) {
        if (!d.physical) refuse();
        const bool mirrorKnown = d.mirror == 0 || d.mirror == source.id || (retiring && d.mirror == retiring->id) ||
                                 findByID(physical, d.mirror) != nullptr;
        if (!mirrorKnown) refuse();
    }

    std::vector<DisplayState> result;
    if (retiring) {
        DisplayState target = *retiring;
        target.main = false;
        target.mirror = source.id;
        target.skipMode = true;
        target.skipOrigin = true;
        result.push_back(std::move(target));
    }
    DisplayState sourceTarget = source;
    sourceTarget.main = true;
    sourceTarget.x = 0;
    sourceTarget.y = 0;
    sourceTarget.mirror = 0;
    sourceTarget.mode = fittedMode(dimensions);
    sourceTarget.skipMode = false;
    sourceTarget.skipOrigin = false;
    result.push_back(std::move(sourceTarget));
    for (const auto& d : physical) {
        DisplayState target = d;
        target.main = false;
        target.mirror = source.id;
        target.skipMode = true;
        target.skipOrigin = true;
        result.push_back(std::move(target));
    }
    return result;
}

bool DisplayTransition::matches(const std::vector<DisplayState>& live, const std::vector<DisplayState>& targets,
                                std::uint32_t sourceID) {
    if (live.size() != targets.size() || live.empty() || hasDuplicateIDs(live)) return false;
    std::set<std::uint32_t> liveIDs, targetIDs;
    for (const auto& d : live) liveIDs.insert(d.id);
    for (const auto& d : targets) targetIDs.insert(d.id);
    if (liveIDs != targetIDs) return false;

    const DisplayState* source = findByID(live, sourceID);
    if (!source || source->physical || !source->main || source->mirror != 0 || source->x != 0 || source->y != 0) {
        return false;
    }

    for (const auto& t : targets) {
        const DisplayState* l = findByID(live, t.id);
        if (!l) return false;
        if (l->uuid != t.uuid || l->hardwareKey != t.hardwareKey || l->physical != t.physical || l->main != t.main ||
            l->mirror != t.mirror) {
            return false;
        }
        if (!t.physical) {
            if (!t.skipOrigin && (l->x != t.x || l->y != t.y)) return false;
            if (t.skipMode) continue;
            if (!modeMatches(l->mode, t.mode)) return false;
        } else if (t.mirror != 0) {
            if (l->mirror != sourceID) return false;
        } else if (!modeMatches(l->mode, t.mode)) {
            return false;
        }
    }
    return true;
}

DisplayState DisplayReconfiguration::target(const std::vector<DisplayState>& live, std::uint32_t sourceID,
                                            const Dimensions& dimensions) {
    if (!sizeSupported(dimensions)) refuse();
    const DisplayState* source = findByID(live, sourceID);
    if (!source || source->physical || !source->main || source->mirror != 0) refuse();

    bool anyPhysical = false;
    bool anyMirrorsSource = false;
    for (const auto& d : live) {
        if (d.physical) anyPhysical = true;
        if (d.mirror == sourceID) anyMirrorsSource = true;
        if (d.id == sourceID) continue;
        if (!d.physical) refuse();
        if (d.mirror != 0 && d.mirror != sourceID) refuse();
    }
    if (anyPhysical && !anyMirrorsSource) refuse();

    DisplayState target = *source;
    target.mode = fittedMode(dimensions);
    target.skipMode = false;
    target.skipOrigin = true;
    return target;
}

bool DisplayReconfiguration::sameTopology(const std::vector<DisplayState>& live,
                                          const std::vector<DisplayState>& baseline) {
    if (live.size() != baseline.size() || hasDuplicateIDs(live)) return false;
    for (const auto& b : baseline) {
        const DisplayState* l = findByID(live, b.id);
        if (!l || l->uuid != b.uuid || l->hardwareKey != b.hardwareKey || l->physical != b.physical ||
            l->main != b.main || l->x != b.x || l->y != b.y || l->mirror != b.mirror) {
            return false;
        }
    }
    return true;
}

bool DisplayReconfiguration::matches(const std::vector<DisplayState>& live, const std::vector<DisplayState>& baseline,
                                     const DisplayState& target) {
    if (!sameTopology(live, baseline)) return false;
    const DisplayState* l = findByID(live, target.id);
    return l && modeMatches(l->mode, target.mode);
}

}  // namespace dorvane
