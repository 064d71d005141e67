#pragma once

#include <functional>
#include <memory>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// The small floating panel of the permission guide: the program's icon and name to drag
// into the Accessibility list, and a close button. It never takes the focus.
class PermissionGuidePanel {
public:
    virtual ~PermissionGuidePanel() = default;

    // Its frame in the toolkit's bottom-left screen space.
    virtual void setFrame(const geometry::Rect& frame) = 0;
    // Shows it in front without activating the program.
    virtual void orderFrontRegardless() = 0;
    virtual void orderOut() = 0;
    // True while its row is being dragged.
    virtual bool ignoresMouseEvents() const = 0;
};

// What the guide needs of the toolkit.
class PermissionGuideUI {
public:
    virtual ~PermissionGuideUI() = default;

    // A hidden panel; its close button calls `close`, the end of a drag of its row calls
    // `dragEnded`.
    virtual std::unique_ptr<PermissionGuidePanel> makePanel(std::function<void()> close,
                                                            std::function<void()> dragEnded) = 0;
    // The program comes to the front and its window titled "设置", if any, becomes key.
    virtual void activateProgram() = 0;
};

}  // namespace dorvane
