#include "Platform/Host/Machines/AccessibilityTree.h"

#include <algorithm>
#include <array>

#include "Platform/Accessibility/AXNames.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

namespace attribute = accessibility::attribute;
namespace action = accessibility::action;
namespace role = accessibility::role;
using accessibility::AXElement;
using accessibility::AXElementIdentity;
using accessibility::AXError;
using accessibility::AXValue;
using Kind = AXElementIdentity::Kind;

namespace {

constexpr std::array<std::string_view, 3> kZoomTitles = {"Zoom", "缩放", "縮放"};
constexpr std::array<std::string_view, 2> kMinimiseTitles = {"Minimize", "最小化"};

AXElement element(Kind kind, pid_t pid, std::uint32_t window = 0, std::uint32_t menu = 0, std::uint32_t item = 0) {
    return AXElement(AXElementIdentity{kind, pid, window, menu, item});
}

AXValue text(std::string_view value) { return AXValue(std::string(value)); }

const WindowRecord* windowOf(const HostData& data, const AXElementIdentity& id) {
    const auto* window = data.windows().window(id.window);
    return window != nullptr && window->pid == id.pid ? window : nullptr;
}

ButtonState buttonState(const WindowRecord& window, Kind kind) {
    switch (kind) {
        case Kind::closeButton: return window.closeButton;
        case Kind::minimizeButton: return window.minimizeButton;
        default: return window.zoomButton;
    }
}

// Applications the windows side has no entry for (started elsewhere) have the default menu bar.
const std::vector<MenuRecord>* menuBarOf(const HostData& data, pid_t pid) {
    static const std::vector<MenuRecord> kDefault = defaultMenuBar();
    const auto* application = data.windows().application(pid);
    if (application == nullptr) return &kDefault;
    return application->menuBar ? &*application->menuBar : nullptr;
}

const MenuItemRecord* menuItemOf(const HostData& data, const AXElementIdentity& id) {
    const auto* menus = menuBarOf(data, id.pid);
    if (menus == nullptr || id.menu >= menus->size() || id.item >= (*menus)[id.menu].items.size()) return nullptr;
    return &(*menus)[id.menu].items[id.item];
}

AXError windowValue(const HostData& data, const WindowRecord& window, std::string_view name, AXValue& value) {
    const auto* application = data.windows().application(window.pid);
    const auto pose = poseAt(window, data.now, currentScreens(data));
    auto button = [&](Kind kind) {
        if (buttonState(window, kind) == ButtonState::absent) return AXError::noValue;
        value = element(kind, window.pid, window.number);
        return AXError::success;
    };
    if (name == attribute::role) value = text(window.role);
    else if (name == attribute::subrole) value = text(window.subrole);
    else if (name == attribute::title) value = text(window.title);
    else if (name == attribute::position) value = pose.frame.origin();
    else if (name == attribute::size) value = pose.frame.size();
    else if (name == attribute::minimized) value = window.minimised;
    else if (name == attribute::fullScreen) value = pose.fullScreen;
    else if (name == attribute::modal) value = window.modal;
    else if (name == attribute::main) value = application != nullptr && application->mainWindow == window.number;
    else if (name == attribute::focused) value = application != nullptr && application->focusedWindow == window.number;
    else if (name == attribute::closeButton) return button(Kind::closeButton);
    else if (name == attribute::minimizeButton) return button(Kind::minimizeButton);
    else if (name == attribute::zoomButton) return button(Kind::zoomButton);
    else return AXError::attributeUnsupported;
    return AXError::success;
}

AXError applicationValue(const HostData& data, pid_t pid, std::string_view name, AXValue& value) {
    const auto* running = data.workspace().application(pid);
    const auto* application = data.windows().application(pid);
    auto windowElement = [&](const std::optional<std::uint32_t>& number) {
        if (!number) return AXError::noValue;
        value = element(Kind::window, pid, *number);
        return AXError::success;
    };
    if (name == attribute::role) {
        value = text(role::application);
    } else if (name == attribute::title) {
        value = text(running->name);
    } else if (name == attribute::windows) {
        std::vector<AXElement> windows;
        for (const auto& window : data.windows().windows) {
            if (window.pid == pid && window.onScreen) windows.push_back(element(Kind::window, pid, window.number));
        }
        value = std::move(windows);
    } else if (name == attribute::focusedWindow) {
        return windowElement(application ? application->focusedWindow : std::nullopt);
    } else if (name == attribute::mainWindow) {
        return windowElement(application ? application->mainWindow : std::nullopt);
    } else if (name == attribute::menuBar) {
        if (menuBarOf(data, pid) == nullptr) return AXError::noValue;
        value = element(Kind::menuBar, pid);
    } else if (name == attribute::enhancedUserInterface) {
        if (application == nullptr || !application->enhancedUserInterface) return AXError::noValue;
        value = *application->enhancedUserInterface;
    } else if (name == attribute::frontmost) {
        value = data.workspace().frontmostPID == pid;
    } else {
        return AXError::attributeUnsupported;
    }
    return AXError::success;
}

AXError menuValue(const HostData& data, const AXElementIdentity& id, std::string_view name, AXValue& value) {
    const auto& menus = *menuBarOf(data, id.pid);
    std::vector<AXElement> children;
    switch (id.kind) {
        case Kind::menuBar:
            if (name == attribute::role) return value = text(role::menuBar), AXError::success;
            if (name != attribute::children) return AXError::attributeUnsupported;
            for (std::uint32_t index = 0; index < menus.size(); ++index) {
                children.push_back(element(Kind::menuBarItem, id.pid, 0, index));
            }
            break;
        case Kind::menuBarItem:
            if (name == attribute::role) return value = text(role::menuBarItem), AXError::success;
            if (name == attribute::title) return value = text(menus[id.menu].title), AXError::success;
            if (name == attribute::enabled) return value = true, AXError::success;
            if (name != attribute::children) return AXError::attributeUnsupported;
            children.push_back(element(Kind::menu, id.pid, 0, id.menu));
            break;
        case Kind::menu:
            if (name == attribute::role) return value = text(role::menu), AXError::success;
            if (name != attribute::children) return AXError::attributeUnsupported;
            for (std::uint32_t index = 0; index < menus[id.menu].items.size(); ++index) {
                children.push_back(element(Kind::menuItem, id.pid, 0, id.menu, index));
            }
            break;
        default: {
            const auto& item = menus[id.menu].items[id.item];
            if (name == attribute::role) return value = text(role::menuItem), AXError::success;
            if (name == attribute::title) return value = text(item.title), AXError::success;
            if (name == attribute::enabled) return value = item.enabled, AXError::success;
            return AXError::attributeUnsupported;
        }
    }
    value = std::move(children);
    return AXError::success;
}

}  // namespace

