#include "Platform/Host/State/ActionEntry.h"

#include <cstdio>

#include "DorvaneCore/Support/DecimalText.h"
#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

std::string valueText(const json::Json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_float()) return decimalText(value.get<double>());
    return json::serialize(value);
}

}  // namespace

std::string ActionEntry::summary() const {
    std::string text = action;
    if (details.is_object()) {
        for (const auto& [key, value] : details.items()) {
            // Accessibility names read as words: "AXSize 756x944", "AXPress".
            if (key.starts_with("AX")) {
                text.append(" ").append(key);
                if (!value.is_null()) text.append(" ").append(valueText(value));
            } else {
                text += " " + key + "=" + valueText(value);
            }
        }
    }
    if (result) text += " -> " + std::to_string(*result);
    return text;
}

std::string ActionEntry::line() const {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", uptime);
    std::string who = actor;
    if (pid) who += "[" + std::to_string(*pid) + "]";
    return std::to_string(seq) + " " + time + " " + who + " " + summary();
}

namespace {

json::Json detailsObject(const json::Json& value) { return json::requireObject(value); }

constexpr auto actionEntryFields = [](auto& f, auto& entry) {
    f.required("seq", entry.seq);
    f.required("uptime", entry.uptime);
    f.nullable("pid", entry.pid);
    f.required("actor", entry.actor);
    f.required("action", entry.action);
    f.required("details", entry.details, {.decode = detailsObject});
    f.nullable("result", entry.result);
};

}  // namespace

json::Json ActionEntry::toJson() const { return json::writeFields(*this, actionEntryFields); }

ActionEntry ActionEntry::fromJson(const json::Json& value) { return json::readFields<ActionEntry>(value, actionEntryFields); }

std::vector<ActionEntry> parseActionLog(std::string_view text) {
    std::vector<ActionEntry> entries;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) break;  // torn last line
        ++lineNumber;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line.empty()) continue;
        try {
            entries.push_back(ActionEntry::fromJson(json::parse(line)));
        } catch (const json::DecodeError& error) {
            throw error.within("line " + std::to_string(lineNumber));
        }
    }
    return entries;
}

}  // namespace dorvane::host
