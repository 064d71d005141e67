#pragma once

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "DorvaneCore/Visual/OverflowEdgeFade.h"

class QScrollArea;

namespace dorvane {

// Fades the top and bottom 24 points of a scroll area's visible part while content lies
// hidden beyond that edge, by laying a gradient of the background colour over the
// viewport (the content under it stays interactive). `fadeColor` is the colour behind
// the content: the page background on settings pages, the glass surface in panels.
class OverflowEdgeFadeOverlay final : public QWidget {
public:
    static OverflowEdgeFadeOverlay* install(QScrollArea* scrollArea,
                                            const AdaptiveColor& fadeColor = DesignTokens::Colors::pageBackground);

    const OverflowEdgeFade& fade() const { return fade_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OverflowEdgeFadeOverlay(QScrollArea* scrollArea, AdaptiveColor fadeColor);
    void refresh();

    QScrollArea* scrollArea_;
    // Watched by itself: its events go on while the scroll area is being taken apart.
    QWidget* viewport_;
    AdaptiveColor fadeColor_;
    OverflowEdgeFade fade_;
};

}  // namespace dorvane
