#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QString>
#include <QWidget>

class QScrollArea;

namespace dorvane {

// What an open dropdown list shows: its rows (the selected one checked) and the row under
// the keyboard or the pointer.
struct DropdownMenuRow {
    QString title;
    bool selected = false;
    bool destructive = false;  // a menu's command that deletes or removes, in the destructive colour
    friend bool operator==(const DropdownMenuRow&, const DropdownMenuRow&) = default;
};

struct DropdownMenuModel {
    std::vector<DropdownMenuRow> rows;
    std::optional<int> highlighted;
    friend bool operator==(const DropdownMenuModel&, const DropdownMenuModel&) = default;
};

// The rows of an open dropdown list: 28-point rows with a checkmark column and the title,
// the highlighted row on a rounded fill, 4 points of padding around them. Longer lists
// than fit scroll, without scroll bars, and follow the highlight. Drawn from its model
// alone; the pointer entering a row calls `hover`, a click on a row calls `select`. For
// accessibility each row is a button named by its title, checked when selected, whose
// press chooses it like a click.
class DropdownMenuView final : public QWidget {
public:
    using RowAction = std::function<void(int row)>;

    DropdownMenuView(RowAction select, RowAction hover, QWidget* parent = nullptr);

    // Redraws from `model` and scrolls the highlighted row into view, as little as needed.
    void setModel(DropdownMenuModel model);
    const DropdownMenuModel& model() const { return model_; }

    // Where row `row` is drawn now, in this view's coordinates (scrolling included).
    QRect rowRect(int row) const;
    // How far the rows are scrolled, in points.
    int scrollOffset() const;

    // Chooses `row` as a click on it does.
    void activateRow(int row);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class Rows;

    void scrollToHighlight();

    RowAction select_;
    RowAction hover_;
    DropdownMenuModel model_;
    QScrollArea* scrollArea_;
    Rows* rows_;
};

}  // namespace dorvane
