#pragma once

namespace dorvane {

// What turning the "开机启动" switch asks of the login-item service. The status
// is read again just before acting, and the service is called only when the
// request differs from it: turning on an entry that is already enabled, or off
// one that is not (also one waiting for approval), does nothing.
enum class LoginItemChange { none, registerItem, unregisterItem };

LoginItemChange loginItemChange(bool requestedOn, bool currentlyEnabled);

}  // namespace dorvane
