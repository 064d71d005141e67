#pragma once

#include <optional>

#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Visual/GenerationGuard.h"
#include "DorvaneCore/Visual/GlassGeometry.h"



namespace dorvane {

// The glass background of every floating surface (toolbar, flyouts, launcher, resolution
// panel, notice, dropdown list): a rounded shape filled with `DesignTokens::NS::glassTint`,
// an optional backdrop behind the content, an optional one-pixel border, and the content
// on top. Corners are painted (never a window mask), so a translucent window shows the
// desktop through them; there is no blur (the platform offers none here).
//
//   auto* glass = new NativeGlassView(content, DesignTokens::radiusLg, false, DesignTokens::NS::glassBackdrop);
//   glass->attach(ToolbarSide::left, false);           // square where it meets the toolbar
//   glass->setHairline(DesignTokens::NS::toolbarHairline, ToolbarSide::left);
//   glass->reveal(ToolbarSide::left);                  // unfold out of the toolbar
class NativeGlassView : public QWidget {
public:
    // `content` is reparented into the view and fills the glass. `clear` asks for the
    // platform's clear glass style, which looks the same as the regular one here.
    NativeGlassView(QWidget* content, double cornerRadius, bool clear = false,
                    std::optional<AdaptiveColor> contentBackdrop = std::nullopt, QWidget* parent = nullptr);
    ~NativeGlassView() override;

    QWidget* embedded() const { return embedded_; }
    double cornerRadius() const { return cornerRadius_; }
    bool isClear() const { return clear_; }
    const std::optional<AdaptiveColor>& contentBackdrop() const { return contentBackdrop_; }

    // None while the surface stands alone (every corner rounded).
    const std::optional<glass::Corners>& attachedCorners() const { return attachedCorners_; }
    // The rounding of the backdrop and the border: the corner radius while standalone, 0
    // once attached (the outer shape then rounds the chosen corners only).
    double innerRadius() const { return glass::innerRadius(cornerRadius_, attachedCorners_.has_value()); }

    // Squares the corners that touch the other surface: `toolbar` true for the toolbar's
    // own surface, false for a panel beside a toolbar on `side`.
    void attach(ToolbarSide side, bool toolbar);
    // Stands alone again, every corner rounded.
    void detach();

    // The unfold: the surface grows out of the edge that faces a toolbar on `side`, over
    // 0.2 s, easing out. Nothing happens while Reduce Motion is on. A later reveal
    // replaces a running one; only the latest one's end removes the clip.
    void reveal(ToolbarSide side);
    // The running unfold, none when there is none.
    QVariantAnimation* revealAnimation() const { return revealAnimation_; }

    // Shows, changes or (with no colour) removes the border, drawn one device pixel wide
    // and left out along `omitting`.
    void setHairline(std::optional<AdaptiveColor> color, std::optional<ToolbarSide> omitting = std::nullopt);
    const std::optional<AdaptiveColor>& hairlineColor() const { return hairlineColor_; }
    std::optional<ToolbarSide> hairlineOmitted() const { return hairlineOmitted_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void finishReveal(GenerationGuard::Ticket ticket);

    QPointer<QWidget> embedded_;
    double cornerRadius_;
    bool clear_;
    std::optional<AdaptiveColor> contentBackdrop_;
    std::optional<glass::Corners> attachedCorners_;
    std::optional<AdaptiveColor> hairlineColor_;
    std::optional<ToolbarSide> hairlineOmitted_;

    GenerationGuard revealGuard_;
    QPointer<QVariantAnimation> revealAnimation_;
};

}  // namespace dorvane
