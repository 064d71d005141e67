#pragma once

#include <memory>

namespace dorvane::dispatch {

// Tells a spawned member task, or a callback, whether the object it belongs to still
// exists. The owner holds a Lifetime member; a task receives a Watch as a parameter, so
// it is taken while the owner is certainly alive (when the task is created), and checks
// it before its first use of the owner and again after every await:
//
//   void Monitor::request() { spawn(main_, runSample(lifetime_.watch(), generation_)); }
//
//   Task<> Monitor::runSample(Lifetime::Watch alive, int generation) {
//       co_await sleepFor(1.0);
//       if (!alive || generation != generation_) co_return;  // nothing of `this` before the check
//       ...
//   }
//
// The check is sound only on the executor the owner lives and is destroyed on: the task's
// code and the owner's destructor then never run at the same time.
class Lifetime {
public:
    class Watch {
    public:
        Watch() = default;
        // True while the owner exists.
        explicit operator bool() const { return !alive_.expired(); }

    private:
        friend class Lifetime;
        explicit Watch(std::weak_ptr<const bool> alive) : alive_(std::move(alive)) {}
        std::weak_ptr<const bool> alive_;
    };

    Lifetime() = default;
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;

    Watch watch() const { return Watch(alive_); }

    // Ends the lifetime before the owner's members go (first thing in its destructor).
    void end() { alive_.reset(); }

private:
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace dorvane::dispatch
