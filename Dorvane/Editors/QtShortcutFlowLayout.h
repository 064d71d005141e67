#pragma once

#include <vector>

#include <QLayout>

#include "DorvaneCore/Editors/ShortcutFlowLayout.h"

namespace dorvane {

// An application's chips in rows that wrap (ShortcutFlowLayout), as a Qt layout: each item
// is offered at most the row's width, and a container that proposes no width gets the
// layout's 460 points. Hidden items take no room. Keeps no cache.
class QtShortcutFlowLayout final : public QLayout {
public:
    explicit QtShortcutFlowLayout(QWidget* parent = nullptr, double spacing = ShortcutFlowLayout::chipSpacing);
    ~QtShortcutFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    // Moves the item of `widget` to `index`, keeping the others in order.
    void moveWidget(QWidget* widget, int index);

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

    // Where the shown items lie for a width, relative to the layout's origin.
    ShortcutFlowLayout::Arrangement arrangement(double width) const;

private:
    std::vector<QLayoutItem*> shownItems() const;

    ShortcutFlowLayout flow_;
    std::vector<QLayoutItem*> items_;
};

}  // namespace dorvane
