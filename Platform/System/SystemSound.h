#pragma once

namespace dorvane::system {

// The system's alert sound.
class SystemSound {
public:
    virtual ~SystemSound() = default;
    virtual void beep() = 0;
};

}  // namespace dorvane::system
