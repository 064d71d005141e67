#include "Platform/Host/Machines/HostMachine.h"

#include <algorithm>

#include "Platform/Host/State/DisplayLayout.h"
#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

using displays::DisplayError;

namespace {

const HostMode* lowResolutionDuplicate(const DisplayRecord& display) {
    const HostMode* current = display.currentMode();
    if (current == nullptr) return nullptr;
    for (const auto& mode : display.modes) {
        if (mode.info.width == current->info.width && mode.info.height == current->info.height &&
            mode.info.pixelWidth < current->info.pixelWidth && mode.info.isValid()) {
            return &mode;
        }
    }
    return nullptr;
}

void armModeSwitches(HostData& data) {
    auto& rules = data.state().behaviours.modeSwitchesAfterCommit;
    for (auto& rule : rules) {
        for (const auto* display : data.state().onlineDisplays()) {
            if (selects(rule.display, *display)) {
                data.state().pendingModeSwitches.push_back({data.now + rule.delay, display->id, rule.modeID});
            }
        }
        if (rule.remaining) --*rule.remaining;
    }
    std::erase_if(rules, [](const ModeSwitchAfterCommit& rule) { return rule.remaining && *rule.remaining == 0; });
}

void applyOriginOverrides(HostData& data, const std::vector<DisplayID>& positioned) {
    auto& rules = data.state().behaviours.originOverrides;
    for (auto& rule : rules) {
        bool used = false;
        for (const DisplayID id : positioned) {
            DisplayRecord* display = data.state().online(id);
            if (display == nullptr || !selects(rule.display, *display)) continue;
            display->x = rule.x;
            display->y = rule.y;
            used = true;
        }
        if (used && rule.remaining) --*rule.remaining;
    }
    std::erase_if(rules, [](const OriginOverride& rule) { return rule.remaining && *rule.remaining == 0; });
}

DisplayRecord& physicalOrThrow(HostState& state, std::string_view name) {
    DisplayRecord* display = state.physicalNamed(name);
    if (display == nullptr) {
        std::string known;
        for (const auto& record : state.displays) {
            if (record.kind == DisplayKind::physical) known += (known.empty() ? "" : ", ") + record.name;
        }
        throw HostError("no physical display named \"" + std::string(name) + "\" (known: " + known + ")");
    }
    return *display;
}

json::Json displayDetails(const DisplayRecord& display) {
    json::Json details = json::Json::object();
    details["name"] = display.name;
    details["display"] = display.id;
    return details;
}

}  // namespace

DisplayError completeConfiguration(HostData& data, const std::vector<StagedChange>& changes) {
    HostState next = data.state();
    for (const auto& change : changes) {
        const DisplayRecord* display = next.online(change.display);
        if (display == nullptr) return DisplayError::cannotComplete;
        if (change.kind == StagedChange::Kind::mirror && change.master != 0 && next.online(change.master) == nullptr) {
            return DisplayError::cannotComplete;
        }
        if (change.kind == StagedChange::Kind::mode && display->findMode(change.modeID) == nullptr) {
            return DisplayError::illegalArgument;
        }
    }

    std::vector<DisplayID> remirrored;
    for (const auto& change : changes) {
        if (change.kind != StagedChange::Kind::mirror) continue;
        next.online(change.display)->mirror = change.master;
        remirrored.push_back(change.display);
    }
    // Only arrangements this transaction makes are judged; one the host already shows stays its own business.
    auto involved = [&remirrored](DisplayID id) {
        return std::find(remirrored.begin(), remirrored.end(), id) != remirrored.end();
    };
    for (const auto* display : next.onlineDisplays()) {
        if (display->mirror == 0 || !(involved(display->id) || involved(display->mirror))) continue;
        const DisplayRecord* master = next.online(display->mirror);
        if (master == nullptr || master == display || master->mirror != 0) return DisplayError::illegalArgument;
    }

    std::vector<DisplayID> positioned;
    for (const auto& change : changes) {
        DisplayRecord* display = next.online(change.display);
        if (change.kind == StagedChange::Kind::mode) display->currentModeID = change.modeID;
        if (change.kind == StagedChange::Kind::origin) {
            display->x = change.x;
            display->y = change.y;
            std::erase(positioned, change.display);
            positioned.push_back(change.display);
        }
    }

    HostData staged;
    staged.state() = std::move(next);
    staged.now = data.now;
    applyOriginOverrides(staged, positioned);
    std::reverse(positioned.begin(), positioned.end());
    normalizeLayout(staged.state(), positioned);
    ++staged.state().counters.transactionsCompleted;
    armModeSwitches(staged);
    data.state() = std::move(staged.state());
    return DisplayError::success;
}

void plugDisplay(HostData& data, const Actor& actor, std::string_view name) {
    DisplayRecord& display = physicalOrThrow(data.state(), name);
    if (display.connected) return;
    display.connected = true;
    display.id = data.state().allocateDisplayID();
    display.mirror = 0;
    display.main = false;
    const DisplayID id = display.id;
    // The placeholder leaves first so the newcomer does not queue up behind it.
    const auto placeholder = std::find_if(data.state().displays.begin(), data.state().displays.end(),
                                          [](const auto& d) { return d.kind == DisplayKind::placeholder; });
    if (placeholder != data.state().displays.end()) {
        const DisplayID gone = placeholder->id;
        data.state().displays.erase(placeholder);
        detachMirrors(data.state(), gone);
    }
    const auto [x, y] = nextFreeOrigin(data.state(), id);
    DisplayRecord& joined = *data.state().physicalNamed(name);
    joined.x = x;
    joined.y = y;
    normalizeLayout(data.state());
    data.record(actor, "plug", displayDetails(*data.state().physicalNamed(name)));
}

