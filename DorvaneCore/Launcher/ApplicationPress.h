#pragma once

namespace dorvane {

// How one press on a launcher tile turns out: a long still press previews the
// application's name, a short one launches it, and leaving the tile or moving too
// far cancels both for good.
struct ApplicationPress {
    static constexpr double previewDelay = 0.45;  // seconds
    static constexpr double movementLimit = 10;   // points from the press's start

    bool previewed = false;
    bool cancelled = false;

    // Feeds the press's course so far; true exactly when the preview fires now.
    bool update(double elapsed, double distance, bool inside);

    // Whether a release at a point inside (or outside) the tile launches.
    bool shouldLaunch(bool inside) const { return inside && !previewed && !cancelled; }
};

}  // namespace dorvane
