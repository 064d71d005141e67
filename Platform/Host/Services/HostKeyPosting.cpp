#include "Platform/Host/Services/HostKeyPosting.h"

namespace dorvane::host {

bool HostKeyPosting::postToProcess(pid_t pid, const events::KeyEvent& key) {
    auto event = events_->createKeyboardEvent(nullptr, key.code, key.down);
    if (!event) return false;
    event->flags = key.flags;
    return events_->postToProcess(pid, *event);
}

}  // namespace dorvane::host
