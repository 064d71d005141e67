#include "Dorvane/Visual/TextField.h"

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

QString cssColor(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'f', 3);
}

}  // namespace

TextField::TextField(Style style, const QString& placeholder, const QString& accessibleName, QWidget* parent)
    : QLineEdit(parent), style_(style) {
    setPlaceholderText(placeholder);
    setAccessibleName(accessibleName);
    setFont(DesignTokens::font(DesignTokens::fontBody));
    setFrame(style_ == Style::roundedBorder);
    if (style_ == Style::roundedBorder) setMinimumHeight(static_cast<int>(DesignTokens::controlHeight));
    applyLook();
    connect(&VisualAppearance::shared(), &VisualAppearance::changed, this, [this] { applyLook(); });
}

void TextField::showText(const QString& text) {
    if (this->text() != text) setText(text);
}

void TextField::applyLook() {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, DesignTokens::Colors::textPrimary.resolved());
    colours.setColor(QPalette::PlaceholderText, DesignTokens::Colors::textTertiary.resolved());
    setPalette(colours);
    const QString text = cssColor(DesignTokens::Colors::textPrimary.resolved());
    const QString selection = cssColor(DesignTokens::Colors::accent.resolved());
    if (style_ == Style::plain) {
        setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent; padding: 0; color: %1;"
                                     " selection-background-color: %2; }")
                          .arg(text, selection));
        return;
    }
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: %2px; padding: 0 6px;"
                                 " background: %3; color: %4; selection-background-color: %5; }"
                                 " QLineEdit:focus { border: 1px solid %5; }")
                      .arg(cssColor(DesignTokens::Colors::separator.resolved()))
                      .arg(DesignTokens::radiusSm)
                      .arg(cssColor(DesignTokens::Colors::card.resolved()), text, selection));
}

}  // namespace dorvane
