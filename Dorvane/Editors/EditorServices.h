#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

class QWidget;

namespace dorvane {

namespace dispatch {
class Executor;
class MainQueue;
}  // namespace dispatch
namespace displays {
class ScreenServices;
}  // namespace displays
namespace workspace {
class InstalledApplications;
class WorkspaceEvents;
}  // namespace workspace

// The shortcut editor's key as the recording field sees it: what the editor holds now,
// and how a recorded key is stored into it.
struct KeyRecorderBinding {
    std::function<std::optional<ShortcutKey>()> get;
    std::function<void(const ShortcutKey&)> set;
};

// A recording field made for one editor: the widget (owned by the parent it was made
// with) and how to show the binding's key again after the editor changed it.
struct KeyRecorder {
    QWidget* widget = nullptr;
    std::function<void()> refresh;
};
using MakeKeyRecorder = std::function<KeyRecorder(KeyRecorderBinding binding, QWidget* parent)>;

// What the editors need of the program besides the panel model. Each may be missing where
// the views are only drawn (pictures, measurements); all outlive the views.
struct EditorServices {
    displays::ScreenServices* screens = nullptr;  // the main screen limits the editor's height
    MakeKeyRecorder makeRecorder;                 // none: keys are composed by hand only
    // The installed-application picker: the running copies come first, the folders are
    // read on `scanQueue`, and the result lands on `mainQueue`.
    workspace::WorkspaceEvents* runningApplications = nullptr;
    workspace::InstalledApplications* installedApplications = nullptr;
    dispatch::MainQueue* mainQueue = nullptr;
    dispatch::Executor* scanQueue = nullptr;
    // The operations log; none: the program's own.
    std::function<void(std::string_view)> log;
};

}  // namespace dorvane
