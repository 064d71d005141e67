#include "DorvaneCore/SettingsWindow/LoginItemChange.h"

namespace dorvane {

LoginItemChange loginItemChange(bool requestedOn, bool currentlyEnabled) {
    if (requestedOn == currentlyEnabled) return LoginItemChange::none;
    return requestedOn ? LoginItemChange::registerItem : LoginItemChange::unregisterItem;
}

}  // namespace dorvane
