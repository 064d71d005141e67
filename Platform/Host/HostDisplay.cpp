#include "Platform/Host/HostDisplay.h"

#include <charconv>

namespace dorvane::host {

namespace {

json::Json optionalNumber(const std::optional<double>& value) {
    return value ? json::Json(*value) : json::Json(nullptr);
}

}  // namespace

json::Json HostMode::toJson() const {
    json::Json object = info.toJson();
    object["lowResolutionDuplicate"] = lowResolutionDuplicate;
    return object;
}

HostMode HostMode::fromJson(const json::Json& value) {
    return HostMode{displays::DisplayModeInfo::fromJson(value), json::get<bool>(value, "lowResolutionDuplicate")};
}

json::Json VirtualDisplayRecord::toJson() const {
    json::Json object = json::Json::object();
    object["owner"] = owner.toJson();
    object["maxPixelsWide"] = maxPixelsWide;
    object["maxPixelsHigh"] = maxPixelsHigh;
    object["settingsApplied"] = settingsApplied;
    object["online"] = online;
    object["createdAt"] = createdAt;
    object["onlineAt"] = optionalNumber(onlineAt);
    object["releasedAt"] = optionalNumber(releasedAt);
    object["vanishDelay"] = vanishDelay;
    object["lingers"] = lingers;
    object["startsLowResolution"] = startsLowResolution;
    return object;
}

VirtualDisplayRecord VirtualDisplayRecord::fromJson(const json::Json& value) {
    json::requireObject(value);
    VirtualDisplayRecord record;
    record.owner = json::get<processes::ProcessIdentity>(value, "owner");
    record.maxPixelsWide = json::get<std::uint32_t>(value, "maxPixelsWide");
    record.maxPixelsHigh = json::get<std::uint32_t>(value, "maxPixelsHigh");
    record.settingsApplied = json::get<bool>(value, "settingsApplied");
    record.online = json::get<bool>(value, "online");
    record.createdAt = json::get<double>(value, "createdAt");
    record.onlineAt = json::getOptional<double>(value, "onlineAt");
    record.releasedAt = json::getOptional<double>(value, "releasedAt");
    record.vanishDelay = json::get<double>(value, "vanishDelay");
    record.lingers = json::get<bool>(value, "lingers");
    record.startsLowResolution = json::get<bool>(value, "startsLowResolution");
    return record;
}

bool DisplayRecord::isOnline() const {
    switch (kind) {
        case DisplayKind::physical: return connected;
        case DisplayKind::placeholder: return true;
        case DisplayKind::virtualDisplay: return virtualDisplay && virtualDisplay->online;
    }
    return false;
}

const HostMode* DisplayRecord::findMode(std::int32_t modeID) const {
    for (const auto& mode : modes) {
        if (mode.info.modeID == modeID) return &mode;
    }
    return nullptr;
}

const HostMode* DisplayRecord::currentMode() const { return findMode(currentModeID); }

displays::Rect DisplayRecord::bounds() const {
    const HostMode* mode = currentMode();
    if (mode == nullptr) return displays::Rect{double(x), double(y), 0, 0};
    return displays::Rect{double(x), double(y), double(mode->info.width), double(mode->info.height)};
}

json::Json DisplayRecord::toJson() const {
    json::Json object = json::Json::object();
    object["kind"] = json::encode(kind);
    object["name"] = name;
    object["id"] = id;
    object["vendor"] = vendor;
    object["model"] = model;
    object["serial"] = serial;
    object["builtIn"] = builtIn;
    object["uuid"] = uuid ? json::Json(*uuid) : json::Json(nullptr);
    object["notch"] = notch;
    object["connected"] = connected;
    object["modes"] = json::encodeArray(modes);
    object["currentModeID"] = currentModeID;
    object["x"] = x;
    object["y"] = y;
    object["mirror"] = mirror;
    object["main"] = main;
    object["virtual"] = virtualDisplay ? virtualDisplay->toJson() : json::Json(nullptr);
    return object;
}

DisplayRecord DisplayRecord::fromJson(const json::Json& value) {
    json::requireObject(value);
    DisplayRecord record;
    record.kind = json::get<DisplayKind>(value, "kind");
    record.name = json::get<std::string>(value, "name");
    record.id = json::get<DisplayID>(value, "id");
    record.vendor = json::get<std::uint32_t>(value, "vendor");
    record.model = json::get<std::uint32_t>(value, "model");
    record.serial = json::get<std::uint32_t>(value, "serial");
    record.builtIn = json::get<bool>(value, "builtIn");
    record.uuid = json::getOptional<std::string>(value, "uuid");
    record.notch = json::get<bool>(value, "notch");
    record.connected = json::get<bool>(value, "connected");
    record.modes = json::get<std::vector<HostMode>>(value, "modes");
    record.currentModeID = json::get<std::int32_t>(value, "currentModeID");
    record.x = json::get<std::int32_t>(value, "x");
    record.y = json::get<std::int32_t>(value, "y");
    record.mirror = json::get<DisplayID>(value, "mirror");
    record.main = json::get<bool>(value, "main");
    record.virtualDisplay = json::getOptional<VirtualDisplayRecord>(value, "virtual");
    if ((record.kind == DisplayKind::virtualDisplay) != record.virtualDisplay.has_value()) {
        throw json::DecodeError("a virtual display needs its \"virtual\" record and only it has one", "virtual");
    }
    if (record.findMode(record.currentModeID) == nullptr && !record.modes.empty()) {
        throw json::DecodeError("not one of the display's modes", "currentModeID");
    }
    return record;
}

bool selects(std::string_view selector, const DisplayRecord& display) {
    if (selector.empty()) return false;
    if (selector == display.name) return true;
    if (selector == "virtual") return display.kind == DisplayKind::virtualDisplay;
    if (selector == "placeholder") return display.kind == DisplayKind::placeholder;
    DisplayID id = 0;
    const auto [ptr, ec] = std::from_chars(selector.data(), selector.data() + selector.size(), id);
    return ec == std::errc() && ptr == selector.data() + selector.size() && id != 0 && id == display.id;
}

}  // namespace dorvane::host
