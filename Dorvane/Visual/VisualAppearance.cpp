#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

VisualAppearance& VisualAppearance::shared() {
    // Lives for the whole program, like the views that read it; never destroyed, so no
    // view outlives it at exit.
    static VisualAppearance* appearance = new VisualAppearance;
    return *appearance;
}

void VisualAppearance::set(bool dark, bool reduceMotion) {
    if (dark == dark_ && reduceMotion == reduceMotion_) return;
    dark_ = dark;
    reduceMotion_ = reduceMotion;
    Q_EMIT changed();
}

}  // namespace dorvane
