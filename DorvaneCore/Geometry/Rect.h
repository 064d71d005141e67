#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvane::geometry {

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

// Lengths that stand for room or a size: one that is not finite counts as one
// point, so that arithmetic on it stays finite and converts safely to integers.
inline double finiteLength(double length) { return std::isfinite(length) ? length : 1.0; }
// The same, and below one point counts as one.
inline double atLeastOnePoint(double length) { return std::max(finiteLength(length), 1.0); }

// A rectangle in points, with the host platform's rectangle rules: a distinguished
// null rectangle (the answer of an intersection that shares no area), an infinite
// rectangle, negative sizes read as extending the other way (every accessor
// standardises), half-open containment and an integral hull. The space (top-left or
// bottom-left) is the caller's; nothing here flips y.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    constexpr Rect() = default;
    constexpr Rect(double x, double y, double width, double height) : x(x), y(y), width(width), height(height) {}
    constexpr Rect(Point origin, Size size) : x(origin.x), y(origin.y), width(size.width), height(size.height) {}

    static constexpr Rect null() {
        return Rect{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 0, 0};
    }
    static constexpr Rect infinite() {
        constexpr double half = std::numeric_limits<double>::max() / 2;
        return Rect{-half, -half, std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    }

    constexpr bool isNull() const {
        return x == std::numeric_limits<double>::infinity() || y == std::numeric_limits<double>::infinity();
    }
    constexpr bool isInfinite() const { return *this == infinite(); }
    // Null, or no area.
    constexpr bool isEmpty() const { return isNull() || width == 0 || height == 0; }

    constexpr Point origin() const { return {x, y}; }
    constexpr Size size() const { return {width, height}; }

    constexpr double minX() const { return width < 0 ? x + width : x; }
    constexpr double minY() const { return height < 0 ? y + height : y; }
    constexpr double maxX() const { return width < 0 ? x : x + width; }
    constexpr double maxY() const { return height < 0 ? y : y + height; }
    constexpr double midX() const { return minX() + std::abs(width) / 2; }
    constexpr double midY() const { return minY() + std::abs(height) / 2; }
    constexpr Point mid() const { return {midX(), midY()}; }

    constexpr Rect standardized() const {
        if (isNull()) return *this;
        return Rect{minX(), minY(), std::abs(width), std::abs(height)};
    }

    // The smallest rectangle with integral origin and size that contains this one.
    Rect integral() const {
        if (isNull()) return *this;
        const double left = std::floor(minX());
        const double top = std::floor(minY());
        const double right = std::ceil(maxX());
        const double bottom = std::ceil(maxY());
        return Rect{left, top, right - left, bottom - top};
    }

    // Null unless the two share some area: rectangles whose edges only touch do not
    // intersect.
    constexpr Rect intersection(const Rect& other) const {
        if (isNull() || other.isNull()) return null();
        const double left = std::max(minX(), other.minX());
        const double top = std::max(minY(), other.minY());
        const double right = std::min(maxX(), other.maxX());
        const double bottom = std::min(maxY(), other.maxY());
        if (right <= left || bottom <= top) return null();
        return Rect{left, top, right - left, bottom - top};
    }
    constexpr bool intersects(const Rect& other) const { return !intersection(other).isNull(); }

    constexpr Rect united(const Rect& other) const {
        if (isNull()) return other.standardized();
        if (other.isNull()) return standardized();
        const double left = std::min(minX(), other.minX());
        const double top = std::min(minY(), other.minY());
        const double right = std::max(maxX(), other.maxX());
        const double bottom = std::max(maxY(), other.maxY());
        return Rect{left, top, right - left, bottom - top};
    }

    // The minimum edges are inside, the maximum edges outside.
    constexpr bool contains(Point point) const {
        if (isEmpty()) return false;
        return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
    }
    constexpr bool contains(const Rect& other) const {
        if (isNull() || other.isNull()) return false;
        return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() &&
               other.maxY() <= maxY();
    }

    constexpr Rect offsetBy(double dx, double dy) const {
        if (isNull()) return *this;
        return Rect{x + dx, y + dy, width, height};
    }
    // Shrinks each side by dx or dy (grows for negative values); null when nothing is left.
    constexpr Rect insetBy(double dx, double dy) const {
        if (isNull()) return *this;
        const Rect r = standardized();
        const double w = r.width - 2 * dx;
        const double h = r.height - 2 * dy;
        if (w < 0 || h < 0) return null();
        return Rect{r.x + dx, r.y + dy, w, h};
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// Moves a rectangle between the top-left space and the bottom-left space that flip
// around `flipHeight`; the conversion is its own inverse.
constexpr Rect flippedVertically(const Rect& rect, double flipHeight) {
    if (rect.isNull()) return rect;
    return Rect{rect.minX(), flipHeight - rect.maxY(), std::abs(rect.width), std::abs(rect.height)};
}

}  // namespace dorvane::geometry
