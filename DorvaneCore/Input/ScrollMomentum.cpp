#include "DorvaneCore/Input/ScrollMomentum.h"

#include <utility>

namespace dorvane {

std::optional<ScrollMomentum> ScrollMomentum::afterRelease(ScrollGesture::Vector velocity) {
    auto frames = ScrollGesture::momentum(velocity, frameRate, decay, minimumSpeed, frameLimit);
    if (frames.empty()) return std::nullopt;
    return ScrollMomentum(std::move(frames));
}

ScrollMomentum::ScrollMomentum(std::vector<ScrollGesture::Vector> frames) : frames_(std::move(frames)) {}

ScrollMomentum::Event ScrollMomentum::tick() {
    if (finished_ || next_ >= frames_.size()) return stop();
    const auto& frame = frames_[next_];
    const Phase phase = next_ == 0 ? Phase::began : Phase::changed;
    ++next_;
    return {phase, quantizer_.quantize(frame.dx, frame.dy)};
}

ScrollMomentum::Event ScrollMomentum::stop() {
    finished_ = true;
    return {Phase::ended, {}};
}

}  // namespace dorvane
