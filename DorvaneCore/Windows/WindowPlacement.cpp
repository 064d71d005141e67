#include "DorvaneCore/Windows/WindowPlacement.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Windows/WindowLayout.h"

namespace dorvane::windows::WindowPlacement {

namespace {

constexpr double tolerance = WindowLayout::settleTolerance;

// One axis of the re-aligned frame: at the area edge the target touched, else centred on
// the target, then kept inside the area.
double alignedStart(double targetMin, double targetMax, double areaMin, double areaMax, double length) {
    double start = 0;
    if (std::abs(targetMin - areaMin) <= tolerance) {
        start = areaMin;
    } else if (std::abs(targetMax - areaMax) <= tolerance) {
        start = areaMax - length;
    } else {
        start = (targetMin + targetMax - length) * 0.5;
    }
    return std::min(areaMax - length, std::max(areaMin, start));
}

}  // namespace

std::optional<Rect> constrainedFrame(const Rect& actual, const Rect& target, const Rect& area) {
    const Rect& r = actual;
    const Rect& t = target;
    const Rect& a = area;
    if (r.isNull() || r.isInfinite()) return std::nullopt;
    if (r.width <= 0 || r.height <= 0 || t.width <= 0 || t.height <= 0) return std::nullopt;
    if (!(r.width > t.width + tolerance || r.height > t.height + tolerance)) return std::nullopt;
    if (r.width > a.width + tolerance || r.height > a.height + tolerance) return std::nullopt;
    const double allowance = WindowLayout::sizeRoundingAllowance;
    if (r.width < t.width - allowance || r.height < t.height - allowance) return std::nullopt;
    // A target narrower than the area that the window spans anyway is not re-aligned.
    if (t.width < a.width - tolerance && r.width >= a.width - tolerance) return std::nullopt;
    if (t.height < a.height - tolerance && r.height >= a.height - tolerance) return std::nullopt;

    const double x = alignedStart(t.minX(), t.maxX(), a.minX(), a.maxX(), r.width);
    const double y = alignedStart(t.minY(), t.maxY(), a.minY(), a.maxY(), r.height);
    // The application put the window somewhere else entirely.
    if (std::abs(r.minX() - t.minX()) > tolerance && std::abs(r.minX() - x) > tolerance) return std::nullopt;
    if (std::abs(r.minY() - t.minY()) > tolerance && std::abs(r.minY() - y) > tolerance) return std::nullopt;
    return Rect{x, y, r.width, r.height};
}

}  // namespace dorvane::windows::WindowPlacement
