#pragma once

#include <string>

namespace dorvane {

// One application as the launcher lists it.
struct LauncherApp {
    std::string id;    // the application identifier: bundle identifier, else the bundle's path
    std::string path;  // the bundle, in platform form ("/Applications/B.app")
    std::string name;  // as the user sees it
    bool running = false;

    // Tooltip and accessible name of its tile.
    std::string tileLabel() const { return running ? name + "（正在运行）" : name; }
    // Its tile's element in the pointer-hover registry.
    std::string hoverID() const { return "app:" + id; }

    friend bool operator==(const LauncherApp&, const LauncherApp&) = default;
};

}  // namespace dorvane
