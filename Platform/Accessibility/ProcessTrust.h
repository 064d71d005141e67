#pragma once

namespace dorvane::accessibility {

// Whether this process may drive other applications through Accessibility: the part of
// AccessibilityServices that code which only asks this takes. Never throws.
class ProcessTrust {
public:
    virtual ~ProcessTrust() = default;
    virtual bool isProcessTrusted() = 0;
};

}  // namespace dorvane::accessibility
