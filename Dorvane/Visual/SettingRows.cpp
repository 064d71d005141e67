#include "Dorvane/Visual/SettingRows.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "Dorvane/Visual/SettingsMetrics.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

SettingsSeparator::SettingsSeparator(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
    if (orientation == Qt::Horizontal) {
        setFixedHeight(SettingsMetrics::dividerThickness);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(SettingsMetrics::separatorWidth);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    DesignTokens::repaintOnAppearanceChange(this);
}

void SettingsSeparator::paintEvent(QPaintEvent* /*event*/) {
    QPainter(this).fillRect(rect(), DesignTokens::Colors::separator.resolved());
}

SettingIcon::SettingIcon(std::string_view symbol, const AdaptiveColor& color, QWidget* parent)
    : QWidget(parent), symbol_(symbol), color_(color) {
    setFixedSize(SettingsMetrics::rowIconFrame, SettingsMetrics::rowIconFrame);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    DesignTokens::repaintOnAppearanceChange(this);
}

void SettingIcon::set(std::string_view symbol, const AdaptiveColor& color) {
    if (symbol_ == symbol && color_.name == std::string_view(color.name)) return;
    symbol_ = symbol;
    color_ = color;
    update();
}

void SettingIcon::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    Symbols::paint(painter, QRectF(rect()), symbol_, SettingsMetrics::rowSymbolSize, color_.resolved());
}

SettingRow::SettingRow(const QString& title, std::string_view symbol, QWidget* accessory, QWidget* parent)
    : QWidget(parent),
      layout_(new QHBoxLayout(this)),
      icon_(new SettingIcon(symbol, DesignTokens::Colors::icon, this)),
      title_(new TokenLabel(title, DesignTokens::font(DesignTokens::fontBody, FontWeight::medium),
                            DesignTokens::Colors::textPrimary, this)) {
    layout_->setSpacing(SettingsMetrics::rowSpacing);
    setVerticalPadding(SettingsMetrics::rowVerticalPadding);
    layout_->addWidget(icon_, 0, Qt::AlignVCenter);
    layout_->addWidget(title_, 0, Qt::AlignVCenter);
    layout_->addStretch(1);
    if (accessory) layout_->addWidget(accessory, 0, Qt::AlignVCenter);
}

void SettingRow::setVerticalPadding(int points) {
    layout_->setContentsMargins(SettingsMetrics::rowHorizontalPadding, points, SettingsMetrics::rowHorizontalPadding,
                                points);
}

SettingCard::SettingCard(QWidget* parent) : QWidget(parent), rows_(new QVBoxLayout(this)) {
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);
    DesignTokens::repaintOnAppearanceChange(this);
}

void SettingCard::addRow(QWidget* row) { rows_->addWidget(row); }

QWidget* SettingCard::addDivider() {
    auto* line = new QWidget(this);
    auto* indent = new QHBoxLayout(line);
    indent->setContentsMargins(SettingsMetrics::dividerIndent, 0, 0, 0);
    indent->addWidget(new SettingsSeparator(Qt::Horizontal, line));
    rows_->addWidget(line);
    return line;
}

void SettingCard::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(shape, DesignTokens::Colors::card.resolved());
}

TokenLabel* settingsPageTitle(const QString& text, QWidget* parent) {
    return new TokenLabel(text, DesignTokens::font(DesignTokens::fontTitle, FontWeight::semibold),
                          DesignTokens::Colors::textPrimary, parent);
}

TokenLabel* settingsSectionHeading(const QString& text, QWidget* parent) {
    return new TokenLabel(text, DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold),
                          DesignTokens::Colors::textSecondary, parent);
}

QWidget* settingsSection(const QString& heading, SettingCard* card, int spacing, QWidget* parent) {
    auto* section = new QWidget(parent);
    auto* stack = new QVBoxLayout(section);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(spacing);
    stack->addWidget(settingsSectionHeading(heading, section));
    stack->addWidget(card);
    return section;
}

}  // namespace dorvane