AXError checkElement(const HostData& data, const AXElementIdentity& id) {
    if (id.kind == Kind::systemWide) return AXError::success;
    if (data.workspace().application(id.pid) == nullptr) return AXError::invalidElement;
    switch (id.kind) {
        case Kind::application: return AXError::success;
        case Kind::window: return windowOf(data, id) ? AXError::success : AXError::invalidElement;
        case Kind::closeButton:
        case Kind::minimizeButton:
        case Kind::zoomButton: {
            const auto* window = windowOf(data, id);
            return window && buttonState(*window, id.kind) != ButtonState::absent ? AXError::success
                                                                                   : AXError::invalidElement;
        }
        case Kind::menuBar: return menuBarOf(data, id.pid) ? AXError::success : AXError::invalidElement;
        case Kind::menuBarItem:
        case Kind::menu: {
            const auto* menus = menuBarOf(data, id.pid);
            return menus && id.menu < menus->size() ? AXError::success : AXError::invalidElement;
        }
        case Kind::menuItem: return menuItemOf(data, id) ? AXError::success : AXError::invalidElement;
        case Kind::systemWide: break;
    }
    return AXError::success;
}

AXError copyAttribute(const HostData& data, const AXElementIdentity& id, std::string_view name, AXValue& value) {
    if (const auto error = checkElement(data, id); error != AXError::success) return error;
    switch (id.kind) {
        case Kind::systemWide:
            if (name == attribute::role) return value = text(role::systemWide), AXError::success;
            if (name != "AXFocusedApplication") return AXError::attributeUnsupported;
            if (!data.workspace().frontmostPID) return AXError::noValue;
            value = element(Kind::application, *data.workspace().frontmostPID);
            return AXError::success;
        case Kind::application: return applicationValue(data, id.pid, name, value);
        case Kind::window: return windowValue(data, *windowOf(data, id), name, value);
        case Kind::closeButton:
        case Kind::minimizeButton:
        case Kind::zoomButton: {
            const auto& window = *windowOf(data, id);
            if (name == attribute::role) {
                value = text(role::button);
            } else if (name == attribute::subrole) {
                value = id.kind == Kind::closeButton      ? text(accessibility::subrole::closeButton)
                        : id.kind == Kind::minimizeButton ? text(accessibility::subrole::minimizeButton)
                                                          : text(window.zoomButtonSubrole);
            } else if (name == attribute::enabled) {
                value = buttonState(window, id.kind) == ButtonState::enabled;
            } else {
                return AXError::attributeUnsupported;
            }
            return AXError::success;
        }
        default: return menuValue(data, id, name, value);
    }
}

