#include <gtest/gtest.h>

#include <limits>

#include "DorvaneCore/Visual/ScrollThumb.h"

namespace dorvane {
namespace {

// The thumb is the visible share of the track, runs from the start at the top of the
// content to the end at its bottom, and a drag maps back onto the same values.
TEST(ScrollThumb, IsTheVisibleShareAndPlacedByTheValue) {
    // 300 of 1200 points visible: a quarter of a 400-point track.
    EXPECT_EQ(ScrollThumb::of(400, 0, 900, 300, 0), (ScrollThumb{0, 100}));
    EXPECT_EQ(ScrollThumb::of(400, 0, 900, 300, 900), (ScrollThumb{300, 100}));
    EXPECT_EQ(ScrollThumb::of(400, 0, 900, 300, 450), (ScrollThumb{150, 100}));
    // Out-of-range values stay on the track.
    EXPECT_EQ(ScrollThumb::of(400, 0, 900, 300, 5000), (ScrollThumb{300, 100}));
    EXPECT_EQ(ScrollThumb::of(400, 0, 900, 300, -10), (ScrollThumb{0, 100}));
    // Long content: never shorter than the minimum, and it still reaches the end.
    EXPECT_EQ(ScrollThumb::of(400, 0, 100000, 100, 100000), (ScrollThumb{376, 24}));
    // Nothing to scroll, or no track: no thumb.
    EXPECT_EQ(ScrollThumb::of(400, 0, 0, 300, 0), ScrollThumb{});
    EXPECT_EQ(ScrollThumb::of(0, 0, 900, 300, 0), ScrollThumb{});
    EXPECT_EQ(ScrollThumb::of(std::numeric_limits<double>::quiet_NaN(), 0, 900, 300, 0), ScrollThumb{});
    // A track shorter than the minimum: the thumb fills it.
    EXPECT_EQ(ScrollThumb::of(10, 0, 900, 300, 450), (ScrollThumb{0, 10}));

    for (const int value : {0, 1, 450, 899, 900}) {
        const ScrollThumb thumb = ScrollThumb::of(400, 0, 900, 300, value);
        EXPECT_EQ(ScrollThumb::valueAt(thumb.offset, 400, 0, 900, 300), value);
    }
    EXPECT_EQ(ScrollThumb::valueAt(-50, 400, 0, 900, 300), 0);
    EXPECT_EQ(ScrollThumb::valueAt(1000, 400, 0, 900, 300), 900);
    EXPECT_EQ(ScrollThumb::valueAt(150, 400, 100, 1000, 300), 550);
    EXPECT_EQ(ScrollThumb::valueAt(150, 400, 0, 0, 300), 0);
    EXPECT_EQ(ScrollThumb::valueAt(5, 10, 0, 900, 300), 0);
}

}  // namespace
}  // namespace dorvane
