#include "DorvaneCore/Toolbar/FloatingAction.h"

#include <algorithm>

namespace dorvane {

bool isPersistent(FloatingAction action) {
    return std::ranges::find(persistentFloatingActions, action) != persistentFloatingActions.end();
}

std::string_view title(FloatingAction action) {
    switch (action) {
        case FloatingAction::runningApplications: return "应用";
        case FloatingAction::resolution: return "分辨率";
        case FloatingAction::restoreDisplay: return "还原";
        case FloatingAction::settings: return "设置";
        case FloatingAction::maximizeWindow: return "最大化";
        case FloatingAction::centerWindow: return "窗口居中";
        case FloatingAction::fillWindow: return "铺满";
        case FloatingAction::minimizeWindow: return "最小化";
    }
    return {};
}

std::string_view symbol(FloatingAction action) {
    switch (action) {
        case FloatingAction::runningApplications: return "square.grid.2x2";
        case FloatingAction::resolution: return "display.2";
        case FloatingAction::restoreDisplay: return "arrow.uturn.backward.circle";
        case FloatingAction::settings: return "gearshape";
        case FloatingAction::maximizeWindow: return "arrow.up.left.and.arrow.down.right";
        case FloatingAction::centerWindow: return "macwindow";
        case FloatingAction::fillWindow: return "arrow.up.left.and.arrow.down.right.square";
        case FloatingAction::minimizeWindow: return "minus.rectangle";
    }
    return {};
}

}  // namespace dorvane
