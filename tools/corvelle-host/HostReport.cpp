#include "tools/corvelle-host/HostReport.h"

#include <algorithm>
#include <cstdio>

#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Support/DecimalText.h"

namespace dorvane::hosttool {

namespace {

using host::DisplayKind;
using host::DisplayRecord;

std::string kindText(const DisplayRecord& display) {
    switch (display.kind) {
        case DisplayKind::physical: return display.builtIn ? "built-in" : "external";
        case DisplayKind::placeholder: return "placeholder";
        case DisplayKind::virtualDisplay: {
            std::string text = "virtual pid " + std::to_string(display.virtualDisplay->owner.pid);
            if (display.virtualDisplay->releasedAt) text += " released";
            return text;
        }
    }
    return "?";
}

std::string hardwareKey(const DisplayRecord& display) {
    return makeHardwareKey(display.vendor, display.model, display.serial, display.builtIn);
}

std::string pad(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

json::Json rectJson(const displays::Rect& rect) {
    return json::Json::array({rect.x, rect.y, rect.width, rect.height});
}

}  // namespace

std::string renderTable(const HostReport& report) {
    const auto& state = report.state;
    std::vector<std::vector<std::string>> rows = {
        {"ID", "NAME", "KIND", "MAIN", "ORIGIN", "POINTS", "PIXELS", "HZ", "MODE", "MIRRORS", "HARDWARE KEY"}};
    for (const auto* display : state.onlineDisplays()) {
        const auto* mode = display->currentMode();
        const bool dark = state.asleep && display->kind == DisplayKind::physical;
        std::vector<std::string> row = {std::to_string(display->id),
                                        display->name,
                                        kindText(*display),
                                        display->main ? "yes" : "-",
                                        std::to_string(display->x) + "," + std::to_string(display->y)};
        if (mode != nullptr) {
            row.push_back(std::to_string(mode->info.width) + "x" + std::to_string(mode->info.height));
            row.push_back(std::to_string(mode->info.pixelWidth) + "x" + std::to_string(mode->info.pixelHeight));
            row.push_back(decimalText(mode->info.refresh));
            row.push_back(dark ? "asleep" : std::to_string(mode->info.modeID));
        } else {
            row.insert(row.end(), {"-", "-", "-", "none"});
        }
        row.push_back(display->mirror != 0 ? std::to_string(display->mirror) : "-");
        row.push_back(hardwareKey(*display));
        rows.push_back(std::move(row));
    }
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    std::string text = "Host folder: " + report.folder.string() + "\n";
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += column + 1 < row.size() ? pad(row[column], widths[column] + 2) : row[column];
        }
        text += line + "\n";
    }

    std::string disconnected;
    for (const auto& display : state.displays) {
        if (display.kind == DisplayKind::physical && !display.connected) {
            disconnected += (disconnected.empty() ? "" : ", ") + display.name;
        }
    }
    if (!disconnected.empty()) text += "Disconnected: " + disconnected + "\n";
    text += std::string("Displays asleep: ") + (state.asleep ? "yes" : "no") + "; virtual displays: " +
            (state.virtualDisplaysAvailable ? "available" : "unavailable") + "; UUID lookup: " +
            (state.uuidLookupAvailable ? "available" : "unavailable") + "\n";
    text += "Transactions completed: " + std::to_string(state.counters.transactionsCompleted) +
            "; cancelled: " + std::to_string(state.counters.transactionsCancelled) +
            "; user activities declared: " + std::to_string(state.counters.userActivitiesDeclared) +
            "; fault rules: " + std::to_string(report.faultRules) + "\n";
    return text;
}

json::Json renderJson(const HostReport& report) {
    const auto& state = report.state;
    json::Json object = json::Json::object();
    object["folder"] = report.folder.string();
    object["asleep"] = state.asleep;
    object["virtualDisplaysAvailable"] = state.virtualDisplaysAvailable;
    object["uuidLookupAvailable"] = state.uuidLookupAvailable;
    json::Json shown = json::Json::array();
    for (const auto* display : state.onlineDisplays()) {
        json::Json item = json::Json::object();
        item["id"] = display->id;
        item["name"] = display->name;
        item["kind"] = json::encode(display->kind);
        item["uuid"] = display->uuid ? json::Json(*display->uuid) : json::Json(nullptr);
        item["hardwareKey"] = hardwareKey(*display);
        item["builtIn"] = display->builtIn;
        item["main"] = display->main;
        item["x"] = display->x;
        item["y"] = display->y;
        item["mirror"] = display->mirror;
        const auto* mode = display->currentMode();
        item["mode"] = mode != nullptr ? mode->info.asDisplayMode().toJson() : json::Json(nullptr);
        item["owner"] = display->virtualDisplay ? display->virtualDisplay->owner.toJson() : json::Json(nullptr);
        shown.push_back(std::move(item));
    }
    object["displays"] = std::move(shown);
    json::Json disconnected = json::Json::array();
    for (const auto& display : state.displays) {
        if (display.kind == DisplayKind::physical && !display.connected) disconnected.push_back(display.name);
    }
    object["disconnected"] = std::move(disconnected);
    json::Json screens = json::Json::array();
    for (const auto& screen : report.screens) {
        json::Json item = json::Json::object();
        item["displayID"] = screen.displayID;
        item["frame"] = rectJson(screen.frame);
        item["visibleFrame"] = rectJson(screen.visibleFrame);
        item["backingScaleFactor"] = screen.backingScaleFactor;
        screens.push_back(std::move(item));
    }
    object["screens"] = std::move(screens);
    object["counters"] = state.counters.toJson();
    object["faultRules"] = report.faultRules;
    return object;
}

}  // namespace dorvane::hosttool
