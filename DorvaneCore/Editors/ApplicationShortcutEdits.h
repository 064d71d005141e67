#pragma once

#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"

namespace dorvane {

// The edits of the per-application shortcut lists. Each returns the complete
// new list (or the one application's new record) for onSaveApplicationShortcuts;
// nothing here stores. Applications are matched by exact bundle identifier,
// shortcuts by id; replacing keeps the position, adding appends.

// The first record of this bundle identifier; none when the application is not listed.
const ApplicationShortcuts* findApplication(std::span<const ApplicationShortcuts> list, std::string_view bundleID);

// The list with `group` in place of the first record of its bundle identifier,
// or appended when there is none.
std::vector<ApplicationShortcuts> savingGroup(std::span<const ApplicationShortcuts> list,
                                              const ApplicationShortcuts& group);

// The application's record with `shortcut` in place of the first of its id, or
// appended. None when the application has left the list meanwhile.
std::optional<ApplicationShortcuts> withSavedShortcut(std::span<const ApplicationShortcuts> list,
                                                      std::string_view bundleID, const NamedShortcut& shortcut);

// The application's record without any shortcut of this id; none when the application is gone.
std::optional<ApplicationShortcuts> withoutShortcut(std::span<const ApplicationShortcuts> list,
                                                    std::string_view bundleID, std::string_view shortcutID);

// The record with the first shortcut of this id switched on or off; none when
// that shortcut is no longer there.
std::optional<ApplicationShortcuts> withToggledShortcut(const ApplicationShortcuts& application,
                                                        std::string_view shortcutID);

// The list without the application.
std::vector<ApplicationShortcuts> removingApplication(std::span<const ApplicationShortcuts> list,
                                                      std::string_view bundleID);

// The editor offers deletion only for a shortcut the application already holds.
bool editorOffersDelete(std::span<const ApplicationShortcuts> list, std::string_view bundleID,
                        std::string_view shortcutID);

// The applications the picker hides because they are listed already.
std::set<std::string> listedBundleIDs(std::span<const ApplicationShortcuts> list);

// The operations-log line of a save into an application that has left the list.
std::string missingApplicationLogLine(std::string_view bundleID);

// Texts of an application's card: "移除「名称」？"; the chevron's accessible
// name "展开名称操作" or "收起名称操作"; a chip's context-menu item "停用" or "启用".
std::string removalAlertTitle(const ApplicationShortcuts& application);
std::string chevronAccessibleName(const ApplicationShortcuts& application, bool collapsed);
std::string_view enablementMenuTitle(const NamedShortcut& shortcut);

}  // namespace dorvane
