#include "Dorvane/Visual/DropdownMenuView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "DorvaneCore/Visual/GlassDropdownMetrics.h"

namespace dorvane {

using Metrics = GlassDropdownMetrics;

namespace {

// One row as assistive technology sees it.
class RowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowAccessible(DropdownMenuView* view, int row) : view_(view), row_(row) {}

    bool isValid() const override { return view_ && row_ < static_cast<int>(view_->model().rows.size()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name && isValid() ? row().title : QString();
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = view_->rowRect(row_);
        return QRect(view_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.checkable = true;
        state.checked = isValid() && row().selected;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && view_) view_->activateRow(row_);
    }
    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

private:
    const DropdownMenuRow& row() const { return view_->model().rows[static_cast<std::size_t>(row_)]; }

    QPointer<DropdownMenuView> view_;
    int row_;
};

// The list: a menu whose children are its rows, not its inner widgets.
class MenuAccessible final : public QAccessibleWidget {
public:
    explicit MenuAccessible(DropdownMenuView* view) : QAccessibleWidget(view, QAccessible::PopupMenu) {}
    ~MenuAccessible() override {
        for (const QAccessible::Id id : rows_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(view()->model().rows.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        while (static_cast<int>(rows_.size()) <= index) {
            rows_.push_back(QAccessible::registerAccessibleInterface(new RowAccessible(view(), static_cast<int>(rows_.size()))));
        }
        return QAccessible::accessibleInterface(rows_[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t index = 0; index < rows_.size(); ++index) {
            if (QAccessible::accessibleInterface(rows_[index]) == child) return static_cast<int>(index);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index = 0; index < childCount(); ++index) {
            QAccessibleInterface* row = child(index);
            if (row->rect().contains(x, y)) return row;
        }
        return nullptr;
    }

private:
    DropdownMenuView* view() const { return static_cast<DropdownMenuView*>(widget()); }

    mutable std::vector<QAccessible::Id> rows_;
};

QAccessibleInterface* menuAccessibility(const QString& /*className*/, QObject* object) {
    auto* view = dynamic_cast<DropdownMenuView*>(object);
    return view != nullptr ? new MenuAccessible(view) : nullptr;
}

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(menuAccessibility);
        return true;
    }();
    (void)installed;
}

}  // namespace

class DropdownMenuView::Rows final : public QWidget {
public:
    explicit Rows(DropdownMenuView& view) : view_(view) {
        setMouseTracking(true);
        DesignTokens::repaintOnAppearanceChange(this);
    }

    static int contentHeight(std::size_t count) {
        return static_cast<int>(static_cast<double>(count) * Metrics::rowHeight + 2 * Metrics::listPadding);
    }

    QRect rowRect(int row) const {
        return QRectF(Metrics::listPadding, Metrics::listPadding + row * Metrics::rowHeight,
                      width() - 2 * Metrics::listPadding, Metrics::rowHeight)
            .toAlignedRect();
    }

    std::optional<int> rowAt(QPointF position) const {
        const double y = position.y() - Metrics::listPadding;
        const double x = position.x();
        if (y < 0 || x < Metrics::listPadding || x > width() - Metrics::listPadding) return std::nullopt;
        const int row = static_cast<int>(y / Metrics::rowHeight);
        if (row >= static_cast<int>(view_.model_.rows.size())) return std::nullopt;
        return row;
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        const bool dark = VisualAppearance::shared().dark();
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QFont titleFont = DesignTokens::font(Metrics::titleFont);
        const QFontMetricsF titleMetrics(titleFont);
        const auto& rows = view_.model_.rows;
        for (int index = 0; index < static_cast<int>(rows.size()); ++index) {
            const QRectF row = QRectF(rowRect(index));
            if (view_.model_.highlighted == index) {
                QPainterPath fill;
                fill.addRoundedRect(row, Metrics::highlightRadius, Metrics::highlightRadius);
                painter.fillPath(fill, DesignTokens::Colors::secondaryFillPressed.resolved(dark));
            }
            const QRectF check(row.left() + Metrics::rowPadding, row.top(), Metrics::checkmarkWidth, row.height());
            // The column keeps its width whether or not the mark shows.
            if (rows[static_cast<std::size_t>(index)].selected) {
                Symbols::paint(painter, check, "checkmark", Metrics::checkmarkFont.pointSize,
                               DesignTokens::Colors::accent.resolved(dark));
            }
            const double left = check.right() + Metrics::checkmarkSpacing;
            const QRectF title(left, row.top(), std::max(0.0, row.right() - Metrics::rowPadding - left), row.height());
            painter.setFont(titleFont);
            const bool destructive = rows[static_cast<std::size_t>(index)].destructive;
            painter.setPen((destructive ? DesignTokens::Colors::destructive : DesignTokens::Colors::textPrimary).resolved(dark));
            painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                             titleMetrics.elidedText(rows[static_cast<std::size_t>(index)].title, Qt::ElideRight,
                                                     title.width()));
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const auto row = rowAt(event->position());
        if (row == pointerRow_) return;
        pointerRow_ = row;
        // Entering a row highlights it; leaving one does nothing. A copy: see activateRow.
        if (row && view_.hover_) {
            const RowAction hover = view_.hover_;
            hover(*row);
        }
    }

