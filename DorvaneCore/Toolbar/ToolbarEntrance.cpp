#include "DorvaneCore/Toolbar/ToolbarEntrance.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

constexpr double startScale = 0.86;
constexpr double overshootScale = 1.035;
// The part of the animation spent reaching the overshoot.
constexpr double overshootAt = 0.72;
constexpr double slide = 10;
constexpr double startOpacity = 0.3;

// A timing curve through (0, 0), (x1, y1), (x2, y2), (1, 1): the eased value at
// time fraction `t`. The curve's x is monotonic, so bisection finds the point.
double bezierEase(double x1, double y1, double x2, double y2, double t) {
    const auto at = [](double a, double b, double s) {
        const double r = 1 - s;
        return 3 * r * r * s * a + 3 * r * s * s * b + s * s * s;
    };
    double low = 0;
    double high = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (low + high) / 2;
        (at(x1, x2, mid) < t ? low : high) = mid;
    }
    return at(y1, y2, (low + high) / 2);
}

double easeOut(double t) { return bezierEase(0, 0, 0.58, 1, t); }
double easeInOut(double t) { return bezierEase(0.42, 0, 0.58, 1, t); }

}  // namespace

std::vector<ToolbarEntrance::Item> ToolbarEntrance::order(bool windowButton, bool applicationButton,
                                                          int stripButtonCount) {
    std::vector<Item> items;
    const auto add = [&items](Button button, int stripIndex) {
        const double delay = std::min(static_cast<double>(items.size()) * stagger, maximumDelay);
        items.push_back(Item{button, stripIndex, delay});
    };
    if (windowButton) add(Button::window, -1);
    if (applicationButton) add(Button::application, -1);
    for (Button button : {Button::resolution, Button::settings, Button::collapse}) add(button, -1);
    for (int i = 0; i < stripButtonCount; ++i) add(Button::strip, i);
    return items;
}

ToolbarEntrance::State ToolbarEntrance::state(double elapsed, double delay, ToolbarSide side) {
    const double t = std::max(elapsed - delay, 0.0);
    if (!(t < duration)) return State{};
    // The start transform moves, then scales: the slide shrinks with the button.
    const double startSlide = slide * startScale;
    double scale = overshootScale;
    double shift = 0;
    const double fraction = t / duration;
    if (fraction < overshootAt) {
        const double e = easeOut(fraction / overshootAt);
        scale = startScale + e * (overshootScale - startScale);
        shift = startSlide * (1 - e);
    } else {
        scale = overshootScale + easeInOut((fraction - overshootAt) / (1 - overshootAt)) * (1 - overshootScale);
    }
    // The button starts out towards the edge it docks to.
    State state;
    state.scale = scale;
    state.opacity = std::min(startOpacity + (1 - startOpacity) * t / fadeDuration, 1.0);
    switch (side) {
        case ToolbarSide::left: state.dx = -shift; break;
        case ToolbarSide::right: state.dx = shift; break;
        case ToolbarSide::top: state.dy = -shift; break;
        case ToolbarSide::bottom: state.dy = shift; break;
    }
    return state;
}

}  // namespace dorvane
