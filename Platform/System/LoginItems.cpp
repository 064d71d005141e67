#include "Platform/System/LoginItems.h"

#include <cstdlib>
#include <fstream>

namespace dorvane::system {

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

}  // namespace

std::filesystem::path XdgAutostartLoginItems::entryPath(const std::optional<std::string>& xdgConfigHome,
                                                        const std::optional<std::string>& home) {
    std::filesystem::path config;
    if (xdgConfigHome && !xdgConfigHome->empty()) {
        config = *xdgConfigHome;
    } else {
        config = std::filesystem::path(home && !home->empty() ? *home : "/") / ".config";
    }
    return config / "autostart" / fileName;
}

XdgAutostartLoginItems XdgAutostartLoginItems::fromEnvironment() {
    return XdgAutostartLoginItems(entryPath(variable("XDG_CONFIG_HOME"), variable("HOME")));
}

LoginItemStatus XdgAutostartLoginItems::status() {
    std::ifstream file(entry_);
    if (!file) return LoginItemStatus::notRegistered;
    for (std::string line; std::getline(file, line);) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return LoginItemStatus::notRegistered;
    }
    return LoginItemStatus::enabled;
}

}  // namespace dorvane::system
