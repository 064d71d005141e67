#include "Platform/Host/Services/HostDisplayServices.h"

#include "Platform/Host/Services/HostDisplayConfiguration.h"

namespace dorvane::host {

using displays::DisplayError;
using displays::DisplayModeInfo;

template <typename R>
R HostDisplayServices::query(HostCall call, DisplayID display,
                             const std::function<R(const HostState&, const DisplayRecord&)>& read) {
    return session_->call<R>(
        call, display,
        [&](HostData& data) {
            const DisplayRecord* record = data.state().online(display);
            return record != nullptr ? read(data.state(), *record) : R{};
        },
        [](HostData&, const FaultOutcome&) { return R{}; });
}

displays::OnlineDisplayList HostDisplayServices::onlineDisplayList(std::uint32_t capacity) {
    return session_->call<displays::OnlineDisplayList>(
        HostCall::onlineDisplayList, 0,
        [capacity](HostData& data) {
            displays::OnlineDisplayList list;
            for (const auto* display : data.state().onlineDisplays()) {
                if (list.ids.size() >= capacity) break;
                list.ids.push_back(display->id);
            }
            return list;
        },
        [](HostData&, const FaultOutcome& fault) {
            return displays::OnlineDisplayList{
                fault.action == FaultAction::fail ? fault.code : DisplayError::success, {}};
        });
}

DisplayID HostDisplayServices::mainDisplayID() {
    return session_->call<DisplayID>(
        HostCall::mainDisplayID, 0,
        [](HostData& data) {
            const auto online = data.state().onlineDisplays();
            return !online.empty() && online.front()->main ? online.front()->id : DisplayID{0};
        },
        [](HostData&, const FaultOutcome&) { return DisplayID{0}; });
}

std::optional<DisplayModeInfo> HostDisplayServices::currentMode(DisplayID display) {
    return query<std::optional<DisplayModeInfo>>(
        HostCall::currentMode, display, [](const HostState& state, const DisplayRecord& record) {
            const HostMode* mode = record.currentMode();
            // A sleeping panel shows no picture, so it has no current mode.
            if (mode == nullptr || (state.asleep && record.kind == DisplayKind::physical)) {
                return std::optional<DisplayModeInfo>();
            }
            return std::optional(mode->info);
        });
}

std::vector<DisplayModeInfo> HostDisplayServices::allModes(DisplayID display, displays::ModeListOptions options) {
    return query<std::vector<DisplayModeInfo>>(
        HostCall::allModes, display, [options](const HostState&, const DisplayRecord& record) {
            std::vector<DisplayModeInfo> modes;
            for (const auto& mode : record.modes) {
                if (!mode.lowResolutionDuplicate || options.includeDuplicateLowResolution) modes.push_back(mode.info);
            }
            return modes;
        });
}

std::uint32_t HostDisplayServices::vendorNumber(DisplayID display) {
    return query<std::uint32_t>(HostCall::vendorNumber, display,
                                [](const HostState&, const DisplayRecord& record) { return record.vendor; });
}

std::uint32_t HostDisplayServices::modelNumber(DisplayID display) {
    return query<std::uint32_t>(HostCall::modelNumber, display,
                                [](const HostState&, const DisplayRecord& record) { return record.model; });
}

std::uint32_t HostDisplayServices::serialNumber(DisplayID display) {
    return query<std::uint32_t>(HostCall::serialNumber, display,
                                [](const HostState&, const DisplayRecord& record) { return record.serial; });
}

bool HostDisplayServices::isBuiltin(DisplayID display) {
    return query<bool>(HostCall::isBuiltin, display,
                       [](const HostState&, const DisplayRecord& record) { return record.builtIn; });
}

bool HostDisplayServices::isMain(DisplayID display) {
    return query<bool>(HostCall::isMain, display,
                       [](const HostState&, const DisplayRecord& record) { return record.main; });
}

displays::Rect HostDisplayServices::bounds(DisplayID display) {
    return query<displays::Rect>(HostCall::bounds, display,
                                 [](const HostState&, const DisplayRecord& record) { return record.bounds(); });
}

DisplayID HostDisplayServices::mirrorSource(DisplayID display) {
    return query<DisplayID>(HostCall::mirrorSource, display,
                            [](const HostState&, const DisplayRecord& record) { return record.mirror; });
}

std::optional<std::string> HostDisplayServices::displayUUID(DisplayID display) {
    return query<std::optional<std::string>>(
        HostCall::displayUUID, display, [](const HostState& state, const DisplayRecord& record) {
            return state.uuidLookupAvailable ? record.uuid : std::nullopt;
        });
}

displays::BeginConfigurationResult HostDisplayServices::beginConfiguration() {
    const auto actor = session_->actor();
    return session_->call<displays::BeginConfigurationResult>(
        HostCall::beginConfiguration, 0,
        [this, &actor](HostData& data) {
            const auto transaction = data.state().nextTransactionID++;
            json::Json details = json::Json::object();
            details["tx"] = transaction;
            data.record(actor, "beginConfiguration", details, 0);
            return displays::BeginConfigurationResult{
                DisplayError::success, std::make_unique<HostDisplayConfiguration>(session_, transaction)};
        },
        [&actor](HostData& data, const FaultOutcome& fault) {
            const auto error = fault.action == FaultAction::fail ? fault.code : DisplayError::success;
            data.record(actor, "beginConfiguration", json::Json::object(), displays::errorCode(error));
            return displays::BeginConfigurationResult{error, nullptr};
        });
}

}  // namespace dorvane::host
