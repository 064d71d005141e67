#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassDropdownPopup.h"
#include "DorvaneCore/Visual/DropdownSelection.h"
#include "DorvaneCore/Visual/GlassDropdownMetrics.h"

namespace dorvane {

// One entry of a dropdown list: the value it stands for, which a choice reports, and its
// text; in a menu of commands, whether it deletes or removes.
template <typename T>
struct GlassDropdownItem {
    T id;
    std::string title;
    bool destructive = false;
    friend bool operator==(const GlassDropdownItem&, const GlassDropdownItem&) = default;
};

// What sits behind one dropdown field: the list's selection state, its entries, the
// receiver of a changed choice, and the open list (panel and monitors) while it shows.
// The field owns one for its whole life. Main thread only.
template <typename T>
class GlassDropdownController {
public:
    using Item = GlassDropdownItem<T>;

    GlassDropdownController()
        : popup_(std::make_unique<GlassDropdownPopup>(GlassDropdownPopup::Handlers{
              [this](std::uint16_t keyCode) { return handleKey(keyCode); },
              [this](int row) { commit(row); },
              [this](int row) { hover(row); },
              [this] { close(); },
          })) {}
    ~GlassDropdownController() { close(); }
    GlassDropdownController(const GlassDropdownController&) = delete;
    GlassDropdownController& operator=(const GlassDropdownController&) = delete;

    // Called after every change of the state (the field redraws its open look from it).
    std::function<void()> onStateChanged;

    const DropdownSelection<T>& state() const { return state_; }
    const std::vector<Item>& items() const { return items_; }
    // The trigger the list opens beside; the controller holds it weakly.
    void setAnchor(QWidget* anchor) { anchor_ = anchor; }
    QWidget* anchor() const { return anchor_; }
    const GlassDropdownPopup& popup() const { return *popup_; }
    GlassDropdownPopup& popup() { return *popup_; }

    // Closes an open list; otherwise loads the entries, the selection and the receiver, and
    // opens the list under `label`.
    void toggle(const QString& label, std::vector<Item> items, std::optional<T> selected,
                std::function<void(const T&)> onSelect) {
        if (state_.isOpen()) return close();
        items_ = std::move(items);
        onSelect_ = std::move(onSelect);
        state_.update(ids(), std::move(selected));
        open(label);
    }

    // New entries or a new selection from the field; an open list is redrawn, never closed.
    void update(std::vector<Item> items, std::optional<T> selected) {
        items_ = std::move(items);
        state_.update(ids(), std::move(selected));
        if (state_.isOpen()) render();
        changed();
    }

    // Closes the state, removes every monitor and observer, and lets the panel go.
    void close() {
        const bool wasOpen = state_.isOpen() || popup_->isOpen();
        state_.close();
        popup_->close();
        if (wasOpen) changed();
    }

    // Up, Down, Return, keypad Enter, Space and Escape while the list is open; true when used.
    bool handleKey(std::uint16_t keyCode) {
        if (!state_.isOpen()) return false;
        const auto key = dropdownKey(keyCode);
        if (!key) return false;
        switch (*key) {
            case DropdownKey::up:
                state_.moveUp();
                render();
                break;
            case DropdownKey::down:
                state_.moveDown();
                render();
                break;
            case DropdownKey::commit: commit(std::nullopt); break;
            case DropdownKey::cancel: close(); break;
        }
        return true;
    }

    // Chooses row `index`, or the highlighted one, and closes the list; the receiver hears
    // of the value only when the choice changed, and only once the list is gone.
    void commit(std::optional<int> index) {
        const std::optional<T> value = state_.commit(index);
        const auto onSelect = onSelect_;
        close();
        // Last: the receiver may end the field and this controller with it.
        if (value && onSelect) onSelect(*value);
    }

    void hover(int index) {
        state_.hover(index);
        render();
    }

    // Gives the open list the current entries and state.
    void render() {
        popup_->render(menu());
        changed();
    }

    // What the open list shows.
    DropdownMenuModel menu() const { return menuFor(items_, state_); }

    static DropdownMenuModel menuFor(const std::vector<Item>& items, const DropdownSelection<T>& state) {
        DropdownMenuModel model;
        model.rows.reserve(items.size());
        for (const Item& item : items) {
            model.rows.push_back(
                DropdownMenuRow{QString::fromStdString(item.title), state.selected() == item.id, item.destructive});
        }
        model.highlighted = state.highlighted();
        return model;
    }

    // The widest title in the list's font, rounded up, plus the checkmark column and the
    // paddings: 45 points for an empty list.
    static double menuWidth(const std::vector<Item>& items, const TextMeasurer& measure = DesignTokens::measurer()) {
        std::vector<std::string> titles;
        titles.reserve(items.size());
        for (const Item& item : items) titles.push_back(item.title);
        return GlassDropdownMetrics::menuWidth(titles, measure);
    }

private:
    std::vector<T> ids() const {
        std::vector<T> values;
        values.reserve(items_.size());
        for (const Item& item : items_) values.push_back(item.id);
        return values;
    }

    void open(const QString& label) {
        if (!anchor_ || items_.empty()) return;
        state_.open();
        const QSizeF size(menuWidth(items_), GlassDropdownMetrics::menuHeight(items_.size()));
        if (!popup_->open(anchor_, label, size, menu())) state_.close();
        changed();
    }

    void changed() {
        if (onStateChanged) onStateChanged();
    }

    DropdownSelection<T> state_;
    QPointer<QWidget> anchor_;
    std::vector<Item> items_;
    std::function<void(const T&)> onSelect_ = [](const T&) {};
    std::unique_ptr<GlassDropdownPopup> popup_;
};

}  // namespace dorvane
