#pragma once

#include <string>

namespace dorvane::system {

// Opens a URL the way the system does: a link into System Settings brings System
// Settings forward at that page.
class URLOpener {
public:
    virtual ~URLOpener() = default;
    // False when the system refused it.
    virtual bool open(const std::string& url) = 0;
};

}  // namespace dorvane::system
