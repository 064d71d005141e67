#include "DorvaneCore/Visual/OverflowEdgeFade.h"

namespace dorvane {

OverflowEdgeFade OverflowEdgeFade::forScroll(double offset, double contentHeight, double containerHeight) {
    // Half a point of slack so that rounding at either end shows no fade.
    return OverflowEdgeFade{offset > 0.5, offset < contentHeight - containerHeight - 0.5};
}

}  // namespace dorvane
