#pragma once

#include <functional>

#include <QPointer>
#include <QString>

#include "Dorvane/ShellBase/ScreenSpace.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "DorvaneCore/Geometry/Rect.h"

namespace dorvane {

// A window of the floating toolbar: the toolbar itself and its two flyouts. A floating
// glass panel (level 3) that never takes the keyboard focus nor activates the program,
// placed by toolkit frames (bottom-left, y up) that it keeps unrounded, while the window
// itself sits on whole pixels in Qt's space.
//
// The toolbar's content is a plain view (the padded glass with its shadow, setContentView);
// a flyout's is a glass surface (setGlass). A replaced content goes by deleteLater(): it
// may be the view whose press is being handled.
class ToolbarPanel final : public GlassPanel {
public:
    static constexpr int floatingLevel = 3;

    ToolbarPanel(const QString& title, std::function<ScreenSpace()> screenSpace);
    ~ToolbarPanel() override;

    void setContentView(QWidget* view);
    QWidget* contentView() const { return content_; }

    // The toolkit frame as last set; Qt's geometry is its rounding.
    const geometry::Rect& frame() const { return frame_; }
    void setFrame(const geometry::Rect& frame);
    void setOrigin(const geometry::Point& origin) { setFrame(geometry::Rect{origin, frame_.size()}); }
    // The frame in Qt's space, unrounded.
    QRectF qtFrame() const;
    ScreenSpace space() const { return screenSpace_ ? screenSpace_() : ScreenSpace{}; }

    // Shown and raised, never activated.
    void orderFront() { present(); }
    void orderOut() { hide(); }

private:
    std::function<ScreenSpace()> screenSpace_;
    QPointer<QWidget> content_;
    geometry::Rect frame_;
};

}  // namespace dorvane
