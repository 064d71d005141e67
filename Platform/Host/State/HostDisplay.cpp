#include "Platform/Host/State/HostDisplay.h"

#include <charconv>

#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

namespace {

constexpr auto virtualDisplayRecordFields = [](auto& f, auto& record) {
    f.required("owner", record.owner);
    f.required("maxPixelsWide", record.maxPixelsWide);
    f.required("maxPixelsHigh", record.maxPixelsHigh);
    f.required("settingsApplied", record.settingsApplied);
    f.required("online", record.online);
    f.required("createdAt", record.createdAt);
    f.nullable("onlineAt", record.onlineAt);
    f.nullable("releasedAt", record.releasedAt);
    f.required("vanishDelay", record.vanishDelay);
    f.required("lingers", record.lingers);
    f.required("startsLowResolution", record.startsLowResolution);
};

constexpr auto displayRecordFields = [](auto& f, auto& record) {
    f.required("kind", record.kind);
    f.required("name", record.name);
    f.required("id", record.id);
    f.required("vendor", record.vendor);
    f.required("model", record.model);
    f.required("serial", record.serial);
    f.required("builtIn", record.builtIn);
    f.nullable("uuid", record.uuid);
    f.required("notch", record.notch);
    f.required("connected", record.connected);
    f.required("modes", record.modes);
    f.required("currentModeID", record.currentModeID);
    f.required("x", record.x);
    f.required("y", record.y);
    f.required("mirror", record.mirror);
    f.required("main", record.main);
    f.nullable("virtual", record.virtualDisplay);
};

}  // namespace

json::Json HostMode::toJson() const {
    json::Json object = info.toJson();
    object["lowResolutionDuplicate"] = lowResolutionDuplicate;
    return object;
}

HostMode HostMode::fromJson(const json::Json& value) {
    return HostMode{displays::DisplayModeInfo::fromJson(value), json::get<bool>(value, "lowResolutionDuplicate")};
}

json::Json VirtualDisplayRecord::toJson() const { return json::writeFields(*this, virtualDisplayRecordFields); }

VirtualDisplayRecord VirtualDisplayRecord::fromJson(const json::Json& value) {
    return json::readFields<VirtualDisplayRecord>(value, virtualDisplayRecordFields);
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

json::Json DisplayRecord::toJson() const { return json::writeFields(*this, displayRecordFields); }

DisplayRecord DisplayRecord::fromJson(const json::Json& value) {
    auto record = json::readFields<DisplayRecord>(value, displayRecordFields);
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
