#pragma once

#include <optional>
#include <string>

#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane::shell {

// The one transient notice panel.
class NoticeDisplay {
public:
    virtual ~NoticeDisplay() = default;
    // Shows the notice centred in `area` (a toolkit frame), replacing any shown one.
    virtual void show(const std::string& title, const std::optional<std::string>& detail, geometry::Rect area) = 0;
    // Cancels its lifetime, orders the panel out and drops its content.
    virtual void dismiss() = 0;
};

class NullNoticeDisplay final : public NoticeDisplay {
public:
    void show(const std::string&, const std::optional<std::string>&, geometry::Rect) override {}
    void dismiss() override {}
};

}  // namespace dorvane::shell
