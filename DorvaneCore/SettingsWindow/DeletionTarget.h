#pragma once

#include <string>

#include "DorvaneCore/Resolution/CustomPreset.h"

namespace dorvane {

// A custom preset whose deletion waits for the user's confirmation. It keeps
// the title the user saw in the list (a blank name reads "规格"), not the stored name.
struct DeletionTarget {
    std::string id;
    std::string title;

    friend bool operator==(const DeletionTarget&, const DeletionTarget&) = default;

    static DeletionTarget forPreset(const CustomPreset& preset);

    // "删除「标题」？"
    std::string alertTitle() const;
};

}  // namespace dorvane
