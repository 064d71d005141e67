#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPointer>
#include <QString>

#include "Dorvane/Visual/SheetAlert.h"

class QDialog;
class QWidget;

namespace dorvane {

class SheetLayer;

// The sheets and alerts of the settings window, opened with open() so that nothing waits in
// a nested event loop. A sheet lies inside the window: it hangs from the top edge of the
// owner, centred, with rounded lower corners and a shadow, over a dimming layer that covers
// the rest of the window and takes every press meant for it; the keyboard focus stays in the
// sheet. An alert (SheetAlert) hangs from the same edge above the sheets, the dimming then
// lying over the sheets too. Each lives in a named slot and is keyed by the
// identity of the item it presents. The view calls sheet() or alert() for
// every slot each time it renders: the same identity keeps the open dialog (and whatever
// the user typed in it), another identity replaces it, none closes it. When the user
// dismisses one (Escape, the window's close button, an alert's button), `dismissed` runs
// and must empty the view's item; closing it from the view never runs it.
class SheetPresenter final {
public:
    using Build = std::function<std::unique_ptr<QWidget>()>;

    struct AlertAction {
        QString title;
        SheetAlert::Role role;
        std::function<void()> run;  // may be empty
    };

    explicit SheetPresenter(QWidget& owner);
    ~SheetPresenter();
    SheetPresenter(const SheetPresenter&) = delete;
    SheetPresenter& operator=(const SheetPresenter&) = delete;

    // A sheet showing `build()` while `identity` is present.
    void sheet(const std::string& slot, const std::optional<std::string>& identity, const Build& build,
               std::function<void()> dismissed);

    // An alert reading `text` (and `message` under it, when there is one) with `actions` as
    // its buttons, in that order. Return and Escape choose the cancelling action (the only
    // one, when there is just one). A chosen action runs before `dismissed`.
    void alert(const std::string& slot, const std::optional<std::string>& identity, const QString& text,
               const QString& message, std::vector<AlertAction> actions, std::function<void()> dismissed);

    // The dialog open in `slot`, if any (a SheetAlert for alerts).
    QDialog* presented(const std::string& slot) const;
    // The layer that dims the owner while a sheet or an alert is up (hidden otherwise).
    QWidget* dimming() const;
    std::optional<std::string> presentedIdentity(const std::string& slot) const;
    // Closes every open dialog without running `dismissed`.
    void closeAll();

private:
    struct Presented {
        std::string identity;
        QPointer<QDialog> dialog;
    };

    bool keeps(const std::string& slot, const std::optional<std::string>& identity);
    void close(const std::string& slot);
    void finished(const std::string& slot, QDialog* dialog, const std::function<void()>& chosen,
                  const std::function<void()>& dismissed);

    QWidget& owner_;
    QPointer<SheetLayer> layer_;
    std::map<std::string, Presented> presented_;
};

}  // namespace dorvane
