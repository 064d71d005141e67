#pragma once

#include <string>
#include <string_view>

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

class QBoxLayout;
class QVBoxLayout;

namespace dorvane {

class TokenLabel;

// The pieces every settings page is built of: a row's symbol, a row (symbol, title and the
// row's control), a card holding rows with dividers, page titles and section headings.

// A one-point line in the separator colour: across between rows, upright beside the sidebar.
class SettingsSeparator final : public QWidget {
public:
    explicit SettingsSeparator(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A row's symbol: 15 points in a 28 × 28 frame.
class SettingIcon final : public QWidget {
public:
    explicit SettingIcon(std::string_view symbol, const AdaptiveColor& color = DesignTokens::Colors::icon,
                         QWidget* parent = nullptr);

    void set(std::string_view symbol, const AdaptiveColor& color);
    const std::string& symbol() const { return symbol_; }
    const AdaptiveColor& color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string symbol_;
    AdaptiveColor color_;
};

// A row: the symbol, the title in 13-point medium type on one line, a gap, and the row's
// control (the accessory), padded 14 by 10 points. The control's hidden label is its
// accessible name.
class SettingRow final : public QWidget {
public:
    SettingRow(const QString& title, std::string_view symbol, QWidget* accessory, QWidget* parent = nullptr);

    SettingIcon* icon() const { return icon_; }
    TokenLabel* title() const { return title_; }
    void setVerticalPadding(int points);

private:
    QBoxLayout* layout_;
    SettingIcon* icon_;
    TokenLabel* title_;
};

// A card: its rows stacked without spacing on the card colour, in a rounded rectangle of
// radius 10.
class SettingCard final : public QWidget {
public:
    explicit SettingCard(QWidget* parent = nullptr);

    void addRow(QWidget* row);
    // A line between two rows, starting under the row titles; a page hides it with the row
    // it separates.
    QWidget* addDivider();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* rows_;
};

// The page's title: 20-point semibold.
TokenLabel* settingsPageTitle(const QString& text, QWidget* parent = nullptr);
// A section's heading: 13-point semibold in the secondary colour.
TokenLabel* settingsSectionHeading(const QString& text, QWidget* parent = nullptr);
// A heading over its card, `spacing` points apart.
QWidget* settingsSection(const QString& heading, SettingCard* card, int spacing, QWidget* parent = nullptr);

}  // namespace dorvane
