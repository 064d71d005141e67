#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane::host {

// Observers that each want their calls on an executor of their own. Thread-safe. A call
// is queued on the observer's executor and made only if the observer is still there when
// it runs, so ending an observation on its executor stops its calls at once, queued ones
// included. `Tag` says what an observer listens for (a notification's name, say).
template <typename Value, typename Tag = bool>
class ExecutorObservers : public std::enable_shared_from_this<ExecutorObservers<Value, Tag>> {
public:
    using Handler = std::function<void(const Value&)>;

    // Ends when the observation does (or the registry goes).
    dispatch::Observation add(dispatch::Executor& executor, Handler handler, Tag tag = {}) {
        std::uint64_t id = 0;
        {
            std::lock_guard lock(mutex_);
            id = next_++;
            observers_.emplace(id, Observer{&executor, std::move(handler), std::move(tag)});
        }
        std::weak_ptr<ExecutorObservers> weak = this->weak_from_this();
        return dispatch::Observation([weak, id] {
            if (auto observers = weak.lock()) observers->remove(id);
        });
    }

    void clear() {
        std::lock_guard lock(mutex_);
        observers_.clear();
    }

    // Queues `value` for every observer whose tag `wants` (all without it), in the order
    // they were added. Calls made one after the other arrive in that order.
    void post(const Value& value, const std::function<bool(const Tag&)>& wants = nullptr) {
        std::weak_ptr<ExecutorObservers> weak = this->weak_from_this();
        std::lock_guard lock(mutex_);
        for (const auto& [id, observer] : observers_) {
            if (wants && !wants(observer.tag)) continue;
            observer.executor->post([weak, id = id, value] {
                if (auto observers = weak.lock()) observers->deliver(id, value);
            });
        }
    }

private:
    struct Observer {
        dispatch::Executor* executor = nullptr;
        Handler handler;
        Tag tag;
    };

    void remove(std::uint64_t id) {
        std::lock_guard lock(mutex_);
        observers_.erase(id);
    }

    // On the observer's executor.
    void deliver(std::uint64_t id, const Value& value) {
        Handler handler;
        {
            std::lock_guard lock(mutex_);
            const auto found = observers_.find(id);
            if (found == observers_.end()) return;
            handler = found->second.handler;
        }
        handler(value);
    }

    std::mutex mutex_;
    std::uint64_t next_ = 1;
    std::map<std::uint64_t, Observer> observers_;
};

}  // namespace dorvane::host
