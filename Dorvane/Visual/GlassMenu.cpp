#include "Dorvane/Visual/GlassMenu.h"

#include <algorithm>

#include <QWidget>

namespace dorvane {

GlassMenu::GlassMenu(QString label) : label_(std::move(label)) {
    controller_.popup().setScreenBounds([this](const QRect& trigger) { return bounds(trigger); });
}

std::optional<QRect> GlassMenu::bounds(const QRect& trigger) const {
    if (!window_) return std::nullopt;
    const QRect area = GlassDropdownPopup::screenArea(trigger, *window_);
    if (area.isEmpty()) return std::nullopt;
    const QRect window = window_->frameGeometry();
    const QRect across(QPoint(std::max(area.left(), window.left()), area.top()),
                       QPoint(std::min(area.right(), window.right()), area.bottom()));
    // A window off the screen's side leaves the screen alone to bound it.
    return across.width() > 0 ? across : area;
}

void GlassMenu::popup(QWidget& anchor, std::vector<Command> commands) {
    controller_.close();
    commands_ = std::move(commands);
    std::vector<GlassDropdownItem<int>> items;
    for (std::size_t row = 0; row < commands_.size(); ++row) {
        items.push_back({static_cast<int>(row), commands_[row].title.toStdString(), commands_[row].destructive});
    }
    window_ = anchor.window();
    controller_.setAnchor(&anchor);
    // Nothing is selected, so every choice is a change and reaches the command.
    controller_.toggle(label_, std::move(items), std::nullopt, [this](const int& row) {
        if (row < 0 || row >= static_cast<int>(commands_.size())) return;
        // A copy: the command may replace this menu's commands, or end its owner.
        const auto run = commands_[static_cast<std::size_t>(row)].run;
        if (run) run();
    });
}

}  // namespace dorvane
