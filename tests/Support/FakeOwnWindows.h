#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Dorvane/Windows/OwnWindows.h"

namespace dorvane::testing {

// The program's own windows as plain records: commands change the records at once and
// are noted in `calls`. A window with a minimum size keeps it when given a smaller frame.
class FakeOwnWindows final : public windows::OwnWindows {
public:
    struct Window {
        windows::OwnWindowState state;
        std::optional<geometry::Size> minimumSize;
    };

    windows::OwnWindowID add(windows::OwnWindowState state, std::optional<geometry::Size> minimumSize = std::nullopt) {
        const windows::OwnWindowID id = nextID_++;
        records[id] = Window{state, minimumSize};
        order.push_back(id);
        return id;
    }

    // Gives the window focus and tells the observers, as the toolkit does.
    void focus(std::optional<windows::OwnWindowID> window) {
        key = window;
        for (const auto& [token, handler] : *observers_) handler();
    }

    std::optional<windows::OwnWindowID> keyWindow() override { return key; }
    std::optional<windows::OwnWindowID> mainWindow() override { return main; }
    std::vector<windows::OwnWindowID> windows() override { return order; }
    std::optional<windows::OwnWindowState> state(windows::OwnWindowID window) override {
        const auto found = records.find(window);
        if (found == records.end()) return std::nullopt;
        return found->second.state;
    }
    void close(windows::OwnWindowID window) override {
        calls.push_back("close " + std::to_string(window));
        records.erase(window);
        std::erase(order, window);
    }
    void minimize(windows::OwnWindowID window) override {
        calls.push_back("minimize " + std::to_string(window));
        records.at(window).state.minimized = true;
    }
    void toggleFullScreen(windows::OwnWindowID window) override {
        calls.push_back("toggleFullScreen " + std::to_string(window));
        auto& state = records.at(window).state;
        state.fullScreen = !state.fullScreen;
    }
    void setFrame(windows::OwnWindowID window, const geometry::Rect& frame) override {
        auto& record = records.at(window);
        geometry::Rect placed = frame;
        if (record.minimumSize) {
            placed.width = std::max(placed.width, record.minimumSize->width);
            placed.height = std::max(placed.height, record.minimumSize->height);
        }
        record.state.frame = placed;
        calls.push_back("setFrame " + std::to_string(window));
    }
    dispatch::Observation observeKeyWindow(std::function<void()> handler) override {
        const int token = nextToken_++;
        (*observers_)[token] = std::move(handler);
        std::weak_ptr<Observers> weak = observers_;
        return dispatch::Observation([weak, token] {
            if (auto observers = weak.lock()) observers->erase(token);
        });
    }

    std::map<windows::OwnWindowID, Window> records;
    std::vector<windows::OwnWindowID> order;
    std::optional<windows::OwnWindowID> key;
    std::optional<windows::OwnWindowID> main;
    std::vector<std::string> calls;

private:
    using Observers = std::map<int, std::function<void()>>;
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
    windows::OwnWindowID nextID_ = 1;
    int nextToken_ = 0;
};

}  // namespace dorvane::testing
