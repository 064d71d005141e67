#pragma once

namespace dorvane::displays {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle in points. Display bounds and screen frames are in the global top-left
// space (y grows downwards, the main display's top-left corner is the origin).
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Converts between the top-left screen space and the windowing toolkit's bottom-left
// space. `primaryHeight` is the height that both spaces flip around: the maximum y of
// the first screen of the screen list. The conversion is its own inverse.
constexpr Rect flippedVertically(const Rect& rect, double primaryHeight) {
    return Rect{rect.x, primaryHeight - rect.y - rect.height, rect.width, rect.height};
}

}  // namespace dorvane::displays
