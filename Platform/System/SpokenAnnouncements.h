#pragma once

#include <string>

namespace dorvane::system {

// What the screen reader says aloud for the program (a notice that appeared, for one).
class SpokenAnnouncements {
public:
    virtual ~SpokenAnnouncements() = default;

    // Best effort: an announcement that cannot be made is dropped.
    virtual void announce(const std::string& text) = 0;
};

}  // namespace dorvane::system
