#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane {

// The toolbar's built-in actions. Stored (settings, operation ids, icon
// choices) as the case name.
enum class FloatingAction {
    runningApplications,
    resolution,
    restoreDisplay,
    settings,
    maximizeWindow,
    centerWindow,
    fillWindow,
    minimizeWindow,
};

template <>
struct EnumCases<FloatingAction> {
    static constexpr std::array<std::pair<FloatingAction, std::string_view>, 8> table{{
        {FloatingAction::runningApplications, "runningApplications"},
        {FloatingAction::resolution, "resolution"},
        {FloatingAction::restoreDisplay, "restoreDisplay"},
        {FloatingAction::settings, "settings"},
        {FloatingAction::maximizeWindow, "maximizeWindow"},
        {FloatingAction::centerWindow, "centerWindow"},
        {FloatingAction::fillWindow, "fillWindow"},
        {FloatingAction::minimizeWindow, "minimizeWindow"},
    }};
};

// Always on the toolbar, never part of the user's selection or order.
inline constexpr std::array<FloatingAction, 3> persistentFloatingActions{
    FloatingAction::resolution, FloatingAction::settings, FloatingAction::restoreDisplay};

// The rest, in declaration order: what the user may switch on and order.
inline constexpr std::array<FloatingAction, 5> configurableFloatingActions{
    FloatingAction::runningApplications, FloatingAction::maximizeWindow, FloatingAction::centerWindow,
    FloatingAction::fillWindow, FloatingAction::minimizeWindow};

// What a new installation switches on.
inline constexpr std::array<FloatingAction, 3> defaultFloatingActions{
    FloatingAction::runningApplications, FloatingAction::fillWindow, FloatingAction::minimizeWindow};

// What the fill button shows while the front window is filled.
inline constexpr std::string_view restoreFillTitle = "还原";
inline constexpr std::string_view restoreFillSymbol = "arrow.down.right.and.arrow.up.left.square";

bool isPersistent(FloatingAction action);

std::string_view title(FloatingAction action);
// Platform symbol name of the action's button.
std::string_view symbol(FloatingAction action);

}  // namespace dorvane
