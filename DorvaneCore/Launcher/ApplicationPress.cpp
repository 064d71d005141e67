#include "DorvaneCore/Launcher/ApplicationPress.h"

namespace dorvane {

bool ApplicationPress::update(double elapsed, double distance, bool inside) {
    if (!inside || !(distance <= movementLimit)) {
        cancelled = true;
        return false;
    }
    if (cancelled || previewed || elapsed < previewDelay) return false;
    previewed = true;
    return true;
}

}  // namespace dorvane
