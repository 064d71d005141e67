#include "Dorvane/Windows/AXReader.h"

#include "Platform/Accessibility/AXNames.h"

namespace dorvane::windows {

using accessibility::AXElement;
using accessibility::AXError;
using accessibility::AXValue;
namespace attribute = accessibility::attribute;

namespace {

template <typename T>
std::optional<T> typed(accessibility::AccessibilityServices& ax, const AXElement& of, std::string_view attribute) {
    AXValue value;
    if (ax.copyAttributeValue(of, attribute, value) != AXError::success) return std::nullopt;
    if (const auto* found = std::get_if<T>(&value)) return *found;
    return std::nullopt;
}

}  // namespace

AXElement AXReader::application(pid_t pid, double timeout) const {
    AXElement element = ax_.applicationElement(pid);
    setTimeout(element, timeout);
    return element;
}

void AXReader::setTimeout(const AXElement& element, double timeout) const { ax_.setMessagingTimeout(element, timeout); }

std::optional<AXElement> AXReader::element(const AXElement& of, std::string_view attribute) const {
    auto found = typed<AXElement>(ax_, of, attribute);
    if (found && !found->isValid()) return std::nullopt;
    return found;
}

std::optional<AXElement> AXReader::enabledButton(const AXElement& window, std::string_view attribute) const {
    auto button = element(window, attribute);
    if (button && boolean(*button, attribute::enabled) == false) return std::nullopt;
    return button;
}

std::vector<AXElement> AXReader::elements(const AXElement& of, std::string_view attribute) const {
    return typed<std::vector<AXElement>>(ax_, of, attribute).value_or(std::vector<AXElement>{});
}

std::optional<bool> AXReader::boolean(const AXElement& of, std::string_view attribute) const {
    return typed<bool>(ax_, of, attribute);
}

bool AXReader::isTrue(const AXElement& of, std::string_view attribute) const {
    return boolean(of, attribute) == true;
}

std::optional<std::string> AXReader::text(const AXElement& of, std::string_view attribute) const {
    return typed<std::string>(ax_, of, attribute);
}

bool AXReader::settable(const AXElement& of, std::string_view attribute) const {
    bool settable = false;
    return ax_.isAttributeSettable(of, attribute, settable) == AXError::success && settable;
}

std::optional<Rect> AXReader::frame(const AXElement& window) const {
    const auto position = typed<geometry::Point>(ax_, window, attribute::position);
    if (!position) return std::nullopt;
    const auto size = typed<geometry::Size>(ax_, window, attribute::size);
    if (!size) return std::nullopt;
    return Rect(*position, *size);
}

}  // namespace dorvane::windows
