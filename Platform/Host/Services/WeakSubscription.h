#pragma once

#include <memory>

#include "Platform/Host/Store/HostStore.h"

namespace dorvane::host {

// Subscribes `method` of the object `owner` points to, for as long as that object lives:
// a change reported after it has gone is ignored. Throws what subscribe() throws.
template <typename T>
HostSubscription subscribeWhileAlive(HostStore& store, std::weak_ptr<T> owner, void (T::*method)(const HostPulse&)) {
    return store.subscribe([owner = std::move(owner), method](const HostPulse& pulse) {
        if (auto alive = owner.lock()) ((*alive).*method)(pulse);
    });
}

}  // namespace dorvane::host
