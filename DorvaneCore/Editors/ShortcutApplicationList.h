#pragma once

#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationBundle.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "DorvaneCore/Support/LocalizedComparison.h"

namespace dorvane {

// The file manager, always offered after the running applications.
inline constexpr std::string_view finderBundlePath = "/System/Library/CoreServices/Finder.app";

// The applications the picker offers, from the bundles a scan opened in candidate order:
// one entry per bundle identifier (the first candidate wins), without bundles that have
// none, this program and background-only bundles; named as the user sees them and sorted
// by name with the shared localized comparison, equal names keeping candidate order. Each
// entry carries an empty shortcut list.
std::vector<ApplicationShortcuts> shortcutApplications(std::span<const ApplicationBundle> candidates,
                                                       const text::LocalizedComparison& compare = {});

// What the picker lists: the applications not listed yet whose name or bundle identifier
// contains `query`, ignoring case and diacritics. The query is taken as typed, blanks
// included; only an empty one lists everything.
std::vector<const ApplicationShortcuts*> pickableApplications(std::span<const ApplicationShortcuts> applications,
                                                              const std::set<std::string>& existing,
                                                              std::string_view query);

}  // namespace dorvane
