#pragma once

#include <vector>

#include <QRect>

class QWidget;

namespace dorvane::screenshots {

// Where the small pieces of `window` (labels, buttons, icons, switches: its visible
// widgets without visible children, no taller than two rows) are drawn on screen now.
std::vector<QRect> drawnPieces(const QWidget& window);

// `area` with every edge moved off the pieces it would cut through, so that no text or
// glyph of the window behind comes out cut mid-way: inwards past the piece, or outwards
// over it where moving inwards would cut into `keep` (what the picture is of).
QRect clearOfCutPieces(QRect area, const QRect& keep, const std::vector<QRect>& pieces);

}  // namespace dorvane::screenshots
