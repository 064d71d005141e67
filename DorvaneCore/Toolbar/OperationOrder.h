#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Toolbar/ConfiguredOperation.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// Every configurable operation in the user's order: the operations named in
// `storedOrder` first (unknown and repeated ids skipped), then every other
// candidate, shortcuts before built-ins. Candidates are all named shortcuts,
// enabled or not, and the configurable actions, of which maximizeWindow only
// when it is switched on. Of two candidates with one id the first counts.
std::vector<ConfiguredOperation> orderedOperations(std::span<const NamedShortcut> namedShortcuts,
                                                   std::span<const FloatingAction> floatingActions,
                                                   std::span<const std::string> storedOrder);

// What the toolbar shows besides the persistent actions: of `ordered`, the
// shortcuts that are enabled and the actions that are switched on, order kept.
std::vector<ConfiguredOperation> enabledOperations(std::span<const ConfiguredOperation> ordered,
                                                   std::span<const FloatingAction> floatingActions);

// `ids` with the rows at `offsets` moved as one block before row `destination`
// (offsets and destination refer to `ids` before the move). Offsets outside
// the list are ignored; nullopt when none is left or the destination lies
// outside 0…ids.size().
std::optional<std::vector<std::string>> movingRows(std::span<const std::string> ids,
                                                   std::span<const std::int64_t> offsets,
                                                   std::int64_t destination);

}  // namespace dorvane
