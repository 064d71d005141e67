#pragma once

#include <QPointer>
#include <QWidget>

#include "Dorvane/Visual/NativeGlassView.h"

namespace dorvane {

// The toolbar panel's content: its glass surface 6 points inside, and in that padding
// the toolbar's soft shadow, a rounded rectangle around the strip or an ellipse around
// the round handle. The shadow goes while a companion panel is attached beside the
// toolbar (the two read as one surface).
class ToolbarGlassHost final : public QWidget {
public:
    static constexpr int padding = 6;

    // `glass` is reparented into the host.
    ToolbarGlassHost(NativeGlassView* glass, bool ellipticalShadow);

    NativeGlassView* glass() const { return glass_; }
    bool ellipticalShadow() const { return elliptical_; }
    double shadowOpacity() const { return opacity_; }
    void setShadowOpacity(double opacity);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<NativeGlassView> glass_;
    bool elliptical_;
    double opacity_;
};

}  // namespace dorvane
