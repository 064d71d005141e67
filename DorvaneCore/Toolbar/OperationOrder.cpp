#include "DorvaneCore/Toolbar/OperationOrder.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace dorvane {

namespace {

bool contains(std::span<const FloatingAction> actions, FloatingAction action) {
    return std::ranges::find(actions, action) != actions.end();
}

}  // namespace

std::vector<ConfiguredOperation> orderedOperations(std::span<const NamedShortcut> namedShortcuts,
                                                   std::span<const FloatingAction> floatingActions,
                                                   std::span<const std::string> storedOrder) {
    std::vector<ConfiguredOperation> candidates;
    candidates.reserve(namedShortcuts.size() + configurableFloatingActions.size());
    for (const auto& shortcut : namedShortcuts) candidates.emplace_back(shortcut);
    for (FloatingAction action : configurableFloatingActions) {
        if (action == FloatingAction::maximizeWindow && !contains(floatingActions, action)) continue;
        candidates.emplace_back(action);
    }

    std::vector<std::string> candidateIDs;
    candidateIDs.reserve(candidates.size());
    std::unordered_map<std::string, std::size_t> byID;
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        candidateIDs.push_back(candidates[index].id());
        byID.try_emplace(candidateIDs.back(), index);
    }

    std::vector<ConfiguredOperation> ordered;
    ordered.reserve(byID.size());
    std::unordered_set<std::string> seen;
    auto visit = [&](const std::string& id) {
        if (!seen.insert(id).second) return;
        if (auto found = byID.find(id); found != byID.end()) ordered.push_back(candidates[found->second]);
    };
    for (const auto& id : storedOrder) visit(id);
    for (const auto& id : candidateIDs) visit(id);
    return ordered;
}

std::vector<ConfiguredOperation> enabledOperations(std::span<const ConfiguredOperation> ordered,
                                                   std::span<const FloatingAction> floatingActions) {
    std::vector<ConfiguredOperation> enabled;
    for (const auto& operation : ordered) {
        const bool shown = operation.shortcut() ? operation.shortcut()->enabled
                                                : contains(floatingActions, *operation.builtin());
        if (shown) enabled.push_back(operation);
    }
    return enabled;
}

std::optional<std::vector<std::string>> movingRows(std::span<const std::string> ids,
                                                   std::span<const std::int64_t> offsets,
                                                   std::int64_t destination) {
    const auto count = static_cast<std::int64_t>(ids.size());
    std::vector<std::int64_t> kept;
    for (std::int64_t offset : offsets) {
        if (offset >= 0 && offset < count) kept.push_back(offset);
    }
    std::ranges::sort(kept);
    kept.erase(std::ranges::unique(kept).begin(), kept.end());
    if (kept.empty() || destination < 0 || destination > count) return std::nullopt;

    std::vector<std::string> moved;
    std::vector<std::string> rest;
    for (std::int64_t index = 0; index < count; ++index) {
        const auto& id = ids[static_cast<std::size_t>(index)];
        if (std::ranges::binary_search(kept, index)) {
            moved.push_back(id);
        } else {
            rest.push_back(id);
        }
    }
    const auto movedBefore = std::ranges::count_if(kept, [&](std::int64_t offset) { return offset < destination; });
    const auto insertAt = destination - static_cast<std::int64_t>(movedBefore);
    rest.insert(rest.begin() + insertAt, moved.begin(), moved.end());
    return rest;
}

}  // namespace dorvane
