#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace dorvane {

// `text` broken into the lines it takes at `width` in `font`, at most `lineLimit` of them:
// the last one shown holds the rest of the text, shortened with an ellipsis where it does
// not fit. A line ends at the last break that fits, preferring the breaks that keep words
// whole (at spaces, beside "·", between a Latin word and a Han one) to those inside a run
// of Han characters, which are taken only where nothing else fits ("iPhone 17 Pro Max ·" /
// "横屏", never "… · 横" / "屏"). A word wider than the line stands alone on its line.
QStringList wrappedLines(const QString& text, const QFont& font, double width, int lineLimit);

}  // namespace dorvane
