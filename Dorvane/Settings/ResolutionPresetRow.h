#pragma once

#include <functional>

#include <QWidget>

#include "Dorvane/Visual/AccessibleControl.h"
#include "DorvaneCore/ResolutionModels/ResolutionPageRows.h"

namespace dorvane {

class ScreenGlyph;
class SymbolButton;
class TokenLabel;

// One custom preset on the resolution page: its screen outline, title and size, and the
// pencil and the bin. The row itself takes no click. The one in effect sits on a pale
// accent with an accented outline and is announced as selected. Kept for its preset's id
// and shown again with each republished row.
class ResolutionPresetRow final : public QWidget, public AccessibleControl {
public:
    ResolutionPresetRow(const ResolutionPageRow& row, std::function<void(const SpecDraft&)> edit,
                        std::function<void(const DeletionTarget&)> remove, QWidget* parent = nullptr);

    void render(const ResolutionPageRow& row);
    const ResolutionPageRow& row() const { return row_; }

    QAccessible::Role accessibleRole() const override { return QAccessible::ListItem; }
    std::optional<bool> accessibleSelected() const override { return row_.active; }
    bool acceptsAccessiblePress() const override { return false; }
    bool pressAccessibly() override { return false; }

    ScreenGlyph* glyph() const { return glyph_; }
    TokenLabel* title() const { return title_; }
    TokenLabel* size() const { return size_; }
    SymbolButton* editButton() const { return edit_; }
    SymbolButton* deleteButton() const { return delete_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ResolutionPageRow row_;
    QWidget* text_;
    ScreenGlyph* glyph_;
    TokenLabel* title_;
    TokenLabel* size_;
    SymbolButton* edit_;
    SymbolButton* delete_;
};

}  // namespace dorvane
