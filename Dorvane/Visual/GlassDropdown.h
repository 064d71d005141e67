#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QHideEvent>
#include <QString>

#include "Dorvane/Visual/GlassDropdownButton.h"
#include "Dorvane/Visual/GlassDropdownController.h"

namespace dorvane {

// The program's own list picker: a compact field showing the current choice with an
// up-and-down chevron; clicking it opens the list in a glass panel beside it, where the
// user picks with the pointer or the keys (Up, Down, Return, Space, Escape), while typing
// stays in the window's text field. Bound like every settings control: it shows
// `selection` as given, reports a pick through `onSelect`, and changes only when the
// owner calls setSelection() with the new value.
//
//   auto* field = new GlassDropdown<std::string>("切换分辨率", items, selectedID, "请选择规格", 160,
//                                                [&model](const std::string& id) { model.onAutoResolutionPreset(id); });
template <typename T>
class GlassDropdown final : public GlassDropdownButton {
public:
    using Item = GlassDropdownItem<T>;

    GlassDropdown(QString label, std::vector<Item> items, std::optional<T> selection, QString placeholder,
                  double minWidth, std::function<void(const T&)> onSelect, QWidget* parent = nullptr)
        : GlassDropdownButton(minWidth, parent),
          label_(std::move(label)),
          items_(std::move(items)),
          selection_(std::move(selection)),
          placeholder_(std::move(placeholder)),
          onSelect_(std::move(onSelect)) {
        setAccessibleName(label_);
        controller_.setAnchor(this);
        controller_.onStateChanged = [this] { refresh(); };
        QObject::connect(this, &QAbstractButton::clicked, this,
                         [this] { controller_.toggle(label_, items_, selection_, onSelect_); });
        refresh();
    }

    ~GlassDropdown() override {
        controller_.onStateChanged = nullptr;
        controller_.close();
    }

    // New entries from the owner; an open list shows them at once.
    void setItems(std::vector<Item> items) {
        items_ = std::move(items);
        controller_.update(items_, selection_);
        refresh();
    }
    // The owner's current value; an open list moves its mark without closing.
    void setSelection(std::optional<T> selection) {
        selection_ = std::move(selection);
        controller_.update(items_, selection_);
        refresh();
    }

    const QString& label() const { return label_; }
    const std::vector<Item>& items() const { return items_; }
    const std::optional<T>& selection() const { return selection_; }

    // The title of the first entry whose value is the selection, else the placeholder.
    QString title() const {
        if (selection_) {
            for (const Item& item : items_) {
                if (item.id == *selection_) return QString::fromStdString(item.title);
            }
        }
        return placeholder_;
    }

    bool isOpen() const { return controller_.state().isOpen() || isPreviewOpen(); }

    // The list a preview draws: opened on the selection, the pointer on the row after it
    // (the last row when the selection is last).
    DropdownSelection<T> previewState() const {
        std::vector<T> ids;
        for (const Item& item : items_) ids.push_back(item.id);
        DropdownSelection<T> state(std::move(ids), selection_);
        state.open();
        if (const auto highlighted = state.highlighted()) {
            state.hover(std::min(static_cast<int>(items_.size()) - 1, *highlighted + 1));
        }
        return state;
    }

    // Draws the field open with its list under it, for previews and screenshots; it
    // never opens the real list.
    void setPreviewOpen(bool open) {
        setPreview(open, GlassDropdownController<T>::menuFor(items_, previewState()),
                   GlassDropdownController<T>::menuWidth(items_));
    }

    GlassDropdownController<T>& controller() { return controller_; }

protected:
    void hideEvent(QHideEvent* event) override {
        controller_.close();
        GlassDropdownButton::hideEvent(event);
    }

private:
    void refresh() { setFace(title(), !selection_.has_value(), controller_.state().isOpen()); }

    QString label_;
    std::vector<Item> items_;
    std::optional<T> selection_;
    QString placeholder_;
    std::function<void(const T&)> onSelect_;
    GlassDropdownController<T> controller_;
};

}  // namespace dorvane
