#pragma once

#include <string_view>

#include "Platform/Accessibility/AXElement.h"
#include "Platform/Accessibility/AXError.h"
#include "Platform/Accessibility/AXValue.h"
#include "Platform/Host/State/HostData.h"

namespace dorvane::host {

// The elements of the simulated applications and what their attributes and actions do:
// an application (its windows, focused and main window, menu bar, enhanced user
// interface), its windows (frame, state, title-bar buttons), the buttons, the menu bar
// with its menus and items, and the system-wide element. Trust, answer times and fault
// rules are the caller's; these only answer for the host as it is at `data.now`.

// invalidElement when the element's application has quit or its window has closed.
accessibility::AXError checkElement(const HostData& data, const accessibility::AXElementIdentity& element);

accessibility::AXError copyAttribute(const HostData& data, const accessibility::AXElementIdentity& element,
                                     std::string_view attribute, accessibility::AXValue& value);
accessibility::AXError attributeSettable(const HostData& data, const accessibility::AXElementIdentity& element,
                                         std::string_view attribute, bool& settable);
accessibility::AXError setAttribute(HostData& data, const accessibility::AXElementIdentity& element,
                                    std::string_view attribute, const accessibility::AXValue& value);
accessibility::AXError performAction(HostData& data, const accessibility::AXElementIdentity& element,
                                     std::string_view action);

// Titles the Window menu and its Zoom and Minimise items go by.
bool isZoomItemTitle(std::string_view title);
bool isMinimiseItemTitle(std::string_view title);

}  // namespace dorvane::host
