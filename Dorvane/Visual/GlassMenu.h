#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QPointer>
#include <QRect>
#include <QString>

#include "Dorvane/Visual/GlassDropdownController.h"

class QWidget;

namespace dorvane {

// A short menu of commands ("移除应用", "停用") on the glass of the dropdown lists: rounded,
// shadowed, opened under the control it belongs to (above it when there is more room
// there), never across its window's left or right edge and never beyond the host's screen
// that holds it. A command that deletes or removes is written in the destructive colour. A
// click on a row, or Return on the highlighted one, closes the menu and then runs the
// command; Escape, a click elsewhere, or its window moving or losing the focus only closes
// it. popup() shows it and returns: nothing waits in a nested loop.
class GlassMenu final {
public:
    struct Command {
        QString title;
        bool destructive = false;
        std::function<void()> run;
    };

    // `label` names the menu for assistive technology.
    explicit GlassMenu(QString label);
    void setLabel(QString label) { label_ = std::move(label); }
    const QString& label() const { return label_; }

    // Shows `commands` under `anchor` (above it when there is more room there), closing
    // the menu first if it is open.
    void popup(QWidget& anchor, std::vector<Command> commands);
    void close() { controller_.close(); }

    bool isOpen() const { return controller_.state().isOpen(); }
    const std::vector<Command>& commands() const { return commands_; }
    const GlassDropdownPopup& popup() const { return controller_.popup(); }
    // Chooses a row as a click on it does.
    void choose(int row) { controller_.commit(row); }

    // Where a menu for a control at `trigger` may lie (Qt's global space): the visible
    // frame of the screen a dropdown list there would keep to, narrowed to the control's
    // window across.
    std::optional<QRect> bounds(const QRect& trigger) const;

private:
    QString label_;
    QPointer<QWidget> window_;
    std::vector<Command> commands_;
    GlassDropdownController<int> controller_;
};

}  // namespace dorvane
