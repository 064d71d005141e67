#include "Dorvane/Settings/SheetPresenter.h"

#include <QDialog>
#include <QEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassShapes.h"
#include "DorvaneCore/SettingsWindow/SheetPlacement.h"

namespace dorvane {

namespace {

// The outline of a sheet: square where it hangs from the window's top edge, rounded below.
QPainterPath sheetShape(const QRectF& rect) {
    const double radius = DesignTokens::sheetRadius;
    return roundedPath(rect, glass::CornerRadii{0, 0, radius, radius});
}

// A sheet: its content on the page background, laid into the window as a sub-window, so
// that Tab and Backtab go round its own controls only. It tells its presenter when its
// content asks for another size.
class SheetDialog final : public QDialog {
public:
    SheetDialog(QWidget& owner, std::unique_ptr<QWidget> content, std::function<void()> relayout)
        : QDialog(&owner, Qt::SubWindow), relayout_(std::move(relayout)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        if (content) {
            setAccessibleName(content->accessibleName());
            layout->addWidget(content.release());
        }
        DesignTokens::repaintOnAppearanceChange(this);
    }

    // Once closed, its remaining events tell nobody.
    void forgetPresenter() { relayout_ = nullptr; }

    // The first control in the sheet's own tab order takes the focus.
    void takeFocus() {
        if (QWidget* focused = focusWidget(); focused != nullptr && isAncestorOf(focused)) return;
        if (!focusNextPrevChild(true)) setFocus(Qt::OtherFocusReason);
    }

protected:
    bool event(QEvent* event) override {
        const bool handled = QDialog::event(event);
        if (event->type() == QEvent::LayoutRequest && relayout_) relayout_();
        return handled;
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF bounds(rect());
        painter.fillPath(sheetShape(bounds), DesignTokens::Colors::pageBackground.resolved());
        // A hairline along the sides and the bottom sets the sheet off the dimmed window.
        const double half = DesignTokens::hairline(devicePixelRatioF()) / 2;
        painter.setClipRect(bounds.adjusted(0, half * 2, 0, 0));
        painter.strokePath(sheetShape(bounds.adjusted(half, -1, -half, -half)),
                           QPen(DesignTokens::Colors::sheetEdge.resolved(), half * 2));
    }

private:
    std::function<void()> relayout_;
};

}  // namespace

// The dimming over the window behind the sheets, with each sheet's shadow on it. It lies
// above everything else of the owner and under the sheets, and takes every press, wheel
// turn and hover meant for what it covers.
class SheetPresenter::Backdrop final : public QWidget {
public:
    Backdrop(QWidget& owner, std::function<void()> relayout) : QWidget(&owner), relayout_(std::move(relayout)) {
        setAttribute(Qt::WA_NoMousePropagation);
        setAccessibleName(QStringLiteral("已变暗的设置窗口"));
        owner.installEventFilter(this);
        DesignTokens::repaintOnAppearanceChange(this);
        hide();
    }

    void setSheets(std::vector<QRect> sheets) {
        if (sheets == sheets_) return;
        sheets_ = std::move(sheets);
        update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize && relayout_) relayout_();
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(rect(), DesignTokens::Colors::sheetDim.resolved());
        const auto& look = DesignTokens::sheetShadow;
        for (const QRect& sheet : sheets_) {
            const QSize size = sheet.size() + QSize(2 * look.margin, 2 * look.margin);
            const double ratio = devicePixelRatioF();
            if (shadow_.isNull() || shadowSize_ != size || shadowRatio_ != ratio) {
                const QRectF shape(look.margin, look.margin + look.offsetY, sheet.width(), sheet.height());
                shadow_ = blurredShape(size, ratio, sheetShape(shape), look.blurRadius, look.opacity);
                shadowSize_ = size;
                shadowRatio_ = ratio;
            }
            painter.drawImage(QPointF(sheet.x() - look.margin, sheet.y() - look.margin), shadow_);
        }
    }

    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void wheelEvent(QWheelEvent* event) override { event->accept(); }

private:
    std::function<void()> relayout_;
    std::vector<QRect> sheets_;
    QImage shadow_;
    QSize shadowSize_;
    double shadowRatio_ = 0;
};

SheetPresenter::SheetPresenter(QWidget& owner)
    : owner_(owner), backdrop_(new Backdrop(owner, [this] { arrange(); })) {}

SheetPresenter::~SheetPresenter() {
    closeAll();
    delete backdrop_.data();
}

bool SheetPresenter::keeps(const std::string& slot, const std::optional<std::string>& identity) {
    const auto open = presented_.find(slot);
    if (open != presented_.end() && identity && open->second.identity == *identity && open->second.dialog) return true;
    close(slot);
    return !identity;
}

void SheetPresenter::sheet(const std::string& slot, const std::optional<std::string>& identity, const Build& build,
                           std::function<void()> dismissed) {
    if (keeps(slot, identity)) return;
    auto* dialog = new SheetDialog(owner_, build ? build() : nullptr, [this] { arrange(); });
    presented_[slot] = Presented{*identity, dialog};
    QObject::connect(dialog, &QDialog::finished, dialog, [this, slot, dialog, dismissed = std::move(dismissed)] {
        finished(slot, dialog, {}, dismissed);
    });
    arrange();  // placed before it shows, so that it never appears where a window would be
    dialog->open();
    arrange();
    dialog->takeFocus();
}

void SheetPresenter::arrange() {
    std::vector<QRect> sheets;
    for (const auto& [slot, open] : presented_) {
        auto* sheet = dynamic_cast<SheetDialog*>(open.dialog.data());
        if (sheet == nullptr) continue;
        const QSize preferred = sheet->sizeHint().expandedTo(sheet->minimumSizeHint());
        const geometry::Rect frame = SheetPlacement::frame({static_cast<double>(owner_.width()), static_cast<double>(owner_.height())},
                                                           {static_cast<double>(preferred.width()), static_cast<double>(preferred.height())});
        const QRect placed(static_cast<int>(frame.x), static_cast<int>(frame.y), static_cast<int>(frame.width),
                           static_cast<int>(frame.height));
        if (sheet->geometry() != placed) sheet->setGeometry(placed);
        if (!sheet->isHidden()) sheets.push_back(placed);
    }
    if (!backdrop_) return;
    backdrop_->setGeometry(owner_.rect());
    backdrop_->setSheets(sheets);
    backdrop_->setVisible(!sheets.empty());
    if (sheets.empty()) return;
    backdrop_->raise();
    for (const auto& [slot, open] : presented_) {
        if (auto* sheet = dynamic_cast<SheetDialog*>(open.dialog.data())) sheet->raise();
    }
}

QWidget* SheetPresenter::dimming() const { return backdrop_.data(); }

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
    if (auto* sheet = dynamic_cast<SheetDialog*>(dialog)) sheet->forgetPresenter();
    dialog->deleteLater();
    arrange();
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
    arrange();
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
