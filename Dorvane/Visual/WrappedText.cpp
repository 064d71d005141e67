#include "Dorvane/Visual/WrappedText.h"

#include <QFontMetricsF>
#include <QTextLayout>

namespace dorvane {

QStringList wrappedLines(const QString& text, const QFont& font, double width, int lineLimit) {
    QStringList lines;
    if (lineLimit <= 0) return lines;
    QTextLayout layout(text, font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == lineLimit - 1) {
            lines.push_back(QFontMetricsF(font).elidedText(text.mid(line.textStart()), Qt::ElideRight, width));
            break;
        }
        lines.push_back(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

}  // namespace dorvane
