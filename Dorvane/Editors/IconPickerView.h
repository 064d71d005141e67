#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QAbstractButton>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "Dorvane/Visual/AccessibleControl.h"
#include "Dorvane/Visual/TextField.h"
#include "DorvaneCore/Shortcuts/ShortcutIcon.h"

class QHBoxLayout;
class QLabel;
class QScrollArea;
class QVariantAnimation;

namespace dorvane {

class PlainButton;
class SymbolButton;
class TokenLabel;

// One icon of the picker: its symbol over its title on the neutral fill, outlined in the
// accent colour (and reported selected to assistive technology) while it is the current icon.
class IconCell final : public QAbstractButton, public AccessibleControl {
public:
    IconCell(ShortcutIcon icon, QWidget* parent = nullptr);

    ShortcutIcon icon() const { return icon_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    std::optional<bool> accessibleSelected() const override { return selected_; }
    bool pressAccessibly() override { return clickAccessibly(*this); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ShortcutIcon icon_;
    bool selected_ = false;
};

// The grid in which an icon of the 174-icon catalog is chosen: a short first page that
// always holds the current icon, the whole catalog when expanded, or the icons a search
// finds. It only reports a click through `choose` and keeps no selection of its own: the
// mark moves when the caller hands in another icon. Its 174 cells are made once and
// shown or hidden; expanding and searching start over each time it is shown, but for its
// window coming back.
class IconPickerView final : public QWidget {
public:
    IconPickerView(std::optional<ShortcutIcon> selected, std::function<void(ShortcutIcon)> choose,
                   std::function<bool()> reduceMotion, QWidget* parent = nullptr);
    ~IconPickerView() override;

    void setSelected(std::optional<ShortcutIcon> selected);

    TextField* searchField() const { return search_; }
    QAbstractButton* clearSearchButton() const;
    QAbstractButton* footerClearButton() const;
    QAbstractButton* expandButton() const;
    QWidget* emptyResults() const { return empty_; }
    QLabel* foundLabel() const;
    QScrollArea* gridArea() const { return area_; }
    IconCell* cell(ShortcutIcon icon) const;
    bool isExpanded() const { return expanded_; }
    // The icons shown now, in their order.
    std::vector<ShortcutIcon> shownIcons() const { return shown_; }

    // Shows what the search, the expansion and the current icon select; runs on every change.
    void render();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    class Grid;

    // The construction's steps, top to bottom.
    void buildEmptyResults();
    void buildGrid();
    QHBoxLayout* buildFooter();
    void wire();
    void toggleExpanded();
    void setAreaHeight(int height, bool animated);
    int areaHeightFor(std::size_t count, bool scrolling) const;
    void scrollToSelection();

    std::optional<ShortcutIcon> selected_;
    std::function<void(ShortcutIcon)> choose_;
    std::function<bool()> reduceMotion_;
    bool expanded_ = false;
    std::vector<ShortcutIcon> shown_;
    bool scrolling_ = false;      // the grid sits in a scroll view (searching or expanded)
    bool expandedView_ = false;   // the whole catalog shows (expanded, not searching)
    bool hiddenWithWindow_ = false;

    TextField* search_;
    SymbolButton* clearInField_;
    QWidget* empty_;
    QScrollArea* area_;
    Grid* grid_;
    TokenLabel* found_;
    PlainButton* clearInFooter_;
    PlainButton* expand_;
    QPointer<QVariantAnimation> heightAnimation_;
    QTimer scrollTimer_;
};

}  // namespace dorvane