    void leaveEvent(QEvent* /*event*/) override { pointerRow_.reset(); }

    void mousePressEvent(QMouseEvent* event) override {
        pressedRow_ = event->button() == Qt::LeftButton ? rowAt(event->position()) : std::nullopt;
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        const auto row = rowAt(event->position());
        const bool click = event->button() == Qt::LeftButton && row && row == pressedRow_;
        pressedRow_.reset();
        if (click) view_.activateRow(*row);
    }

private:
    DropdownMenuView& view_;
    std::optional<int> pointerRow_;
    std::optional<int> pressedRow_;
};

DropdownMenuView::DropdownMenuView(RowAction select, RowAction hover, QWidget* parent)
    : QWidget(parent),
      select_(std::move(select)),
      hover_(std::move(hover)),
      scrollArea_(new QScrollArea(this)),
      rows_(new Rows(*this)) {
    installAccessibility();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setAutoFillBackground(false);
    scrollArea_->viewport()->setAutoFillBackground(false);
    scrollArea_->setWidget(rows_);
    // After setWidget, which turns the fill on: filled, the rows would paint the window's
    // colour over the whole glass, corners included.
    rows_->setAutoFillBackground(false);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    // As short as its rows: the scroll area's own minimum would stretch the panel of a list
    // of one or two rows.
    scrollArea_->setMinimumSize(1, 1);
    setFocusPolicy(Qt::NoFocus);
}

void DropdownMenuView::setModel(DropdownMenuModel model) {
    const bool sizeChanged = model.rows.size() != model_.rows.size();
    model_ = std::move(model);
    if (sizeChanged) {
        rows_->setMinimumHeight(Rows::contentHeight(model_.rows.size()));
        updateGeometry();
    }
    rows_->update();
    scrollToHighlight();
}

void DropdownMenuView::scrollToHighlight() {
    if (!model_.highlighted) return;
    const QRect row = rows_->rowRect(*model_.highlighted);
    scrollArea_->ensureVisible(row.center().x(), row.center().y(), 0, row.height() / 2);
}

// The first layout gives the list its height: the selected row is brought into view then.
void DropdownMenuView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    scrollToHighlight();
}

void DropdownMenuView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scrollToHighlight();
}

QRect DropdownMenuView::rowRect(int row) const {
    const QRect inRows = rows_->rowRect(row);
    return QRect(rows_->mapTo(this, inRows.topLeft()), inRows.size());
}

void DropdownMenuView::activateRow(int row) {
    if (row < 0 || row >= static_cast<int>(model_.rows.size()) || !select_) return;
    // A copy: choosing may end this list and everything it holds.
    const RowAction select = select_;
    select(row);
}

int DropdownMenuView::scrollOffset() const { return scrollArea_->verticalScrollBar()->value(); }

QSize DropdownMenuView::sizeHint() const {
    return QSize(static_cast<int>(Metrics::rowHeight * 4),
                 static_cast<int>(Metrics::menuHeight(model_.rows.size())));
}

}  // namespace dorvane
