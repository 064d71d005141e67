#include "Dorvane/Settings/SheetPresenter.h"

#include <QPushButton>
#include <QDialog>
#include <QPainter>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

namespace {

// A sheet: its content on the page background, sized by the content.
class SheetDialog final : public QDialog {
public:
    SheetDialog(QWidget& owner, std::unique_ptr<QWidget> content) : QDialog(&owner) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        if (content) {
            setAccessibleName(content->accessibleName());
            layout->addWidget(content.release());
        }
        DesignTokens::repaintOnAppearanceChange(this);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter(this).fillRect(rect(), DesignTokens::Colors::pageBackground.resolved());
    }
};

}  // namespace

SheetPresenter::SheetPresenter(QWidget& owner) : owner_(owner) {}

SheetPresenter::~SheetPresenter() { closeAll(); }

bool SheetPresenter::keeps(const std::string& slot, const std::optional<std::string>& identity) {
    const auto open = presented_.find(slot);
    if (open != presented_.end() && identity && open->second.identity == *identity && open->second.dialog) return true;
    close(slot);
    return !identity;
}

void SheetPresenter::sheet(const std::string& slot, const std::optional<std::string>& identity, const Build& build,
                           std::function<void()> dismissed) {
    if (keeps(slot, identity)) return;
    auto* dialog = new SheetDialog(owner_, build ? build() : nullptr);
    presented_[slot] = Presented{*identity, dialog};
    QObject::connect(dialog, &QDialog::finished, dialog, [this, slot, dialog, dismissed = std::move(dismissed)] {
        finished(slot, dialog, {}, dismissed);
    });
    dialog->open();
}

void SheetPresenter::alert(const std::string& slot, const std::optional<std::string>& identity, const QString& text,
                           std::vector<AlertAction> actions, std::function<void()> dismissed) {
    if (keeps(slot, identity)) return;
    auto* box = new QMessageBox(&owner_);
    box->setText(text);
    box->setIcon(QMessageBox::NoIcon);
    std::map<QAbstractButton*, std::function<void()>> runs;
    for (auto& action : actions) {
        QPushButton* button = box->addButton(action.title, action.role);
        // Return and Escape both take the cancelling answer: nothing is lost by a stray key.
        if (action.role == QMessageBox::RejectRole) {
            box->setEscapeButton(button);
            box->setDefaultButton(button);
        }
        runs[button] = std::move(action.run);
    }
    presented_[slot] = Presented{*identity, box};
    QObject::connect(box, &QDialog::finished, box,
                     [this, slot, box, runs = std::move(runs), dismissed = std::move(dismissed)] {
                         const auto chosen = runs.find(box->clickedButton());
                         finished(slot, box, chosen == runs.end() ? std::function<void()>() : chosen->second,
                                  dismissed);
                     });
    box->open();
}

void SheetPresenter::finished(const std::string& slot, QDialog* dialog, const std::function<void()>& chosen,
                              const std::function<void()>& dismissed) {
    const auto open = presented_.find(slot);
    // Closed by the view, or already replaced: nothing of the user's to report.
    if (open == presented_.end() || open->second.dialog != dialog) return;
    // While the action runs the slot still presents its item, so a render it causes keeps it.
    if (chosen) chosen();
    presented_.erase(slot);
    dialog->deleteLater();
    if (dismissed) dismissed();
}

void SheetPresenter::close(const std::string& slot) {
    const auto open = presented_.find(slot);
    if (open == presented_.end()) return;
    QPointer<QDialog> dialog = open->second.dialog;
    presented_.erase(open);
    if (dialog) {
        dialog->hide();
        dialog->deleteLater();
    }
}

QDialog* SheetPresenter::presented(const std::string& slot) const {
    const auto open = presented_.find(slot);
    return open == presented_.end() ? nullptr : open->second.dialog.data();
}

std::optional<std::string> SheetPresenter::presentedIdentity(const std::string& slot) const {
    const auto open = presented_.find(slot);
    if (open == presented_.end() || !open->second.dialog) return std::nullopt;
    return open->second.identity;
}

void SheetPresenter::closeAll() {
    while (!presented_.empty()) close(presented_.begin()->first);
}

}  // namespace dorvane
