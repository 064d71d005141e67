#include "DorvaneCore/Windows/AutoFillTracker.h"

#include "DorvaneCore/Windows/FillToggle.h"

namespace dorvane::windows {

bool AutoFillTracker::allows(const Key& key, const Rect& frame, const Rect& area) {
    const bool wasFront = front == key;
    front = key;
    if (FillToggle::isFilled(frame, area, FillToggle::tolerance)) return false;
    return !(wasFront && filled.contains(key));
}

void AutoFillTracker::didFill(const Key& key) {
    filled.insert(key);
    front = key;
}

void AutoFillTracker::retain(const std::set<Key>& keys) {
    std::erase_if(filled, [&](const Key& key) { return !keys.contains(key); });
    if (front && !keys.contains(*front)) front.reset();
}

void AutoFillTracker::reset() {
    front.reset();
    filled.clear();
}

}  // namespace dorvane::windows
