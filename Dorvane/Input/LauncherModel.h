#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Launcher/LauncherApp.h"
#include "DorvaneCore/Launcher/LauncherSections.h"
#include "DorvaneCore/Launcher/RecentApplications.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::input {

// What the launcher panel shows, and its way back to the launcher. Main thread only.
// The view draws from this alone, re-renders after every change it is told of, and
// calls back only through `open` and `close`. AppLauncher owns and writes it.
class LauncherModel {
public:
    // Where a bundle's icon image is on disk (it may be missing: the view then draws its
    // placeholder). The view decodes it when it first paints the tile.
    using IconLocator = std::function<std::filesystem::path(const std::string& bundlePath)>;

    LauncherModel();

    // Every entry in launcher order, as the last scan found it.
    const std::vector<LauncherApp>& apps() const { return apps_; }
    const RecentApplications& recent() const { return recent_; }
    // The toolbar edge the panel is attached to; on the right, rows fill from the right.
    ToolbarSide side() const { return side_; }
    // Changes with every showing of the panel: the view then forgets its previewed and pressed tiles.
    std::uint64_t presentationID() const { return presentationID_; }
    // The text of the last failed launch, shown as a banner above the sections.
    const std::optional<std::string>& error() const { return error_; }
    // From a tap until its launch has finished: every tile is disabled.
    bool launching() const { return launching_; }

    // "最近", "运行中", "全部" as they stand now, each entry listed once; none when
    // nothing was found (the view then says "未找到已安装的应用").
    std::vector<LauncherSection> sections() const;
    // The grid cells the panel makes room for.
    std::size_t cellCount() const;
    std::filesystem::path iconFile(const LauncherApp& app) const;

    // Calls `changed` on the main thread after any of the values above changed.
    dispatch::Observation observe(std::function<void()> changed);

    // Set by the launcher; they do nothing until then.
    std::function<void(const LauncherApp&)> open;  // a tile was tapped
    std::function<void()> close;                   // the view asks to close (Escape)
    std::function<void()> layoutChanged;           // something that sizes the panel changed

    // The launcher's writes; each tells the observers when the value changed.
    void setApps(std::vector<LauncherApp> apps);
    void setRecent(RecentApplications recent);
    void setSide(ToolbarSide side);
    void setPresentationID(std::uint64_t id);
    void setError(std::optional<std::string> error);
    void setLaunching(bool launching);
    void setIconLocator(IconLocator locator) { iconLocator_ = std::move(locator); }

private:
    struct Observers;
    void changed();

    std::vector<LauncherApp> apps_;
    RecentApplications recent_;
    ToolbarSide side_ = ToolbarSide::right;
    std::uint64_t presentationID_ = 0;
    std::optional<std::string> error_;
    bool launching_ = false;
    IconLocator iconLocator_;
    std::shared_ptr<Observers> observers_;
};

}  // namespace dorvane::input
