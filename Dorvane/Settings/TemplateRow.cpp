#include "Dorvane/Settings/TemplateRow.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/ScreenGlyph.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/Symbols.h"

namespace dorvane {

namespace {

constexpr double kPadding = 12;
constexpr double kSpacing = 12;
constexpr double kTextSpacing = 3;
constexpr double kGlyphWidth = 34;
constexpr double kGlyphHeight = 22;
constexpr double kStroke = 0.55;
constexpr double kStatusSymbolSpacing = 4;

QFont titleFont() { return DesignTokens::font(DesignTokens::fontBody, FontWeight::medium); }
QFont sizeFont() { return DesignTokens::font(DesignTokens::fontCaption); }
QFont statusFont() { return DesignTokens::font(DesignTokens::fontBody); }

double textHeight() {
    return QFontMetricsF(titleFont()).height() + kTextSpacing + QFontMetricsF(sizeFont()).height();
}

}  // namespace

TemplateRow::TemplateRow(const DeviceTemplateCatalog::Entry& entry, std::function<void(const CustomPreset&)> add,
                         QWidget* parent)
    : QWidget(parent),
      entryID_(entry.id),
      title_(QString::fromStdString(entry.title())),
      size_(QStringLiteral("%1 × %2").arg(entry.logicalWidth()).arg(entry.logicalHeight())) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title_ + QStringLiteral("，") + size_);
    glyph_ = new ScreenGlyph(
        ScreenGlyph::Values{Dimensions(entry.logicalWidth(), entry.logicalHeight()), false, kGlyphWidth, kGlyphHeight,
                            kStroke},
        DesignTokens::Colors::accent.resolved(), this);
    add_ = new StyledButton(ButtonStyle::secondary, ButtonSize::small, QStringLiteral("添加"), this);
    add_->setAccessibleName(QStringLiteral("添加") + title_);
    connect(add_, &QAbstractButton::clicked, this, [preset = entry.preset(), add = std::move(add)] { add(preset); });
    DesignTokens::repaintOnAppearanceChange(this);
    place();
}

void TemplateRow::setStatus(TemplateRowStatus status) {
    if (status == status_) return;
    status_ = status;
    add_->setVisible(status_ == TemplateRowStatus::addable);
    auto values = glyph_->values();
    values.selected = status_ == TemplateRowStatus::inUse;
    glyph_->setValues(values);
    setAccessibleDescription(statusText());
    update();
}

QString TemplateRow::statusText() const {
    switch (status_) {
        case TemplateRowStatus::inUse: return QStringLiteral("使用中");
        case TemplateRowStatus::added: return QStringLiteral("已添加");
        case TemplateRowStatus::addable: break;
    }
    return QString();
}

QSize TemplateRow::sizeHint() const {
    const double content = std::max({textHeight(), kGlyphHeight + 2, DesignTokens::smallControlHeight});
    return QSize(static_cast<int>(2 * kPadding + kGlyphWidth + 2), static_cast<int>(std::ceil(content + 2 * kPadding)));
}

void TemplateRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void TemplateRow::place() {
    glyph_->move(static_cast<int>(kPadding), (height() - glyph_->height()) / 2);
    const QSize button = add_->sizeHint();
    add_->setGeometry(static_cast<int>(width() - kPadding - button.width()), (height() - button.height()) / 2,
                      button.width(), button.height());
}

void TemplateRow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(card, DesignTokens::Colors::card.resolved());

    // The status at the end, drawn unless it is the button.
    double end = width() - kPadding;
    if (status_ == TemplateRowStatus::addable) {
        end = add_->geometry().left();
    } else {
        const bool inUse = status_ == TemplateRowStatus::inUse;
        const QColor color = (inUse ? DesignTokens::Colors::accent : DesignTokens::Colors::textSecondary).resolved();
        const QString text = statusText();
        const QFontMetricsF metrics(statusFont());
        const double textWidth = metrics.horizontalAdvance(text);
        const double symbol = DesignTokens::fontBody;
        const double left = end - textWidth - kStatusSymbolSpacing - symbol;
        Symbols::paint(painter, QRectF(left, 0, symbol, height()), inUse ? "checkmark.circle.fill" : "checkmark",
                       symbol, color);
        painter.setFont(statusFont());
        painter.setPen(color);
        painter.drawText(QRectF(end - textWidth, 0, textWidth, height()), Qt::AlignVCenter | Qt::AlignLeft, text);
        end = left;
    }

    const double textLeft = kPadding + glyph_->width() + kSpacing;
    const double available = std::max(0.0, end - kSpacing - textLeft);
    const double top = (height() - textHeight()) / 2;
    const QFontMetricsF titleMetrics(titleFont());
    painter.setFont(titleFont());
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    painter.drawText(QRectF(textLeft, top, available, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(title_, Qt::ElideRight, available));
    painter.setFont(sizeFont());
    painter.setPen(DesignTokens::Colors::textSecondary.resolved());
    painter.drawText(QRectF(textLeft, top + titleMetrics.height() + kTextSpacing, available,
                            QFontMetricsF(sizeFont()).height()),
                     Qt::AlignLeft | Qt::AlignVCenter, size_);
}

}  // namespace dorvane
