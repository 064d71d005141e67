#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QScrollArea>

#include "Dorvane/Toolbar/ToolbarFlyoutTile.h"
#include "DorvaneCore/Toolbar/ToolbarFlyouts.h"

namespace dorvane {

// The application-shortcut flyout's content: a grid of the front application's named
// shortcuts, each tile its symbol over its name. Lower than its grid, it scrolls (without
// scroll bars). A click on tile i reports i.
class ApplicationShortcutFlyoutView final : public QScrollArea {
public:
    struct Item {
        std::string symbol;
        std::string name;
    };

    ApplicationShortcutFlyoutView(std::vector<Item> items, const ToolbarFlyouts::ShortcutGrid& grid,
                                  std::function<void(int)> pick, QWidget* parent = nullptr);

    const std::vector<ToolbarFlyoutTile*>& tiles() const { return tiles_; }
    bool scrolls() const { return scrolls_; }

private:
    std::vector<ToolbarFlyoutTile*> tiles_;
    bool scrolls_;
};

}  // namespace dorvane
