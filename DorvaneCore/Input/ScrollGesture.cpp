#include "DorvaneCore/Input/ScrollGesture.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

constexpr double kSmallestFrame = 0.5;

// The whole part of `sum` for this event; the fraction stays in `remainder`.
std::int32_t takeWhole(double sum, double& remainder) {
    if (!std::isfinite(sum)) {
        remainder = 0;
        return 0;
    }
    const double whole = std::trunc(sum);
    remainder = sum - whole;
    const double limit = ScrollGesture::maximumDelta;
    return static_cast<std::int32_t>(std::clamp(whole, -limit, limit));
}

}  // namespace

void ScrollGesture::reset() {
    samples.clear();
    remainderX = 0;
    remainderY = 0;
}

ScrollGesture::Delta ScrollGesture::record(double dx, double dy, double at) {
    samples.push_back({at, dx, dy});
    std::erase_if(samples, [at](const Sample& sample) { return at - sample.time > velocityWindow; });
    return quantize(dx, dy);
}

ScrollGesture::Delta ScrollGesture::quantize(double dx, double dy) {
    Delta delta;
    delta.horizontal = takeWhole(dx + remainderX, remainderX);
    delta.vertical = takeWhole(dy + remainderY, remainderY);
    return delta;
}

ScrollGesture::Vector ScrollGesture::velocity(double at) const {
    const Sample* oldest = nullptr;
    std::size_t count = 0;
    Vector sum;
    for (const auto& sample : samples) {
        if (at - sample.time > velocityWindow) continue;
        if (oldest == nullptr) oldest = &sample;
        ++count;
        sum.dx += sample.dx;
        sum.dy += sample.dy;
    }
    if (count < 2) return {};
    const double span = std::max(at - oldest->time, 1.0 / 120);
    return {sum.dx / span, sum.dy / span};
}

std::vector<ScrollGesture::Vector> ScrollGesture::momentum(Vector velocity, double frameRate, double decay,
                                                          double minimumSpeed, std::size_t limit) {
    std::vector<Vector> frames;
    if (std::hypot(velocity.dx, velocity.dy) < minimumSpeed) return frames;
    Vector step{velocity.dx / frameRate, velocity.dy / frameRate};
    while (frames.size() < limit && std::hypot(step.dx, step.dy) >= kSmallestFrame) {
        frames.push_back(step);
        step.dx *= decay;
        step.dy *= decay;
    }
    return frames;
}

}  // namespace dorvane
