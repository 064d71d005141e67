#include "Dorvane/Visual/GlassMenu.h"

#include <algorithm>

#include <QScreen>
#include <QWidget>

#include "Platform/Displays/ScreenServices.h"

namespace dorvane {

GlassMenu::GlassMenu(QString label) : label_(std::move(label)) {
    controller_.popup().setScreenBounds([this](const QRect& trigger) { return bounds(trigger); });
}

std::optional<QRect> GlassMenu::bounds(const QRect& trigger) const {
    std::optional<QRect> area = screens_ != nullptr ? hostScreenBounds(*screens_, trigger) : std::nullopt;
    if (!area && window_ && window_->screen() != nullptr) area = window_->screen()->availableGeometry();
    if (!area || !window_) return area;
    const QRect window = window_->frameGeometry();
    const QRect across(QPoint(std::max(area->left(), window.left()), area->top()),
                       QPoint(std::min(area->right(), window.right()), area->bottom()));
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

std::optional<QRect> GlassMenu::hostScreenBounds(displays::ScreenServices& screens, const QRect& frame) {
    std::vector<displays::Screen> all;
    try {
        all = screens.screens();
    } catch (const std::exception&) {
        return std::nullopt;  // the Qt screen then bounds it
    }
    if (all.empty()) return std::nullopt;
    const QPointF centre = QRectF(frame).center();
    const displays::Screen* holding = &all.front();
    for (const displays::Screen& screen : all) {
        const auto& f = screen.frame;
        if (centre.x() >= f.x && centre.x() < f.x + f.width && centre.y() >= f.y && centre.y() < f.y + f.height) {
            holding = &screen;
            break;
        }
    }
    const auto& visible = holding->visibleFrame;
    return QRectF(visible.x, visible.y, visible.width, visible.height).toAlignedRect();
}

}  // namespace dorvane
