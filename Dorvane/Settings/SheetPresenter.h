#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QPointer>
#include <QString>

class QDialog;
class QWidget;

namespace dorvane {

// The sheets and alerts of the settings window, opened with open() so that nothing waits in
// a nested event loop. A sheet lies inside the window: it hangs from the top edge of the
// owner, centred, with rounded lower corners and a shadow, over a dimming layer that covers
// the rest of the window and takes every press meant for it; the keyboard focus stays in the
// sheet. Alerts are window-modal dialogs. Each lives in a named slot and is keyed by the
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
        QMessageBox::ButtonRole role;
        std::function<void()> run;  // may be empty
    };

    explicit SheetPresenter(QWidget& owner);
    ~SheetPresenter();
    SheetPresenter(const SheetPresenter&) = delete;
    SheetPresenter& operator=(const SheetPresenter&) = delete;

    // A sheet showing `build()` while `identity` is present.
    void sheet(const std::string& slot, const std::optional<std::string>& identity, const Build& build,
               std::function<void()> dismissed);

    // An alert reading `text` with `actions` as its buttons, in that order. The action with
    // the reject role is the one Escape and Return choose. A chosen action runs before `dismissed`.
    void alert(const std::string& slot, const std::optional<std::string>& identity, const QString& text,
               std::vector<AlertAction> actions, std::function<void()> dismissed);

    // The dialog open in `slot`, if any (a QMessageBox for alerts).
    QDialog* presented(const std::string& slot) const;
    // The layer that dims the owner while a sheet is up (hidden otherwise).
    QWidget* dimming() const;
    std::optional<std::string> presentedIdentity(const std::string& slot) const;
    // Closes every open dialog without running `dismissed`.
    void closeAll();

private:
    struct Presented {
        std::string identity;
        QPointer<QDialog> dialog;
    };

    class Backdrop;

    bool keeps(const std::string& slot, const std::optional<std::string>& identity);
    // Places every open sheet and shows the dimming layer while one is up.
    void arrange();
    void close(const std::string& slot);
    void finished(const std::string& slot, QDialog* dialog, const std::function<void()>& chosen,
                  const std::function<void()>& dismissed);

    QWidget& owner_;
    QPointer<Backdrop> backdrop_;
    std::map<std::string, Presented> presented_;
};

}  // namespace dorvane
