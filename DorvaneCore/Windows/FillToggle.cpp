#include "DorvaneCore/Windows/FillToggle.h"

#include <cmath>

#include "DorvaneCore/Windows/WindowLayout.h"

namespace dorvane::windows {

namespace {

// Every edge of one frame within the toggle's tolerance of the other's.
bool near(const Rect& a, const Rect& b) { return FillToggle::isFilled(a, b, FillToggle::tolerance); }

}  // namespace

bool FillToggle::isFilled(const Rect& frame, const Rect& area, double tolerance) {
    return std::abs(frame.minX() - area.minX()) <= tolerance && std::abs(frame.minY() - area.minY()) <= tolerance &&
           std::abs(frame.maxX() - area.maxX()) <= tolerance && std::abs(frame.maxY() - area.maxY()) <= tolerance;
}

Rect FillToggle::clamp(const Rect& frame, const Rect& area) { return WindowLayout::clamped(frame, area); }

Rect FillToggle::centered(const Rect& area) {
    // std::round takes halves away from zero.
    const double w = std::round(area.width * fallbackFraction);
    const double h = std::round(area.height * fallbackFraction);
    return Rect{std::round(area.midX() - w * 0.5), std::round(area.midY() - h * 0.5), w, h};
}

std::optional<Rect> FillToggle::savedFrame(const Key& key) const {
    const auto found = saved.find(key);
    if (found == saved.end()) return std::nullopt;
    return found->second;
}

FillToggle::Memory FillToggle::memory(const Key& key) const {
    const auto found = partWay.find(key);
    return Memory{savedFrame(key), confirmed.contains(key),
                  found == partWay.end() ? std::nullopt : std::optional(found->second)};
}

void FillToggle::restore(const Key& key, const Memory& memory) {
    if (memory.saved) {
        saved[key] = *memory.saved;
    } else {
        saved.erase(key);
    }
    if (memory.confirmed) {
        confirmed.insert(key);
    } else {
        confirmed.erase(key);
    }
    if (memory.partWay) {
        partWay[key] = *memory.partWay;
    } else {
        partWay.erase(key);
    }
}

void FillToggle::leftPartWay(const Key& key, const Rect& started, const Rect& left, const Memory& before) {
    // Not moved: the memory as the press left it stands for writes that may still land.
    if (near(left, started)) return;
    // A fill remembered the frame it started from; an un-fill let go of the one it aimed at.
    const auto wayBack = savedFrame(key) ? savedFrame(key) : before.saved;
    if (wayBack) partWay[key] = PartWay{left, *wayBack};
}

std::optional<Rect> FillToggle::resumePartWay(const Key& key, const Rect& current) {
    const auto found = partWay.find(key);
    if (found == partWay.end()) return std::nullopt;
    const PartWay left = found->second;
    partWay.erase(found);
    if (!near(current, left.frame)) return std::nullopt;
    return left.wayBack;
}

Rect FillToggle::target(const std::optional<Key>& key, const Rect& current, const Rect& area) {
    // A window still where a failed press left it keeps the way back that press had.
    const auto wayBack = key ? resumePartWay(*key, current) : std::nullopt;
    if (!isFilled(current, area, tolerance)) {
        if (key) {
            saved[*key] = wayBack.value_or(current);
            confirmed.erase(*key);
        }
        return area;
    }
    if (!key) return centered(area);
    const auto before = wayBack ? wayBack : savedFrame(*key);
    saved.erase(*key);
    confirmed.erase(*key);
    if (!before) return centered(area);
    const Rect restored = clamp(*before, area);
    return isFilled(restored, area, tolerance) ? centered(area) : restored;
}

bool FillToggle::observe(const std::optional<Key>& key, const std::optional<Rect>& frame,
                         const std::optional<Rect>& area, const std::optional<std::set<Key>>& liveKeys) {
    if (liveKeys) {
        std::erase_if(saved, [&](const auto& entry) { return !liveKeys->contains(entry.first); });
        std::erase_if(confirmed, [&](const Key& k) { return !liveKeys->contains(k); });
        std::erase_if(partWay, [&](const auto& entry) { return !liveKeys->contains(entry.first); });
    }
    if (!frame || !area) return false;
    const bool filled = isFilled(*frame, *area, tolerance);
    if (!key || !saved.contains(*key)) return filled;
    if (filled) {
        confirmed.insert(*key);
        return true;
    }
    if (confirmed.contains(*key)) {
        // Filled, seen filled, and since moved or resized by other means.
        saved.erase(*key);
        confirmed.erase(*key);
    }
    // Otherwise the fill was asked for but has not landed yet: keep the saved frame.
    return false;
}

}  // namespace dorvane::windows
