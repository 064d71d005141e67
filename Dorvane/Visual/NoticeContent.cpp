#include "Dorvane/Visual/NoticeContent.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QFontMetricsF>
#include <QPainter>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

using Layout = TransientNoticeLayout;

QString qt(const std::string& text) { return QString::fromStdString(text); }

double wrappedHeight(const QString& text, const TextFont& font, double width) {
    const QFontMetricsF metrics(DesignTokens::font(font));
    const QRectF bounds(0, 0, std::max(width, 1.0), std::numeric_limits<int>::max());
    return std::ceil(metrics.boundingRect(bounds, Qt::TextWordWrap, text).height());
}

}  // namespace

NoticeContent::NoticeContent(NoticeText text, QWidget* parent) : QWidget(parent), text_(std::move(text)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    DesignTokens::repaintOnAppearanceChange(this);
}

double NoticeContent::columnWidth(double width) const { return std::max(width - Layout::horizontalChrome, 1.0); }

double NoticeContent::titleHeight(double column) const { return wrappedHeight(qt(text_.title), Layout::titleFont, column); }

double NoticeContent::detailHeight(double column) const {
    return text_.detail ? wrappedHeight(qt(*text_.detail), Layout::detailFont, column) : 0;
}

double NoticeContent::fittingHeight(double width) const {
    const double column = columnWidth(width);
    double textHeight = titleHeight(column);
    if (text_.detail) textHeight += Layout::lineSpacing + detailHeight(column);
    return Layout::padding + std::max(textHeight, Layout::iconSize) + Layout::padding;
}

void NoticeContent::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double column = columnWidth(width());
    const double left = Layout::padding + Layout::iconSize + Layout::iconSpacing;
    const QRectF icon(Layout::padding, Layout::padding, Layout::iconSize, Layout::iconSize);
    Symbols::paint(painter, icon, symbol, Layout::iconFont.pointSize, DesignTokens::Colors::textSecondary.resolved(dark));

    const double title = titleHeight(column);
    painter.setFont(DesignTokens::font(Layout::titleFont));
    painter.setPen(DesignTokens::Colors::textPrimary.resolved(dark));
    painter.drawText(QRectF(left, Layout::padding, column, title), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                     qt(text_.title));
    if (!text_.detail) return;
    const double top = Layout::padding + title + Layout::lineSpacing;
    painter.setFont(DesignTokens::font(Layout::detailFont));
    painter.setPen(DesignTokens::Colors::textSecondary.resolved(dark));
    painter.drawText(QRectF(left, top, column, detailHeight(column)), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                     qt(*text_.detail));
}

}  // namespace dorvane
