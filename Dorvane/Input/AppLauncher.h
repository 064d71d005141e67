#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

#include "DorvaneCore/Visual/TextMeasurer.h"
#include "DorvaneCore/Launcher/LaunchCounts.h"
#include "DorvaneCore/Launcher/LauncherFiles.h"
#include "DorvaneCore/Support/LocalizedComparison.h"
#include "Dorvane/Input/LauncherModel.h"
#include "Dorvane/Input/LauncherPanel.h"
#include "Dorvane/ShellBase/Neighbours/LauncherControl.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"
#include "Platform/Workspace/InstalledApplications.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane::input {

// The application launcher beside the toolbar: it scans the installed and running
// applications into its model on every showing, launches or brings forward the one
// whose tile is tapped, and keeps which applications were launched how often
// ("app-usage.json") and which came to the front lately ("app-recent.json") in the
// support folder. It follows the workspace's activations from its creation on,
// whether the panel shows or not. Main thread only.
class AppLauncher final : public shell::LauncherControl {
public:
    // The grid columns the panel is at most as wide as.
    static constexpr int scrollingColumns = 6;

    struct Services {
        std::filesystem::path root;                // the support folder
        dispatch::MainQueue& mainQueue;
        dispatch::Executor* fileQueue = nullptr;   // writes the two files in order; none: a queue of its own
        workspace::ApplicationWorkspace& workspace;
        workspace::WorkspaceEvents& runningApplications;
        workspace::InstalledApplications& installed;
        displays::ScreenServices& screens;
        pid_t ownPID = 0;                          // this program, never recorded
        LauncherPanelFactory makePanel;            // none: this build shows no panel
        TextMeasurer measureText;                  // how the panel draws its messages; none: they set no width
    };

    // Loads both files, starts following activations and records the frontmost application.
    explicit AppLauncher(Services services);
    ~AppLauncher() override;
    AppLauncher(const AppLauncher&) = delete;
    AppLauncher& operator=(const AppLauncher&) = delete;

    LauncherModel& model() { return model_; }
    const LaunchCounts& usage() const { return usage_; }
    std::uint64_t presentationGeneration() const { return presentationGeneration_; }

    // The shell's side. `anchor` is the toolbar's toolkit frame; `screen` the one it is on.
    void setCallbacks(shell::LauncherCallbacks callbacks) override;
    // Rescans and shows the panel beside the anchor.
    void show(geometry::Rect anchor, const displays::Screen& screen, ToolbarSide side) override;
    // Moves a visible panel along (no rescan).
    void update(geometry::Rect anchor, const displays::Screen& screen, ToolbarSide side) override;
    bool panelVisible() const override;
    std::optional<geometry::Rect> panelFrame() const override;
    void orderPanelOut() override;
    void bumpPresentationGeneration() override;

    // Ends this showing: the panel goes and the shell hears of it.
    void hide();
    // The workspace says an application came to the front.
    void applicationActivated(const std::optional<workspace::RunningApplication>& application);
    // Scans the application folders and the running applications into the model, in launcher order.
    void refresh();

private:
    void updateFrame();
    geometry::Rect panelFrameFor(bool hasError) const;
    void open(const LauncherApp& app);
    void finishLaunch(const LauncherApp& app, std::uint64_t generation,
                      const workspace::OpenApplicationResult& result);
    void record(const workspace::RunningApplication& application);
    void record(const std::string& identifier);
    std::optional<std::string> identifierOf(const workspace::RunningApplication& application) const;
    void write(std::function<void(const LauncherFiles&)> save);

    Services services_;
    std::unique_ptr<dispatch::SerialQueue> ownFileQueue_;
    LauncherFiles files_;
    LauncherModel model_;
    std::unique_ptr<LauncherPanel> panel_;
    std::uint64_t presentationGeneration_ = 0;
    std::optional<geometry::Rect> anchor_;
    std::optional<displays::Screen> presentationScreen_;
    LaunchCounts usage_;
    text::LocalizedComparison compareNames_;
    shell::LauncherCallbacks callbacks_;
    dispatch::Observation activations_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane::input
