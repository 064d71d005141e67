#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// The layout each set of physical displays had when left alone for a while,
// used to undo a mode the system switched on its own before a fit, and to
// describe what a restore failed to put back.
struct StableModes {
    struct Entry {
        DisplayMode mode;
        std::int32_t x = 0;
        std::int32_t y = 0;
        bool main = false;
        std::optional<std::string> mirrorKey;

        json::Json toJson() const;
        static Entry fromJson(const json::Json& value);
    };

    using EntryMap = std::map<std::string, Entry>;

    // display-set key -> display key -> entry; std::map keeps the file's keys sorted.
    std::map<std::string, EntryMap> layouts;

    // The UUID when known, else the hardware key.
    static std::string key(const DisplayState& display);
    // The physical displays' keys in byte order, joined by "|".
    static std::string setKey(const std::vector<DisplayState>& displays);
    static EntryMap entries(const std::vector<DisplayState>& displays);

    // Equal up to a refresh difference below 1 Hz; mode ids are not compared.
    static bool same(const Entry& a, const Entry& b);
    static bool same(const EntryMap& a, const EntryMap& b);

    // Remembers `live` when it is a physical layout that did not change since
    // `baseline`. True when something new was stored.
    bool record(const std::vector<DisplayState>& baseline, const std::vector<DisplayState>& live);

    struct Correction {
        std::vector<DisplayState> states;
        std::vector<std::uint32_t> fixed;
    };
    // Each remembered display put back into its remembered mode, origin, main flag and mirror.
    Correction corrected(const std::vector<DisplayState>& states) const;

    // The differences of a live display from a target, as log texts; empty when it holds.
    static std::vector<std::string> mismatches(const DisplayState& target, const std::optional<DisplayState>& actual);

    json::Json toJson() const;
    // Strict; the engine treats any failure as an empty record.
    static StableModes fromJson(const json::Json& value);
    // The file's text, or an empty record when it is missing, unreadable or malformed.
    static StableModes fromFileText(const std::optional<std::string>& text);
};

}  // namespace dorvane
