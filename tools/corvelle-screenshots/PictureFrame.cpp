#include "tools/corvelle-screenshots/PictureFrame.h"

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane::screenshots {

namespace {

bool hasVisibleChild(const QWidget& widget) {
    for (const QObject* child : widget.children()) {
        const auto* shown = qobject_cast<const QWidget*>(child);
        if (shown != nullptr && !shown->isWindow() && shown->isVisible()) return true;
    }
    return false;
}

}  // namespace

std::vector<QRect> drawnPieces(const QWidget& window) {
    // Taller ones are backgrounds and overlays, not something a line of text sits in.
    const int tallest = static_cast<int>(2 * DesignTokens::controlHeight);
    std::vector<QRect> pieces;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isWindow() || !widget->isVisible() || hasVisibleChild(*widget)) continue;
        // The part its parents let show (a row scrolled half out of its page is cut there).
        const QRect shown = widget->visibleRegion().boundingRect();
        if (shown.isEmpty() || shown.height() > tallest) continue;
        pieces.emplace_back(widget->mapToGlobal(shown.topLeft()), shown.size());
    }
    return pieces;
}

QRect clearOfCutPieces(QRect area, const QRect& keep, const std::vector<QRect>& pieces) {
    // Each move takes one piece wholly in or out; a few rounds settle pieces that meet.
    for (int round = 0; round < 8; ++round) {
        bool moved = false;
        for (const QRect& piece : pieces) {
            if (!piece.intersects(area) || area.contains(piece)) continue;
            moved = true;
            if (piece.top() < area.top()) {
                area.setTop(piece.bottom() < keep.top() ? piece.bottom() + 1 : piece.top());
            } else if (piece.bottom() > area.bottom()) {
                area.setBottom(piece.top() > keep.bottom() ? piece.top() - 1 : piece.bottom());
            } else if (piece.left() < area.left()) {
                area.setLeft(piece.right() < keep.left() ? piece.right() + 1 : piece.left());
            } else {
                area.setRight(piece.left() > keep.right() ? piece.left() - 1 : piece.right());
            }
        }
        if (!moved) break;
    }
    return area;
}

}  // namespace dorvane::screenshots