AXError attributeSettable(const HostData& data, const AXElementIdentity& id, std::string_view name, bool& settable) {
    AXValue ignored;
    const auto error = copyAttribute(data, id, name, ignored);
    if (error != AXError::success && error != AXError::noValue) return error;
    if (id.kind == Kind::window) {
        settable = windowOf(data, id)->isSettable(name);
    } else if (id.kind == Kind::application) {
        settable = name == attribute::enhancedUserInterface || name == attribute::frontmost;
    } else {
        settable = false;
    }
    return AXError::success;
}

AXError setAttribute(HostData& data, const AXElementIdentity& id, std::string_view name, const AXValue& value) {
    bool settable = false;
    if (const auto error = attributeSettable(data, id, name, settable); error != AXError::success) return error;
    if (!settable) return AXError::attributeUnsupported;
    if (id.kind == Kind::window) return writeWindowAttribute(data, id.window, name, value);
    const auto* flag = std::get_if<bool>(&value);
    if (flag == nullptr) return AXError::illegalArgument;
    if (name == attribute::enhancedUserInterface) {
        applicationOrThrow(data, id.pid).enhancedUserInterface = *flag;
        return AXError::success;
    }
    if (*flag && !activateApplication(data, Actor::host(), id.pid)) return AXError::cannotComplete;
    return AXError::success;
}

AXError performAction(HostData& data, const AXElementIdentity& id, std::string_view name) {
    if (const auto error = checkElement(data, id); error != AXError::success) return error;
    switch (id.kind) {
        case Kind::window:
            if (name != action::raise) return AXError::actionUnsupported;
            raiseWindow(data, id.window);
            return AXError::success;
        case Kind::closeButton:
        case Kind::minimizeButton:
        case Kind::zoomButton: {
            if (name != action::press) return AXError::actionUnsupported;
            if (buttonState(*windowOf(data, id), id.kind) != ButtonState::enabled) return AXError::failure;
            if (id.kind == Kind::closeButton) removeWindow(data, id.window);
            if (id.kind == Kind::minimizeButton) minimiseWindow(data, id.window, true);
            if (id.kind == Kind::zoomButton) zoomWindow(data, id.window);
            return AXError::success;
        }
        case Kind::menuBarItem:
            return name == action::press ? AXError::success : AXError::actionUnsupported;
        case Kind::menuItem: {
            if (name != action::press) return AXError::actionUnsupported;
            const auto* item = menuItemOf(data, id);
            if (!item->enabled) return AXError::failure;
            const auto* application = data.windows().application(id.pid);
            const auto target = application ? (application->focusedWindow ? application->focusedWindow
                                                                          : application->mainWindow)
                                            : std::nullopt;
            if (!target) return AXError::success;
            if (isZoomItemTitle(item->title)) zoomWindow(data, *target);
            if (isMinimiseItemTitle(item->title)) minimiseWindow(data, *target, true);
            return AXError::success;
        }
        default: return AXError::actionUnsupported;
    }
}

bool isZoomItemTitle(std::string_view title) {
    return std::find(kZoomTitles.begin(), kZoomTitles.end(), title) != kZoomTitles.end();
}

bool isMinimiseItemTitle(std::string_view title) {
    return std::find(kMinimiseTitles.begin(), kMinimiseTitles.end(), title) != kMinimiseTitles.end();
}

}  // namespace dorvane::host
