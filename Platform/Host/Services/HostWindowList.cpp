#include "Platform/Host/Services/HostWindowList.h"

#include <limits>

#include "Platform/Host/Machines/WindowListing.h"
#include "Platform/Host/Machines/WindowMachine.h"

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
    std::optional<json::Json> list;
    try {
        callWithFaults(*session_, faults_, subject, [&](HostData& data, const std::optional<FaultOutcome>& fault) {
            if (fault && fault->action == FaultAction::nothing) return;
            list = windowListAnswer(listWindows(data, currentScreens(data)), options, relativeTo);
            if (fault && fault->action == FaultAction::value) corrupt(*list, fault->valueKind);
        });
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return list;
}

}  // namespace dorvane::host
