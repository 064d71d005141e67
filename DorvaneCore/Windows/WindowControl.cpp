#include "DorvaneCore/Windows/WindowControl.h"

namespace dorvane::windows {

std::string_view title(WindowControl control) {
    switch (control) {
        case WindowControl::close: return "关闭";
        case WindowControl::minimize: return "最小化";
        case WindowControl::fullScreen: return "全屏";
    }
    return {};
}

std::string_view glyph(WindowControl control) {
    switch (control) {
        case WindowControl::close: return "xmark";
        case WindowControl::minimize: return "minus";
        case WindowControl::fullScreen: return "arrow.up.left.and.arrow.down.right";
    }
    return {};
}

ControlColor rgb(WindowControl control) {
    switch (control) {
        case WindowControl::close: return {1.0, 0.373, 0.341};
        case WindowControl::minimize: return {0.996, 0.737, 0.18};
        case WindowControl::fullScreen: return {0.157, 0.784, 0.251};
    }
    return {};
}

std::string_view unavailableMessage(WindowControl control) {
    switch (control) {
        case WindowControl::close: return "当前窗口不能关闭";
        case WindowControl::minimize: return "当前窗口不能最小化";
        case WindowControl::fullScreen: return "当前窗口不支持全屏或缩放";
    }
    return {};
}

}  // namespace dorvane::windows
