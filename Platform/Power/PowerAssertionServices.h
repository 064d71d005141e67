#pragma once

#include <optional>

#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::power {

// The power manager's list of assertions, as loosely typed as the system gives it.
class PowerAssertionServices {
public:
    virtual ~PowerAssertionServices() = default;

    // Every process's assertions: an object from process id (decimal text) to an array
    // of property objects ("AssertName", "AssertType", "AssertLevel", ...). Nothing when
    // the list cannot be read. Callers must check the shape: nothing here is promised.
    virtual std::optional<json::Json> assertionsByProcess() = 0;
};

}  // namespace dorvane::power
