#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "Dorvane/Toolbar/ToolbarButton.h"
#include "DorvaneCore/Toolbar/DesktopToolbarLayout.h"
#include "DorvaneCore/Toolbar/ToolbarStripScroll.h"

class QGraphicsOpacityEffect;

namespace dorvane {

// The expanded toolbar's view: a strip of one button per configured operation that
// scrolls by a continuous offset (drags on its buttons, the wheel, a remembered offset),
// its ends fading while buttons lie beyond them, and a fixed footer of the persistent
// buttons (application shortcuts, window layouts, resolution, settings, collapse) after a
// separator. Qt's widget coordinates as they stand (y down). The owner fills the strip.
class ToolbarContent final : public QWidget {
public:
    struct Application {
        std::optional<std::string> localizedName;
        QPixmap icon;  // none: the "app" symbol
    };

    ToolbarContent(const geometry::Size& size, const DesktopToolbarLayout::Grid& grid, ToolbarSide side,
                   const std::optional<Application>& application,
                   std::shared_ptr<const ToolbarButtonEnvironment> environment);

    ToolbarButton* grip() const { return grip_; }
    ToolbarButton* resolution() const { return resolution_; }
    ToolbarButton* settings() const { return settings_; }
    // Built for the owner, never shown.
    ToolbarButton* restore() const { return restore_.get(); }
    ToolbarButton* applicationButton() const { return applicationButton_; }
    ToolbarButton* windowButton() const { return windowButton_; }
    ToolbarButton* collapse() const { return collapse_; }
    QWidget* pedestal() const { return pedestal_; }
    QWidget* clip() const { return clip_; }
    QWidget* document() const { return document_; }
    ToolbarSide side() const { return side_; }

    // Application, window, resolution, settings, collapse; the absent ones left out.
    std::vector<ToolbarButton*> footerButtons() const;
    // The strip's buttons in order; the owner adds them with addStripButton().
    const std::vector<ToolbarButton*>& buttons() const { return buttons_; }
    void addStripButton(ToolbarButton* button);

    double offset() const { return offset_; }
    // Clamps the offset to what the strip can scroll and moves the strip; tells
    // onOffsetChange every time, also when nothing moved.
    void setOffset(double offset, bool animated = false);
    double maxOffset() const { return scroll().maxOffset(); }
    std::function<void(double offset)> onOffsetChange;

    // The fade of the strip's ends as it stands; none while nothing lies beyond them.
    std::optional<ToolbarStripFade> fade() const { return fade_; }
    // Lays the parts out for the current size (done on every resize).
    void layoutContent();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    ToolbarStripScroll scroll() const;
    // Masks the strip's clip with a gradient while it overflows.
    void updateArrows();

    std::shared_ptr<const ToolbarButtonEnvironment> environment_;
    DesktopToolbarLayout::Grid grid_;
    ToolbarSide side_;
    QWidget* clip_;
    QWidget* document_;
    ToolbarButton* grip_;
    ToolbarButton* resolution_;
    ToolbarButton* settings_;
    std::unique_ptr<ToolbarButton> restore_;
    QWidget* pedestal_;
    ToolbarButton* applicationButton_ = nullptr;
    ToolbarButton* windowButton_ = nullptr;
    ToolbarButton* collapse_;
    std::vector<ToolbarButton*> buttons_;
    double offset_ = 0;
    std::optional<ToolbarStripFade> fade_;
    QGraphicsOpacityEffect* fadeEffect_ = nullptr;
};

}  // namespace dorvane
