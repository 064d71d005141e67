#include "Platform/Accessibility/AXElement.h"

#include <cmath>

namespace dorvane::accessibility {

AXElement::AXElement(AXElementIdentity identity) : shared_(std::make_shared<Shared>()) {
    shared_->identity = identity;
}

std::optional<double> AXElement::messagingTimeout() const {
    if (!shared_) return std::nullopt;
    const double seconds = shared_->timeout.load();
    if (seconds <= 0) return std::nullopt;
    return seconds;
}

void AXElement::setMessagingTimeout(std::optional<double> seconds) const {
    if (!shared_) return;
    shared_->timeout.store(seconds && std::isfinite(*seconds) && *seconds > 0 ? *seconds : 0);
}

std::size_t AXElement::hash() const {
    if (!shared_) return 0;
    // FNV-1a over the identity's fields: no addresses, so every process agrees.
    std::uint64_t value = 14695981039346656037ull;
    auto mix = [&value](std::uint64_t field) {
        for (int byte = 0; byte < 8; ++byte) {
            value ^= (field >> (byte * 8)) & 0xff;
            value *= 1099511628211ull;
        }
    };
    const auto& id = shared_->identity;
    mix(static_cast<std::uint64_t>(id.kind));
    mix(static_cast<std::uint64_t>(static_cast<std::uint32_t>(id.pid)));
    mix(id.window);
    mix(id.menu);
    mix(id.item);
    return static_cast<std::size_t>(value);
}

bool operator==(const AXElement& a, const AXElement& b) {
    if (!a.shared_ || !b.shared_) return !a.shared_ && !b.shared_;
    return a.shared_->identity == b.shared_->identity;
}

}  // namespace dorvane::accessibility
