#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "Dorvane/Windows/LocalMouseMonitor.h"

namespace dorvane::testing {

// The program's own clicks, handed in by the test: press() and release() reach every
// registered handler at once, as the toolkit's event filter would.
class FakeLocalMouseMonitor final : public windows::LocalMouseMonitor {
public:
    std::optional<dispatch::Observation> addLocalMouseMonitor(
        std::function<void(const windows::LocalMouseEvent&)> handler) override {
        const int token = next_++;
        (*handlers_)[token] = std::move(handler);
        return dispatch::Observation([weak = std::weak_ptr<Handlers>(handlers_), token] {
            if (auto handlers = weak.lock()) handlers->erase(token);
        });
    }

    void press(std::optional<geometry::Point> location, std::optional<windows::OwnWindowID> window = std::nullopt) {
        send({events::MouseEvent::Kind::leftMouseDown, location, window});
    }
    void release(std::optional<geometry::Point> location, std::optional<windows::OwnWindowID> window = std::nullopt) {
        send({events::MouseEvent::Kind::leftMouseUp, location, window});
    }
    std::size_t handlerCount() const { return handlers_->size(); }

private:
    using Handlers = std::map<int, std::function<void(const windows::LocalMouseEvent&)>>;
    void send(const windows::LocalMouseEvent& event) {
        const Handlers current = *handlers_;
        for (const auto& [token, handler] : current) handler(event);
    }

    std::shared_ptr<Handlers> handlers_ = std::make_shared<Handlers>();
    int next_ = 0;
};

}  // namespace dorvane::testing
