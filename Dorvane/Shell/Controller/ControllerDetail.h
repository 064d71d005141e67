#pragma once

#include <optional>
#include <string>

#include "Dorvane/Engine/DisplayEngine.h"
#include "Dorvane/Engine/EngineStatus.h"
#include "Platform/Dispatch/Task.h"

// Small pieces the application controller and its owner objects share.
namespace dorvane::shell {

// Panels beside the toolbar keep this far off the toolbar panel's frame.
inline constexpr double panelInset = 6;

// A status that reports only a title (and a failure's text): nothing active, nothing applied.
inline EngineStatus titled(std::string title, std::optional<std::string> detail = std::nullopt) {
    return EngineStatus{std::move(title), std::move(detail), false, std::nullopt};
}

// What a restore of the physical displays reports: done, failed with its message, or
// deferred until a display returns (with what the engine still holds applied).
inline EngineStatus restoreStatus(bool restored, const std::optional<std::string>& failure,
                                  const std::optional<Dimensions>& stillApplied) {
    if (failure) return titled("还原未完成", failure);
    if (restored) return titled("已还原屏幕");
    return EngineStatus{"显示器接回后自动还原", std::nullopt, stillApplied.has_value(), stillApplied};
}

inline dispatch::Task<void> nothingToAwait() { co_return; }

// One engine-log line, written on the engine's queue. Not a coroutine itself: the
// texts move straight into the engine's task.
inline dispatch::Task<void> writeEngineLog(DisplayEngine& engine, std::string event, std::string detail) {
    return engine.perform(
        [event = std::move(event), detail = std::move(detail)](DisplayEngine& e) { e.log(event, detail); });
}

}  // namespace dorvane::shell
