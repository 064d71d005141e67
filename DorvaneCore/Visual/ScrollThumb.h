#pragma once

namespace dorvane {

// The thumb of a thin scroll bar along a track: as long as the visible share of the content
// (never shorter than `minimumLength`), placed by how far the content is scrolled, and the
// scroll value a thumb dragged to a place along the track stands for. Values run from
// `minimum` to `maximum`, `page` of them visible at once (a slider's range and page step).
struct ScrollThumb {
    double offset = 0;  // from the track's start
    double length = 0;

    static constexpr double defaultMinimumLength = 24;

    // None (length 0) while nothing can be scrolled.
    static ScrollThumb of(double trackLength, int minimum, int maximum, int page, int value,
                          double minimumLength = defaultMinimumLength);
    // The value whose thumb starts at `offset`, clamped to the range.
    static int valueAt(double offset, double trackLength, int minimum, int maximum, int page,
                       double minimumLength = defaultMinimumLength);

    friend constexpr bool operator==(const ScrollThumb&, const ScrollThumb&) = default;
};

}  // namespace dorvane
