#pragma once

#include <vector>

#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// The request body of the display worker's "commit" and "normalize-restore":
// {"targets":[DisplayState...]}.
struct CommitRequest {
    std::vector<DisplayState> targets;

    json::Json toJson() const;
    static CommitRequest fromJson(const json::Json& value);
};

}  // namespace dorvane
