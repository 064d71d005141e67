#include "Dorvane/Shell/StatusMenu.h"

namespace dorvane::StatusMenu {

std::vector<statusbar::MenuEntry> entries() {
    auto entry = [](std::string_view title) { return statusbar::MenuEntry{std::string(title), true, false, false}; };
    return {entry(toolbarTitle), entry(restoreTitle),  statusbar::MenuEntry::separatorLine(),
            entry(settingsTitle), entry(updatesTitle), statusbar::MenuEntry::separatorLine(),
            entry(quitTitle)};
}

std::string imageName(bool active, bool artworkAvailable) {
    if (artworkAvailable) return std::string(active ? activeImage : idleImage);
    return std::string(active ? activeSymbol : idleSymbol);
}

std::string tooltip(std::string_view statusTitle) { return "Corvelle · " + std::string(statusTitle); }

}  // namespace dorvane::StatusMenu
