#include "Platform/Host/Services/HostDisplayConfiguration.h"

namespace dorvane::host {

using displays::DisplayError;

namespace {

const char* scopeName(displays::ConfigureScope scope) {
    switch (scope) {
        case displays::ConfigureScope::forApplication: return "application";
        case displays::ConfigureScope::forSession: return "session";
        case displays::ConfigureScope::permanently: return "permanent";
    }
    return "?";
}

}  // namespace

HostDisplayConfiguration::HostDisplayConfiguration(std::shared_ptr<HostSession> session, std::uint64_t transaction)
    : session_(std::move(session)), transaction_(transaction) {}

HostDisplayConfiguration::~HostDisplayConfiguration() {
    if (finished_) return;
    try {
        session_->access([this](HostData& data) { data.record(session_->actor(), "abandonConfiguration", details()); });
    } catch (...) {
        // A host that cannot be written now has nothing to drop either.
    }
}

json::Json HostDisplayConfiguration::details() const {
    json::Json object = json::Json::object();
    object["tx"] = transaction_;
    return object;
}

DisplayError HostDisplayConfiguration::stage(HostCall call, StagedChange change, json::Json extra,
                                             const std::function<DisplayError(const HostState&)>& check) {
    auto logged = details();
    for (auto& [key, value] : extra.items()) logged[key] = value;
    const auto actor = session_->actor();
    const std::string name(rawValue(call));
    return session_->call<DisplayError>(
        call, change.display,
        [&](HostData& data) {
            DisplayError error = DisplayError::invalidContext;
            if (!finished_) {
                error = data.state().online(change.display) == nullptr ? DisplayError::illegalArgument : check(data.state());
            }
            data.record(actor, name, logged, displays::errorCode(error));
            if (error == DisplayError::success) staged_.push_back(change);
            return error;
        },
        [&](HostData& data, const FaultOutcome& fault) {
            const auto error = fault.action == FaultAction::fail ? fault.code : DisplayError::success;
            data.record(actor, name, logged, displays::errorCode(error));
            return error;
        });
}

DisplayError HostDisplayConfiguration::configureMirror(DisplayID display, DisplayID master) {
    json::Json extra = json::Json::object();
    extra["display"] = display;
    extra["master"] = master;
    StagedChange change{StagedChange::Kind::mirror, display, master, 0, 0, 0};
    return stage(HostCall::configureMirror, change, extra, [display, master](const HostState& state) {
        if (master == display || (master != 0 && state.online(master) == nullptr)) return DisplayError::illegalArgument;
        return DisplayError::success;
    });
}

DisplayError HostDisplayConfiguration::configureMode(DisplayID display, const displays::DisplayModeInfo& mode) {
    json::Json extra = json::Json::object();
    extra["display"] = display;
    extra["modeID"] = mode.modeID;
    extra["mode"] = std::to_string(mode.pixelWidth) + "x" + std::to_string(mode.pixelHeight) + "/" +
                    std::to_string(mode.width) + "x" + std::to_string(mode.height);
    StagedChange change{StagedChange::Kind::mode, display, 0, mode.modeID, 0, 0};
    return stage(HostCall::configureMode, change, extra, [display, &mode](const HostState& state) {
        return state.online(display)->findMode(mode.modeID) != nullptr ? DisplayError::success
                                                                        : DisplayError::illegalArgument;
    });
}

DisplayError HostDisplayConfiguration::configureOrigin(DisplayID display, std::int32_t x, std::int32_t y) {
    json::Json extra = json::Json::object();
    extra["display"] = display;
    extra["x"] = x;
    extra["y"] = y;
    StagedChange change{StagedChange::Kind::origin, display, 0, 0, x, y};
    return stage(HostCall::configureOrigin, change, extra, [](const HostState&) { return DisplayError::success; });
}

DisplayError HostDisplayConfiguration::complete(displays::ConfigureScope scope) {
    auto logged = details();
    logged["scope"] = scopeName(scope);
    logged["changes"] = staged_.size();
    const auto actor = session_->actor();
    return session_->call<DisplayError>(
        HostCall::completeConfiguration, 0,
        [&](HostData& data) {
            DisplayError error = DisplayError::invalidContext;
            if (!finished_) {
                error = completeConfiguration(data, staged_);
                finished_ = true;
            }
            data.record(actor, "completeConfiguration", logged, displays::errorCode(error));
            return error;
        },
        [&](HostData& data, const FaultOutcome& fault) {
            // A refused completion ends the transaction like any failed one.
            const auto error = fault.action == FaultAction::fail ? fault.code : DisplayError::success;
            finished_ = true;
            data.record(actor, "completeConfiguration", logged, displays::errorCode(error));
            return error;
        });
}

DisplayError HostDisplayConfiguration::cancel() {
    const auto logged = details();
    const auto actor = session_->actor();
    return session_->call<DisplayError>(
        HostCall::cancelConfiguration, 0,
        [&](HostData& data) {
            DisplayError error = DisplayError::invalidContext;
            if (!finished_) {
                error = DisplayError::success;
                finished_ = true;
                staged_.clear();
                ++data.state().counters.transactionsCancelled;
            }
            data.record(actor, "cancelConfiguration", logged, displays::errorCode(error));
            return error;
        },
        [&](HostData& data, const FaultOutcome& fault) {
            // A cancel that fails leaves the transaction open; one answered with nothing ends it uncounted.
            const auto error = fault.action == FaultAction::fail ? fault.code : DisplayError::success;
            if (error == DisplayError::success) finished_ = true;
            data.record(actor, "cancelConfiguration", logged, displays::errorCode(error));
            return error;
        });
}

}  // namespace dorvane::host
