#include "Dorvane/Settings/SheetPresenter.h"

#include <QDialog>
#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SheetLayer.h"

namespace dorvane {

namespace {

// A sheet: its content on the page background, laid into the window as a sub-window, so
// that Tab and Backtab go round its own controls only. It tells its layer when its
// content asks for another size.
class SheetDialog final : public QDialog {
public:
    SheetDialog(QWidget& owner, std::unique_ptr<QWidget> content, QPointer<SheetLayer> layer)
        : QDialog(&owner, Qt::SubWindow), layer_(std::move(layer)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        if (content) {
            setAccessibleName(content->accessibleName());
            layout->addWidget(content.release());
        }
        DesignTokens::repaintOnAppearanceChange(this);
    }

    // Once closed, its remaining events tell nobody.
    void forgetPresenter() { layer_ = nullptr; }

    // The first control in the sheet's own tab order takes the focus.
    void takeFocus() {
        if (QWidget* focused = focusWidget(); focused != nullptr && isAncestorOf(focused)) return;
        if (!focusNextPrevChild(true)) setFocus(Qt::OtherFocusReason);
    }

protected:
    bool event(QEvent* event) override {
        const bool handled = QDialog::event(event);
        if (event->type() == QEvent::LayoutRequest && layer_) layer_->arrange();
        return handled;
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        paintSheetFace(painter, QRectF(rect()), devicePixelRatioF());
    }

private:
    QPointer<SheetLayer> layer_;
};

}  // namespace

SheetPresenter::SheetPresenter(QWidget& owner) : owner_(owner), layer_(&SheetLayer::of(owner)) {
    layer_->setAccessibleName(QStringLiteral("已变暗的设置窗口"));
}

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
    auto* dialog = new SheetDialog(owner_, build ? build() : nullptr, layer_);
    presented_[slot] = Presented{*identity, dialog};
    QObject::connect(dialog, &QDialog::finished, dialog, [this, slot, dialog, dismissed = std::move(dismissed)] {
        finished(slot, dialog, {}, dismissed);
    });
    // Placed before it shows, so that it never appears where a window would be.
    if (layer_) layer_->attach(*dialog, SheetLayer::Level::sheet);
    dialog->open();
    dialog->takeFocus();
}

QWidget* SheetPresenter::dimming() const { return layer_.data(); }

void SheetPresenter::alert(const std::string& slot, const std::optional<std::string>& identity, const QString& text,
                           const QString& message, std::vector<AlertAction> actions, std::function<void()> dismissed) {
    if (keeps(slot, identity)) return;
    std::vector<SheetAlert::Button> buttons;
    for (const auto& action : actions) buttons.push_back({action.title, action.role});
    auto* alert = new SheetAlert(owner_, text, buttons);
    alert->setMessage(message);
    std::map<QAbstractButton*, std::function<void()>> runs;
    const QList<QAbstractButton*> made = alert->buttons();
    for (qsizetype index = 0; index < made.size(); ++index) runs[made[index]] = std::move(actions[index].run);
    presented_[slot] = Presented{*identity, alert};
    QObject::connect(alert, &QDialog::finished, alert,
                     [this, slot, alert, runs = std::move(runs), dismissed = std::move(dismissed)] {
                         const auto chosen = runs.find(alert->clickedButton());
                         finished(slot, alert, chosen == runs.end() ? std::function<void()>() : chosen->second,
                                  dismissed);
                     });
    alert->present();
}

void SheetPresenter::finished(const std::string& slot, QDialog* dialog, const std::function<void()>& chosen,
                              const std::function<void()>& dismissed) {
    const auto open = presented_.find(slot);
    // Closed by the view, or already replaced: nothing of the user's to report.
    if (open == presented_.end() || open->second.dialog != dialog) return;
    // While the action runs the slot still presents its item, so a render it causes keeps it.
    if (chosen) chosen();
    presented_.erase(slot);
    if (auto* sheet = dynamic_cast<SheetDialog*>(dialog)) sheet->forgetPresenter();
    dialog->hide();
    dialog->deleteLater();
    if (dismissed) dismissed();
}

void SheetPresenter::close(const std::string& slot) {
    const auto open = presented_.find(slot);
    if (open == presented_.end()) return;
    QPointer<QDialog> dialog = open->second.dialog;
    presented_.erase(open);
    if (dialog) {
        if (auto* sheet = dynamic_cast<SheetDialog*>(dialog.data())) sheet->forgetPresenter();
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
