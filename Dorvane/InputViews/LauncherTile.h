#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include <QPixmap>
#include <QVariantAnimation>

#include "Dorvane/InputViews/LauncherPressButton.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "DorvaneCore/Launcher/LauncherApp.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane {

// One application's tile in the launcher, 64 × 64: its icon (decoded when the tile is first
// painted), a dot when it runs and the section marks running ones, a card behind it while
// hovered, pressed or previewed, a border while previewed, and the icon shrunk while pressed.
// Hover changes ease out over 0.12 s and press changes over 0.1 s, unless Reduce Motion is
// on; then nothing animates and a press does not shrink the icon.
class LauncherTile final : public LauncherPressButton {
public:
    // What the view asks the tile to look like.
    struct Look {
        bool hovered = false;
        bool pressed = false;
        bool previewed = false;
        friend bool operator==(const Look&, const Look&) = default;
    };

    LauncherTile(Timing timing, QWidget* parent = nullptr);

    // Shows `app`; its tooltip and accessible name follow. `iconFile` may be missing.
    void setApp(const LauncherApp& app, const std::filesystem::path& iconFile, bool showsRunningDot);
    const LauncherApp& app() const { return app_; }
    bool showsRunningDot() const { return showsRunningDot_ && app_.running; }

    void setLook(Look look);
    const Look& look() const { return look_; }
    // Where the animations are heading: the card behind the icon (none: clear) and its scale.
    std::optional<AdaptiveColor> targetFill() const;
    double targetScale() const;
    bool iconDecoded() const { return !icon_.isNull(); }

    // Called with true or false when the pointer starts or stops hovering this tile
    // ("app:" and the identifier, through the shared hover).
    std::function<void(bool)> onHover;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void animateTo(double duration);
    void requestIcon();

    LauncherApp app_;
    std::filesystem::path iconFile_;
    bool showsRunningDot_ = true;
    QPixmap icon_;
    std::uint64_t iconRequest_ = 0;  // tells a picture read for an earlier app to go
    Look look_;
    // The card eases from one fill to the other; either may be clear.
    std::optional<AdaptiveColor> fillFrom_;
    std::optional<AdaptiveColor> fillTo_;
    QVariantAnimation fillProgress_;
    QVariantAnimation scale_;
    dispatch::Observation hover_;
};

}  // namespace dorvane
