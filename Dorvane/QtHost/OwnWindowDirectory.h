#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Platform/Workspace/OwnWindows.h"

class QWidget;

namespace dorvane::qthost {

// What the reporter's jobs (activation, keys, the pointer, the wheel, the host's moves)
// need of its list of the program's windows: which number stands for which widget, and
// the host calls that never stop the program.
class OwnWindowDirectory {
public:
    virtual ~OwnWindowDirectory() = default;

    virtual workspace::OwnWindows& host() = 0;
    // The host's number of a listed window; none for a widget not (yet) listed.
    virtual std::optional<std::uint32_t> number(const QWidget* window) const = 0;
    // The widget a number stands for; null when none of the program's windows has it.
    virtual QWidget* widget(std::uint32_t number) const = 0;
    // Brings the host's entry of `window` up to date now and answers its number.
    virtual std::optional<std::uint32_t> listNow(QWidget* window) = 0;
    // The entry as last reported, which the host's own changes update; null when unlisted.
    virtual workspace::OwnWindow* shown(const QWidget* window) = 0;
    // Reports the window's moves and resizes once the event loop turns.
    virtual void schedule(QWidget* window) = 0;
    // Runs a host call; false (said once until a call succeeds again) when it throws.
    virtual bool attempt(const std::function<void()>& call) = 0;
    // After attempt() answered false: `retry` runs on the main queue once the host lets go,
    // and again until it answers true; a newer retry under `key` replaces the one waiting.
    virtual void tryAgainLater(const std::string& key, std::function<bool()> retry) = 0;
};

}  // namespace dorvane::qthost
