#pragma once

#include <functional>
#include <vector>

#include <QWidget>

#include "Dorvane/Toolbar/ToolbarFlyoutTile.h"
#include "DorvaneCore/Toolbar/LayoutFlyout.h"

namespace dorvane {

// The window-layout flyout's content: the thirteen tiles of LayoutFlyout (the fill and
// centre snaps, then every arrangement), four to a row, each a miniature of the screen
// with the front window's place highlighted. A click on a tile reports its choice.
class LayoutFlyoutView final : public QWidget {
public:
    LayoutFlyoutView(const QSize& size, std::function<void(const LayoutChoice&)> pick, QWidget* parent = nullptr);

    const std::vector<ToolbarFlyoutTile*>& tiles() const { return tiles_; }

    // Draws one entry's miniature (outline and cells) centred in `tile`.
    static void paintGlyph(QPainter& painter, const QRectF& tile, const LayoutFlyoutEntry& entry);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<ToolbarFlyoutTile*> tiles_;
};

}  // namespace dorvane
