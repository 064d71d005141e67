#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace dorvane {

// `text` broken into the lines it takes at `width` in `font` (where the text allows a break,
// between any two Han characters), at most `lineLimit` of them: the last one shown holds the
// rest of the text, shortened with an ellipsis where it does not fit.
QStringList wrappedLines(const QString& text, const QFont& font, double width, int lineLimit);

}  // namespace dorvane
