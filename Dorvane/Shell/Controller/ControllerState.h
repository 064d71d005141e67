#pragma once

#include <cstdint>

#include "Dorvane/Engine/EngineStatus.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "DorvaneCore/Settings/Preferences.h"

namespace dorvane::shell {

// What the application controller's owner objects share: the settings in effect, the
// resolution being adjusted, the status the menu shows and the busy flags. The
// controller owns it; main thread only.
struct ControllerState {
    Preferences preferences;
    ResolutionAdjustment adjustment;
    EngineStatus status;
    bool applying = false;
    bool terminating = false;
    bool copySaved = false;
    // Moves on with every display operation and at a quit: a result of an older one is dropped.
    std::int64_t applyGeneration = 0;

    bool busy() const { return applying || terminating; }
};

}  // namespace dorvane::shell
