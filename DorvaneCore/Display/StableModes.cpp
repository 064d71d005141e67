#include "DorvaneCore/Display/StableModes.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Support/DecimalText.h"
#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

namespace {

constexpr auto stableEntryFields = [](auto& f, auto& entry) {
    f.required("mode", entry.mode);
    f.required("x", entry.x);
    f.required("y", entry.y);
    f.required("main", entry.main);
    f.optional("mirrorKey", entry.mirrorKey);
};

}  // namespace

json::Json StableModes::Entry::toJson() const { return json::writeFields(*this, stableEntryFields); }

StableModes::Entry StableModes::Entry::fromJson(const json::Json& value) {
    return json::readFields<Entry>(value, stableEntryFields);
}

std::string StableModes::key(const DisplayState& display) { return display.uuid ? *display.uuid : display.hardwareKey; }

std::string StableModes::setKey(const std::vector<DisplayState>& displays) {
    std::vector<std::string> keys;
    for (const auto& d : displays) {
        if (d.physical) keys.push_back(key(d));
    }
    std::sort(keys.begin(), keys.end());  // byte order: locale-independent
    std::string joined;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0) joined += "|";
        joined += keys[i];
    }
    return joined;
}

StableModes::EntryMap StableModes::entries(const std::vector<DisplayState>& displays) {
    std::map<std::uint32_t, std::string> keyByID;
    for (const auto& d : displays) keyByID[d.id] = key(d);  // the later display of an id wins
    EntryMap result;
    for (const auto& d : displays) {
        if (!d.physical) continue;
        Entry entry{d.mode, d.x, d.y, d.main, std::nullopt};
        if (d.mirror != 0) {
            auto mirrored = keyByID.find(d.mirror);
            if (mirrored != keyByID.end()) entry.mirrorKey = mirrored->second;
        }
        result.insert_or_assign(key(d), std::move(entry));
    }
    return result;
}

bool StableModes::same(const Entry& a, const Entry& b) {
    return a.mode.width == b.mode.width && a.mode.height == b.mode.height && a.mode.pixelWidth == b.mode.pixelWidth &&
           a.mode.pixelHeight == b.mode.pixelHeight && std::fabs(a.mode.refresh - b.mode.refresh) < 1.0 &&
           a.x == b.x && a.y == b.y && a.main == b.main && a.mirrorKey == b.mirrorKey;
}

bool StableModes::same(const EntryMap& a, const EntryMap& b) {
    if (a.size() != b.size()) return false;
    for (const auto& [key, entry] : a) {
        auto other = b.find(key);
        if (other == b.end() || !same(entry, other->second)) return false;
    }
    return true;
}

bool StableModes::record(const std::vector<DisplayState>& baseline, const std::vector<DisplayState>& live) {
    auto allPhysical = [](const std::vector<DisplayState>& list) {
        return std::all_of(list.begin(), list.end(), [](const DisplayState& d) { return d.physical; });
    };
    if (live.empty() || !allPhysical(live) || !allPhysical(baseline)) return false;
    const std::string set = setKey(live);
    if (setKey(baseline) != set) return false;
    EntryMap liveEntries = entries(live);
    if (!same(entries(baseline), liveEntries)) return false;
    auto stored = layouts.find(set);
    if (stored != layouts.end() && same(stored->second, liveEntries)) return false;
    layouts.insert_or_assign(set, std::move(liveEntries));
    return true;
}

StableModes::Correction StableModes::corrected(const std::vector<DisplayState>& states) const {
    auto stored = layouts.find(setKey(states));
    if (stored == layouts.end() || same(stored->second, entries(states))) return {states, {}};
    const EntryMap& remembered = stored->second;

    std::map<std::string, std::uint32_t> idByKey;
    for (const auto& d : states) idByKey[key(d)] = d.id;  // the later display of a key wins

    Correction result;
    for (const auto& d : states) {
        auto entry = d.physical ? remembered.find(key(d)) : remembered.end();
        if (entry == remembered.end()) {
            result.states.push_back(d);
            continue;
        }
        const Entry& e = entry->second;
        std::uint32_t mirror = 0;
        if (e.mirrorKey) {
            auto mirrored = idByKey.find(*e.mirrorKey);
            if (mirrored != idByKey.end()) mirror = mirrored->second;
        }
        const auto own = entries({d});
        const bool differs = own.empty() || !same(e, own.begin()->second) || mirror != d.mirror;
        DisplayState fixedState = d;
        fixedState.mode = e.mode;
        fixedState.x = e.x;
        fixedState.y = e.y;
        fixedState.main = e.main;
        fixedState.mirror = mirror;
        result.states.push_back(std::move(fixedState));
        if (differs) result.fixed.push_back(d.id);
    }
    return result;
}

namespace {

std::string modeText(const DisplayMode& mode) {
    return std::to_string(mode.pixelWidth) + "x" + std::to_string(mode.pixelHeight) + "/" + std::to_string(mode.width) +
           "x" + std::to_string(mode.height) + "@" + decimalText(mode.refresh);
}

}  // namespace

std::vector<std::string> StableModes::mismatches(const DisplayState& target, const std::optional<DisplayState>& actual) {
    if (!actual) return {"id " + std::to_string(target.id) + " missing"};
    std::vector<std::string> texts;
    if (!target.skipMode && !actual->mode.matches(target.mode)) {
        texts.push_back("mode " + modeText(actual->mode) + " != " + modeText(target.mode));
    }
    if (actual->x != target.x || actual->y != target.y) {
        texts.push_back("origin " + std::to_string(actual->x) + "," + std::to_string(actual->y) +
                        " != " + std::to_string(target.x) + "," + std::to_string(target.y));
    }
    if (actual->main != target.main) {
        texts.push_back(std::string("main ") + (actual->main ? "true" : "false") + " != " +
                        (target.main ? "true" : "false"));
    }
    if (actual->mirror != target.mirror) {
        texts.push_back("mirror " + std::to_string(actual->mirror) + " != " + std::to_string(target.mirror));
    }
    return texts;
}

json::Json StableModes::toJson() const {
    json::Json layoutsObject = json::Json::object();
    for (const auto& [set, entryMap] : layouts) {
        json::Json displays = json::Json::object();
        for (const auto& [displayKey, entry] : entryMap) displays[displayKey] = entry.toJson();
        layoutsObject[set] = std::move(displays);
    }
    json::Json object = json::Json::object();
    object["layouts"] = std::move(layoutsObject);
    return object;
}

StableModes StableModes::fromJson(const json::Json& value) {
    const json::Json& layoutsObject = json::requireObject(json::requireKey(value, "layouts"));
    StableModes result;
    for (const auto& [set, displays] : layoutsObject.items()) {
        try {
            json::requireObject(displays);
            EntryMap entryMap;
            for (const auto& [displayKey, entry] : displays.items()) {
                try {
                    entryMap.insert_or_assign(displayKey, Entry::fromJson(entry));
                } catch (const json::DecodeError& error) {
                    throw error.within(displayKey);
                }
            }
            result.layouts.insert_or_assign(set, std::move(entryMap));
        } catch (const json::DecodeError& error) {
            throw error.within("layouts." + set);
        }
    }
    return result;
}

StableModes StableModes::fromFileText(const std::optional<std::string>& text) {
    if (!text) return {};
    try {
        return fromJson(json::parse(*text));
    } catch (const json::DecodeError&) {
        return {};
    }
}

}  // namespace dorvane