void unplugDisplay(HostData& data, const Actor& actor, std::string_view name) {
    DisplayRecord& display = physicalOrThrow(data.state(), name);
    if (!display.connected) return;
    const auto details = displayDetails(display);
    const DisplayID id = display.id;
    display.connected = false;
    display.main = false;
    display.mirror = 0;
    detachMirrors(data.state(), id);
    normalizeLayout(data.state());
    data.record(actor, "unplug", details);
}

void setDisplayMode(HostData& data, const Actor& actor, DisplayID id, std::int32_t modeID) {
    DisplayRecord* display = data.state().online(id);
    if (display == nullptr) throw HostError("display " + std::to_string(id) + " is not online");
    if (display->findMode(modeID) == nullptr) {
        throw HostError("display " + display->name + " has no mode " + std::to_string(modeID));
    }
    display->currentModeID = modeID;
    normalizeLayout(data.state(), {id});
    auto details = displayDetails(*display);
    details["modeID"] = modeID;
    data.record(actor, "setMode", details);
}

void sleepDisplays(HostData& data, const Actor& actor) {
    data.state().asleep = true;
    data.record(actor, "sleep");
}

void wakeDisplays(HostData& data, const Actor& actor) {
    data.state().asleep = false;
    data.record(actor, "wake");
}

void settle(HostData& data, const std::function<bool(const processes::ProcessIdentity&)>& isAlive) {
    auto& state = data.state();
    bool changed = false;

    for (std::size_t index = 0; index < state.displays.size();) {
        DisplayRecord& display = state.displays[index];
        if (display.kind != DisplayKind::virtualDisplay) {
            ++index;
            continue;
        }
        auto& info = *display.virtualDisplay;
        const char* reason = nullptr;
        if (!info.lingers) {
            if (!isAlive(info.owner)) {
                reason = "ownerEnded";
            } else if (info.releasedAt && data.now >= *info.releasedAt + info.vanishDelay) {
                reason = "released";
            }
        }
        if (reason != nullptr) {
            json::Json details = json::Json::object();
            details["display"] = display.id;
            details["reason"] = reason;
            const DisplayID id = display.id;
            state.displays.erase(state.displays.begin() + static_cast<std::ptrdiff_t>(index));
            detachMirrors(state, id);
            data.record(Actor::host(), "virtualDisplayGone", details);
            changed = true;
            continue;
        }
        if (info.settingsApplied && !info.online && info.onlineAt && data.now >= *info.onlineAt) {
            info.online = true;
            const auto [x, y] = nextFreeOrigin(state, display.id);
            display.x = x;
            display.y = y;
            json::Json details = json::Json::object();
            details["display"] = display.id;
            data.record(Actor::host(), "virtualDisplayOnline", details);
            changed = true;
        }
        ++index;
    }
    if (changed) normalizeLayout(state);

    std::stable_sort(state.scheduledPlugs.begin(), state.scheduledPlugs.end(),
                     [](const ScheduledPlug& a, const ScheduledPlug& b) { return a.at < b.at; });
    while (!state.scheduledPlugs.empty() && state.scheduledPlugs.front().at <= data.now) {
        const ScheduledPlug plug = state.scheduledPlugs.front();
        state.scheduledPlugs.erase(state.scheduledPlugs.begin());
        if (state.physicalNamed(plug.display) == nullptr) continue;
        if (plug.action == PlugAction::plug) {
            plugDisplay(data, Actor::host(), plug.display);
        } else {
            unplugDisplay(data, Actor::host(), plug.display);
        }
    }

    std::vector<PendingModeSwitch> later;
    for (const auto& pending : state.pendingModeSwitches) {
        if (pending.at > data.now) {
            later.push_back(pending);
            continue;
        }
        DisplayRecord* display = state.online(pending.display);
        if (display == nullptr) continue;
        const HostMode* target =
            pending.modeID ? display->findMode(*pending.modeID) : lowResolutionDuplicate(*display);
        if (target == nullptr || target->info.modeID == display->currentModeID) continue;
        display->currentModeID = target->info.modeID;
        normalizeLayout(state, {display->id});
        json::Json details = json::Json::object();
        details["display"] = pending.display;
        details["modeID"] = target->info.modeID;
        data.record(Actor::host(), "modeSwitched", details);
    }
    state.pendingModeSwitches = std::move(later);

    std::erase_if(state.assertions, [&isAlive](const HeldAssertion& held) { return !isAlive(held.owner); });
}

std::vector<VisibleDisplay> visibleFingerprint(const HostState& state) {
    std::vector<VisibleDisplay> shown;
    for (const auto* display : state.onlineDisplays()) {
        const bool dark = state.asleep && display->kind == DisplayKind::physical;
        const HostMode* mode = display->currentMode();
        VisibleDisplay visible{display->id, display->x, display->y, display->mirror, display->main, std::nullopt};
        // The refresh rate and flags of a mode are not what the displays show.
        if (mode != nullptr && !dark) {
            visible.picture = displays::DisplayModeInfo{mode->info.modeID, mode->info.width, mode->info.height,
                                                        mode->info.pixelWidth, mode->info.pixelHeight, 0, 0};
        }
        shown.push_back(visible);
    }
    return shown;
}

}  // namespace dorvane::host
