#include "Dorvane/Visual/WrappedText.h"

#include <optional>
#include <vector>

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

namespace dorvane {

namespace {

// A place where a line may end: the index of the character that then starts the next line.
struct Break {
    qsizetype at;
    bool keepsWords;
};

char32_t codePointBefore(const QString& text, qsizetype at) {
    const QChar last = text.at(at - 1);
    if (last.isLowSurrogate() && at >= 2 && text.at(at - 2).isHighSurrogate()) {
        return QChar::surrogateToUcs4(text.at(at - 2), last);
    }
    return last.unicode();
}

char32_t codePointAt(const QString& text, qsizetype at) {
    const QChar first = text.at(at);
    if (first.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
        return QChar::surrogateToUcs4(first, text.at(at + 1));
    }
    return first.unicode();
}

bool isIdeograph(char32_t c) {
    switch (QChar::script(c)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul: return true;
        default: return false;
    }
}

// The breaks the text allows, in order; those between two Han characters split a word.
std::vector<Break> breaksOf(const QString& text) {
    std::vector<Break> breaks;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < text.size(); at = finder.toNextBoundary()) {
        const bool insideWord = isIdeograph(codePointBefore(text, at)) && isIdeograph(codePointAt(text, at));
        breaks.push_back(Break{at, !insideWord});
    }
    return breaks;
}

// A line without the blanks it ends with: they take no room at a break.
QString lineText(const QString& text, qsizetype from, qsizetype to) {
    qsizetype end = to;
    while (end > from && text.at(end - 1).isSpace()) --end;
    return text.mid(from, end - from);
}

// Where the line that starts at `from` ends: at the last break that keeps words whole and
// fits, else at the last break that fits, else (a word wider than the line) at the first.
qsizetype lineEnd(const QString& text, const std::vector<Break>& breaks, qsizetype from, const QFontMetricsF& metrics,
                  double width) {
    std::optional<qsizetype> whole;
    std::optional<qsizetype> any;
    std::optional<qsizetype> first;
    for (const Break& candidate : breaks) {
        if (candidate.at <= from) continue;
        if (!first) first = candidate.at;
        if (metrics.horizontalAdvance(lineText(text, from, candidate.at)) > width) break;
        any = candidate.at;
        if (candidate.keepsWords) whole = candidate.at;
    }
    if (whole) return *whole;
    if (any) return *any;
    return first.value_or(text.size());
}

}  // namespace

QStringList wrappedLines(const QString& text, const QFont& font, double width, int lineLimit) {
    QStringList lines;
    if (lineLimit <= 0) return lines;
    // An empty text still takes its one line.
    if (text.isEmpty()) return {QString()};
    const QFontMetricsF metrics(font);
    const std::vector<Break> breaks = breaksOf(text);
    qsizetype from = 0;
    while (from < text.size()) {
        if (lines.size() == lineLimit - 1) {
            lines.push_back(metrics.elidedText(text.mid(from), Qt::ElideRight, width));
            break;
        }
        if (metrics.horizontalAdvance(lineText(text, from, text.size())) <= width) {
            lines.push_back(text.mid(from));
            break;
        }
        const qsizetype end = lineEnd(text, breaks, from, metrics, width);
        lines.push_back(lineText(text, from, end));
        from = end;
    }
    return lines;
}

}  // namespace dorvane
