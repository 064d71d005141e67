#include "Dorvane/InputViews/LauncherDecorations.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/WrappedText.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"

namespace dorvane {

using Metrics = LauncherViewMetrics;

namespace {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace

LauncherErrorBanner::LauncherErrorBanner(QWidget* parent) : QWidget(parent) {
    setFixedHeight(static_cast<int>(Metrics::bannerHeight));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    DesignTokens::repaintOnAppearanceChange(this);
}

void LauncherErrorBanner::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleName(text);
    update();
}

void LauncherErrorBanner::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    const QColor red = DesignTokens::Colors::red.resolved(dark);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(rect(), Metrics::bannerCornerRadius, Metrics::bannerCornerRadius);
    painter.fillPath(card, withOpacity(red, Metrics::bannerFillOpacity));

    const double symbolSize = Metrics::bannerSymbolSize;
    const QRectF symbol(Metrics::bannerHorizontalPadding, 0, symbolSize, height());
    Symbols::paint(painter, symbol, "exclamationmark.triangle.fill", symbolSize, red);

    const QFont font = DesignTokens::font(Metrics::bannerFont);
    const QRectF area = textArea();
    const QStringList shown = lines();
    const QFontMetricsF metrics(font);
    double y = (height() - metrics.lineSpacing() * static_cast<double>(shown.size())) / 2;
    painter.setFont(font);
    painter.setPen(DesignTokens::Colors::textPrimary.resolved(dark));
    for (const QString& line : shown) {
        painter.drawText(QRectF(area.left(), y, area.width(), metrics.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter,
                         line);
        y += metrics.lineSpacing();
    }
}

QRectF LauncherErrorBanner::textArea() const {
    const double left = Metrics::bannerHorizontalPadding + Metrics::bannerSymbolSize + Metrics::bannerSpacing;
    return QRectF(left, 0, std::max(0.0, width() - Metrics::bannerHorizontalPadding - left), height());
}

QStringList LauncherErrorBanner::lines() const {
    return wrappedLines(text_, DesignTokens::font(Metrics::bannerFont), textArea().width(), Metrics::bannerLineLimit);
}

const QString& LauncherEmptyState::message() {
    static const QString text =
        QString::fromUtf8(Metrics::emptyMessage.data(), static_cast<qsizetype>(Metrics::emptyMessage.size()));
    return text;
}

LauncherEmptyState::LauncherEmptyState(QWidget* parent) : QWidget(parent) {
    setAccessibleName(message());
    DesignTokens::repaintOnAppearanceChange(this);
}

void LauncherEmptyState::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    const QColor primary = DesignTokens::Colors::textPrimary.resolved(dark);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF symbol(0, Metrics::emptyTopPadding, width(), Metrics::emptySymbolSize);
    Symbols::paint(painter, symbol, "square.dashed", Metrics::emptySymbolSize, withOpacity(primary, Metrics::emptySymbolOpacity));
    const QFont font = DesignTokens::font(Metrics::emptyFont);
    painter.setFont(font);
    painter.setPen(withOpacity(primary, Metrics::emptyTextOpacity));
    painter.drawText(QRectF(0, symbol.bottom() + Metrics::emptySpacing, width(), QFontMetricsF(font).height()),
                     Qt::AlignHCenter | Qt::AlignVCenter, message());
}

LauncherSectionHeader::LauncherSectionHeader(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    DesignTokens::repaintOnAppearanceChange(this);
}

void LauncherSectionHeader::setTexts(const QString& title, const QString& count) {
    if (title == title_ && count == count_) return;
    title_ = title;
    count_ = count;
    setAccessibleName(title + QLatin1Char(' ') + count);
    update();
}

void LauncherSectionHeader::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    const QFont titleFont = DesignTokens::font(Metrics::titleFont);
    const QFont countFont = DesignTokens::font(Metrics::countFont);
    const double titleWidth = QFontMetricsF(titleFont).horizontalAdvance(title_);
    const QRectF title(Metrics::headerPadding, 0, titleWidth, height());
    painter.setFont(titleFont);
    painter.setPen(DesignTokens::Colors::textPrimary.resolved(dark));
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, title_);
    painter.setFont(countFont);
    // The secondary grey of the symbols, for the count.
    painter.setPen(DesignTokens::Colors::icon.resolved(dark));
    painter.drawText(QRectF(title.right() + Metrics::headerSpacing, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter,
                     count_);
}

LauncherSectionView::LauncherSectionView(QWidget* parent) : QWidget(parent), header_(new LauncherSectionHeader(this)) {}

LauncherNameBubble::LauncherNameBubble(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    DesignTokens::repaintOnAppearanceChange(this);
}

void LauncherNameBubble::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    resize(sizeHint());
    update();
}

QSize LauncherNameBubble::sizeHint() const {
    const QFontMetricsF metrics(DesignTokens::font(Metrics::bubbleFont));
    return QSizeF(std::ceil(metrics.horizontalAdvance(text_)) + 2 * Metrics::bubbleHorizontalPadding,
                  std::ceil(metrics.height()) + 2 * Metrics::bubbleVerticalPadding)
        .toSize();
}

void LauncherNameBubble::paintEvent(QPaintEvent* /*event*/) {
    const bool dark = VisualAppearance::shared().dark();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);
    painter.fillPath(capsule, DesignTokens::Colors::surfaceElevated.resolved(dark));
    painter.setFont(DesignTokens::font(Metrics::bubbleFont));
    painter.setPen(DesignTokens::Colors::textPrimary.resolved(dark));
    painter.drawText(bounds, Qt::AlignCenter, text_);
}

}  // namespace dorvane
