#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "DorvaneCore/QuickActions/OperationCard.h"
#include "DorvaneCore/QuickActions/OperationMoves.h"

namespace dorvane {

class OperationDragHandle;
class PlainButton;
class ToggleSwitch;

// What an operation card shows next to its grip: the symbol, the title and, for a named
// shortcut, its key in monospaced type below; both lines cut short when the card is narrow.
class OperationHeading final : public QWidget {
public:
    explicit OperationHeading(QWidget* parent = nullptr);

    void set(const std::string& symbol, const QString& title, const QString& secondLine);
    const QString& title() const { return title_; }
    const QString& secondLine() const { return secondLine_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string symbol_;
    QString title_;
    QString secondLine_;
};

// One operation of the quick-actions page: the grip, the heading, the switch and the pencil,
// on the card colour. It is kept for as long as its operation exists (a republish moves it,
// never rebuilds it) and shows whatever card it is given last. Offers "前移" and "后移" to
// assistive technology.
class OperationCardView final : public QWidget {
public:
    explicit OperationCardView(QWidget* parent = nullptr);

    void render(const OperationCard& card);
    const OperationCard& card() const { return card_; }

    OperationDragHandle* grip() const { return grip_; }
    OperationHeading* heading() const { return heading_; }
    ToggleSwitch* toggle() const { return toggle_; }
    PlainButton* pencil() const { return pencil_; }

    std::function<void(bool)> onToggle;
    std::function<void()> onEdit;
    std::function<void(OperationStep)> onStep;
    // Each new size the card is laid out at.
    std::function<void(QSize)> onResize;

    // What the accessibility actions do.
    void step(OperationStep direction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    OperationCard card_;
    OperationDragHandle* grip_;
    OperationHeading* heading_;
    ToggleSwitch* toggle_;
    PlainButton* pencil_;
};

}  // namespace dorvane
