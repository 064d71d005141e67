#pragma once

#include <functional>
#include <string_view>

namespace dorvane {

class ShortcutPermissions;

namespace dispatch {
class Executor;
class MainQueue;
}  // namespace dispatch
namespace displays {
class ScreenServices;
}  // namespace displays
namespace events {
class EventServices;
}  // namespace events
namespace workspace {
class InstalledApplications;
class WorkspaceEvents;
}  // namespace workspace

// What the editors need of the program besides the panel model. Each may be missing where
// the views are only drawn (pictures, measurements); all outlive the views.
struct EditorServices {
    displays::ScreenServices* screens = nullptr;  // the main screen limits the editor's height
    // The recording field's key events and permission; either missing: keys are composed
    // by hand only. Recording runs on `mainQueue`.
    events::EventServices* events = nullptr;
    ShortcutPermissions* permissions = nullptr;
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
