#pragma once

namespace dorvane::accessibility {

// Whether this process may drive other applications through Accessibility.
class ProcessTrust {
public:
    virtual ~ProcessTrust() = default;
    virtual bool isProcessTrusted() = 0;
};

// Until the simulated windows record the permission, the process is never trusted.
class UntrustedProcess final : public ProcessTrust {
public:
    bool isProcessTrusted() override { return false; }
};

}  // namespace dorvane::accessibility
