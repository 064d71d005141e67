#include "Platform/Host/HostWindowList.h"

#include <limits>

#include "Platform/Host/WindowListing.h"
#include "Platform/Host/WindowMachine.h"

namespace dorvane::host {

namespace windowkey = accessibility::windowkey;

namespace {

void corrupt(json::Json& list, FaultValue kind) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto& entry : list) {
        switch (kind) {
            case FaultValue::wrongType:
                entry[windowkey::number] = "malformed";
                entry[windowkey::ownerPID] = "malformed";
                entry[windowkey::layer] = "malformed";
                entry[windowkey::bounds] = "malformed";
                break;
            case FaultValue::nan:
                for (const char* key : {"x", "y", "width", "height"}) entry[windowkey::bounds][key] = nan;
                break;
            case FaultValue::zero:
                for (const char* key : {"x", "y", "width", "height"}) entry[windowkey::bounds][key] = 0.0;
                break;
        }
    }
}

}  // namespace

std::optional<json::Json> HostWindowList::copyWindowList(std::uint32_t options, std::uint32_t relativeTo) {
    FaultSubject subject;
    subject.call = HostCall::windowList;
    if ((options & accessibility::windowlist::includingWindow) != 0) subject.window = relativeTo;
    auto answer = [&](HostData& data, const std::optional<FaultOutcome>& fault) -> std::optional<json::Json> {
        if (fault && fault->action == FaultAction::nothing) return std::nullopt;
        auto list = windowListAnswer(listWindows(data, currentScreens(data)), options, relativeTo);
        if (fault && fault->action == FaultAction::value) corrupt(list, fault->valueKind);
        return list;
    };
    std::optional<FaultOutcome> fault;
    std::optional<json::Json> list;
    bool answered = false;
    try {
        session_->access([&](HostData& data) {
            fault = faults_.match(data, subject);
            if (fault && (fault->action == FaultAction::delay || fault->action == FaultAction::hang)) return;
            list = answer(data, fault);
            answered = true;
        });
        if (answered) return list;
        sleepOut(session_->clock(), *fault);
        session_->access([&](HostData& data) { list = answer(data, std::nullopt); });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return list;
}

}  // namespace dorvane::host
