#pragma once

#include <functional>
#include <string>

#include <QAbstractButton>

#include "Platform/Dispatch/Observation.h"

namespace dorvane {

// A tile of the toolbar's two flyouts: a button that never takes the focus, faintly
// tinted while hovered and a little more while pressed, whose label `paintLabel` draws.
// Its title is its tool tip and accessible name. A click (press and release inside)
// emits clicked().
class ToolbarFlyoutTile final : public QAbstractButton {
public:
    ToolbarFlyoutTile(const std::string& title, std::function<void(QPainter&, const QRectF&)> paintLabel,
                      QWidget* parent = nullptr);
    ~ToolbarFlyoutTile() override;

    bool hovering() const { return hovering_; }
    // The tint behind the label now, as an opacity of the primary colour.
    double backgroundOpacity() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&, const QRectF&)> paintLabel_;
    bool hovering_ = false;
    dispatch::Observation hover_;
};

}  // namespace dorvane
