#include "DorvaneCore/Toolbar/ToolbarButtonFace.h"

#include "DorvaneCore/Toolbar/ConfiguredOperation.h"

namespace dorvane {

namespace {

ToolbarButtonFace fixed(std::string identifier, std::string_view symbol, std::string_view name) {
    return ToolbarButtonFace{std::move(identifier), std::string(symbol), std::string(name)};
}

}  // namespace

ToolbarButtonFace ToolbarButtonFace::grip() { return fixed("", "line.3.horizontal", "移动快捷操作"); }

ToolbarButtonFace ToolbarButtonFace::resolution() {
    return fixed("persistent:resolution", dorvane::symbol(FloatingAction::resolution), "分辨率");
}

ToolbarButtonFace ToolbarButtonFace::settings() {
    return fixed("persistent:settings", dorvane::symbol(FloatingAction::settings), "设置");
}

ToolbarButtonFace ToolbarButtonFace::restore() {
    return fixed("persistent:restoreDisplay", dorvane::symbol(FloatingAction::restoreDisplay), "重置");
}

ToolbarButtonFace ToolbarButtonFace::window() { return fixed("persistent:window", "rectangle.split.2x2", "布局"); }

ToolbarButtonFace ToolbarButtonFace::collapse(ToolbarSide side) {
    return fixed("persistent:collapse", collapseSymbol(side), "收起快捷操作");
}

ToolbarButtonFace ToolbarButtonFace::handle() {
    ToolbarButtonFace face = fixed("", "macbook.and.iphone", "展开快捷操作");
    face.largeIcon = true;
    return face;
}

ToolbarButtonFace ToolbarButtonFace::application(const std::optional<std::string>& localizedName) {
    const std::string_view name = localizedName && !localizedName->empty() ? std::string_view(*localizedName) : "应用";
    ToolbarButtonFace face = fixed("persistent:applicationShortcuts", "app", name);
    face.largeIcon = true;
    return face;
}

ToolbarButtonFace ToolbarButtonFace::action(FloatingAction action, const std::map<std::string, std::string>& icons,
                                            bool frontWindowFilled) {
    ToolbarButtonFace face{ConfiguredOperation::builtinID(action), std::string(dorvane::symbol(action)),
                           std::string(dorvane::title(action)), true};
    if (action == FloatingAction::fillWindow && frontWindowFilled) {
        face.symbol = restoreFillSymbol;
        face.name = restoreFillTitle;
    } else if (const auto icon = icons.find(std::string(rawValue(action))); icon != icons.end()) {
        face.symbol = icon->second;
    }
    return face;
}

ToolbarButtonFace ToolbarButtonFace::shortcut(const NamedShortcut& shortcut) {
    return ToolbarButtonFace{ConfiguredOperation::shortcutID(shortcut.id), std::string(rawValue(shortcut.icon)),
                             shortcut.name, true};
}

}  // namespace dorvane
