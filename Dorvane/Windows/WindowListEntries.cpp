#include "Dorvane/Windows/WindowListEntries.h"

#include <cmath>

namespace dorvane::windows {

namespace windowkey = accessibility::windowkey;
namespace windowlist = accessibility::windowlist;

namespace {

template <typename T>
std::optional<T> strict(const json::Json& entry, const char* key) {
    try {
        return json::getOptional<T>(entry, key);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<Rect> bounds(const json::Json& entry) {
    const auto found = entry.find(windowkey::bounds);
    if (found == entry.end() || !found->is_object()) return std::nullopt;
    const auto x = strict<double>(*found, "x");
    const auto y = strict<double>(*found, "y");
    const auto width = strict<double>(*found, "width");
    const auto height = strict<double>(*found, "height");
    if (!x || !y || !width || !height) return std::nullopt;
    return Rect{*x, *y, *width, *height};
}

std::vector<WindowListEntry> entries(const json::Json& list) {
    std::vector<WindowListEntry> result;
    if (!list.is_array()) return result;
    for (const auto& entry : list) {
        if (!entry.is_object()) continue;
        result.push_back(WindowListEntry{strict<std::uint32_t>(entry, windowkey::number),
                                         strict<std::int32_t>(entry, windowkey::ownerPID),
                                         strict<std::int64_t>(entry, windowkey::layer), bounds(entry)});
    }
    return result;
}

}  // namespace

std::optional<std::vector<WindowListEntry>> readOnScreenWindows(accessibility::WindowListServices& windowList) {
    const auto list = windowList.copyWindowList(windowlist::onScreenOnly | windowlist::excludeDesktopElements, 0);
    if (!list) return std::nullopt;
    return entries(*list);
}

std::vector<WindowListEntry> readWindow(accessibility::WindowListServices& windowList, std::uint32_t number) {
    const auto list = windowList.copyWindowList(windowlist::includingWindow, number);
    return list ? entries(*list) : std::vector<WindowListEntry>{};
}

std::vector<ScreenWindow> screenWindows(const std::vector<WindowListEntry>& entries) {
    std::vector<ScreenWindow> result;
    for (const auto& entry : entries) {
        if (!entry.number || !entry.pid || !entry.bounds) continue;
        result.push_back(ScreenWindow{*entry.number, *entry.pid, *entry.bounds, static_cast<int>(entry.layer.value_or(0))});
    }
    return result;
}

}  // namespace dorvane::windows
