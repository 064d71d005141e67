#include "Dorvane/Editors/IconPickerView.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVariantAnimation>
#include <QVBoxLayout>

#include "Dorvane/Editors/EditorMetrics.h"
#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/WindowHiding.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "Dorvane/Visual/OverlayScrollBar.h"
#include "DorvaneCore/Editors/IconPickerModel.h"

namespace dorvane {

namespace {

constexpr auto kCatalog = allCases<ShortcutIcon>();

int gridHeight(std::size_t count) {
    if (count == 0) return 0;
    const auto rows = static_cast<int>((count + EditorMetrics::iconColumns - 1) / EditorMetrics::iconColumns);
    return rows * EditorMetrics::iconCellHeight + (rows - 1) * EditorMetrics::iconGridSpacing;
}

}  // namespace

IconCell::IconCell(ShortcutIcon icon, QWidget* parent) : QAbstractButton(parent), icon_(icon) {
    setAccessibleName(qtText(title(icon)));
    setToolTip(qtText(IconPickerModel::cellHelp(icon)));
    setFocusPolicy(controlFocusPolicy);
    DesignTokens::repaintOnAppearanceChange(this);
}

void IconCell::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
    announceSelected(this);
}

void IconCell::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = DesignTokens::radiusMd;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), radius, radius);
    painter.fillPath(shape, (isDown() ? DesignTokens::Colors::secondaryFillPressed : DesignTokens::Colors::secondaryFill)
                                .resolved());
    if (selected_) {
        const double inset = DesignTokens::selectedStroke / 2;
        QPainterPath line;
        line.addRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);
        painter.setPen(QPen(DesignTokens::Colors::accent.resolved(), DesignTokens::selectedStroke));
        painter.drawPath(line);
    }
    const QFont caption = DesignTokens::font(DesignTokens::fontCaption);
    const QFontMetricsF metrics(caption);
    const double textHeight = metrics.height();
    const double top = (height() - EditorMetrics::iconSymbolHeight - EditorMetrics::iconCellSpacing - textHeight) / 2;
    const QColor symbolColour = (selected_ ? DesignTokens::Colors::accent : DesignTokens::Colors::textPrimary).resolved();
    Symbols::paint(painter, QRectF(0, top, width(), EditorMetrics::iconSymbolHeight), rawValue(icon_),
                   DesignTokens::fontEmphasis, symbolColour);
    painter.setFont(caption);
    painter.setPen(DesignTokens::Colors::textSecondary.resolved());
    const QRectF titleRect(2, top + EditorMetrics::iconSymbolHeight + EditorMetrics::iconCellSpacing, width() - 4,
                           textHeight);
    painter.drawText(titleRect, Qt::AlignCenter, metrics.elidedText(qtText(title(icon_)), Qt::ElideRight, titleRect.width()));
}

// The cells in six columns, made once; only the shown ones are placed.
class IconPickerView::Grid final : public QWidget {
public:
    explicit Grid(QWidget* parent) : QWidget(parent) {
        for (std::size_t i = 0; i < kCatalog.size(); ++i) {
            cells_[i] = new IconCell(kCatalog[i], this);
            cells_[i]->hide();
        }
    }

    IconCell* cell(ShortcutIcon icon) const { return cells_[caseIndex(icon)]; }

    void show(const std::vector<ShortcutIcon>& icons, std::optional<ShortcutIcon> selected) {
        std::array<bool, kCatalog.size()> wanted{};
        order_.clear();
        for (const ShortcutIcon icon : icons) {
            wanted[caseIndex(icon)] = true;
            order_.push_back(cells_[caseIndex(icon)]);
        }
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            cells_[i]->setSelected(selected && kCatalog[i] == *selected);
            if (!wanted[i]) cells_[i]->hide();
        }
        setFixedHeight(gridHeight(icons.size()));
        place();
        for (IconCell* cell : order_) cell->show();
    }

protected:
    void resizeEvent(QResizeEvent* /*event*/) override { place(); }

private:
    void place() {
        const int columns = EditorMetrics::iconColumns;
        const int spacing = EditorMetrics::iconGridSpacing;
        const double cellWidth = std::max(1.0, (width() - spacing * (columns - 1)) / static_cast<double>(columns));
        for (std::size_t i = 0; i < order_.size(); ++i) {
            const int column = static_cast<int>(i) % columns;
            const int row = static_cast<int>(i) / columns;
            const int left = static_cast<int>(column * (cellWidth + spacing));
            const int right = static_cast<int>((column + 1) * (cellWidth + spacing) - spacing);
            order_[i]->setGeometry(left, row * (EditorMetrics::iconCellHeight + spacing), right - left,
                                   EditorMetrics::iconCellHeight);
        }
    }

    std::array<IconCell*, kCatalog.size()> cells_{};
    std::vector<IconCell*> order_;
};

IconPickerView::IconPickerView(std::optional<ShortcutIcon> selected, std::function<void(ShortcutIcon)> choose,
                               std::function<bool()> reduceMotion, QWidget* parent)
    : QWidget(parent), selected_(selected), choose_(std::move(choose)), reduceMotion_(std::move(reduceMotion)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(EditorMetrics::pickerSpacing);

    search_ = new TextField(TextField::Style::search, QStringLiteral("搜索图标"), QStringLiteral("搜索图标"), this);
    clearInField_ = search_->clearButton();
    column->addWidget(search_);
    buildEmptyResults();
    column->addWidget(empty_);
    buildGrid();
    column->addWidget(area_);
    column->addLayout(buildFooter());
    wire();
    render();
}

// What shows in place of the grid when a search finds nothing.
void IconPickerView::buildEmptyResults() {
    empty_ = new RoundedFill(DesignTokens::Colors::secondaryFill, DesignTokens::radiusMd, this);
    empty_->setMinimumHeight(EditorMetrics::emptyResultsHeight);
    auto* emptyColumn = new QVBoxLayout(empty_);
    emptyColumn->setSpacing(EditorMetrics::emptyResultsSpacing);
    emptyColumn->addStretch(1);
    emptyColumn->addWidget(framedSymbol("magnifyingglass", EditorMetrics::emptyResultsSymbolSize,
                                          DesignTokens::Colors::textTertiary,
                                          QSize(EditorMetrics::emptyResultsSymbolSize + 4,
                                                EditorMetrics::emptyResultsSymbolSize + 4),
                                          empty_),
                           0, Qt::AlignHCenter);
    emptyColumn->addWidget(new TokenLabel(QStringLiteral("未找到图标"), DesignTokens::font(DesignTokens::fontBody),
                                          DesignTokens::Colors::textSecondary, empty_),
                           0, Qt::AlignHCenter);
    emptyColumn->addStretch(1);
}

void IconPickerView::buildGrid() {
    area_ = new QScrollArea(this);
    OverlayScrollBar::install(area_);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setWidgetResizable(true);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setFocusPolicy(scrollAreaFocusPolicy);
    auto* holder = new QWidget;
    auto* holderColumn = new QVBoxLayout(holder);
    holderColumn->setContentsMargins(0, 0, 0, 0);
    grid_ = new Grid(holder);
    holderColumn->addWidget(grid_);
    holderColumn->addStretch(1);
    area_->setWidget(holder);
    area_->setAutoFillBackground(false);
    area_->viewport()->setAutoFillBackground(false);
    holder->setAutoFillBackground(false);
}

// How many were found, the expand button and the second clear button.
QHBoxLayout* IconPickerView::buildFooter() {
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(0, 0, 0, 0);
    found_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontCaption), DesignTokens::Colors::textSecondary,
                            this);
    footer->addWidget(found_);
    expand_ = new PlainButton("chevron.down", QStringLiteral("更多图标"),
                              DesignTokens::font(DesignTokens::fontCaption, FontWeight::medium),
                              DesignTokens::Colors::textSecondary, this);
    footer->addWidget(expand_);
    footer->addStretch(1);
    clearInFooter_ = new PlainButton("", QStringLiteral("清除搜索"), DesignTokens::font(DesignTokens::fontCaption),
                                     DesignTokens::Colors::accent, this);
    footer->addWidget(clearInFooter_);
    return footer;
}

void IconPickerView::wire() {
    scrollTimer_.setSingleShot(true);
    scrollTimer_.setInterval(static_cast<int>(DesignTokens::scrollToSelectionDelay * 1000));
    connect(&scrollTimer_, &QTimer::timeout, this, [this] { scrollToSelection(); });
    connect(search_, &QLineEdit::textChanged, this, [this] { render(); });
    connect(clearInFooter_, &QAbstractButton::clicked, search_, &QLineEdit::clear);
    connect(expand_, &QAbstractButton::clicked, this, [this] { toggleExpanded(); });
    for (const ShortcutIcon icon : kCatalog) {
        connect(grid_->cell(icon), &QAbstractButton::clicked, this, [this, icon] {
            // A copy: choosing may close the sheet this picker lies in.
            if (const auto chosen = choose_) chosen(icon);
        });
    }
}

IconPickerView::~IconPickerView() {
    if (heightAnimation_) heightAnimation_->stop();
}

QAbstractButton* IconPickerView::clearSearchButton() const { return clearInField_; }
QAbstractButton* IconPickerView::footerClearButton() const { return clearInFooter_; }
QAbstractButton* IconPickerView::expandButton() const { return expand_; }
QLabel* IconPickerView::foundLabel() const { return found_; }
IconCell* IconPickerView::cell(ShortcutIcon icon) const { return grid_->cell(icon); }

void IconPickerView::setSelected(std::optional<ShortcutIcon> selected) {
    if (selected == selected_) return;
    selected_ = selected;
    render();
}

int IconPickerView::areaHeightFor(std::size_t count, bool scrolling) const {
    const int content = gridHeight(count);
    if (!scrolling) return content;
    return std::min(content + 2 * EditorMetrics::iconGridScrollPadding, EditorMetrics::iconGridMaximumHeight);
}

void IconPickerView::render() {
    const std::string query = search_->text().toStdString();
    const bool searching = IconPickerModel::isSearching(query);
    shown_ = IconPickerModel::displayed(selected_, expanded_, query);
    scrolling_ = searching || expanded_;

    const bool nothingFound = searching && shown_.empty();
    empty_->setVisible(nothingFound);
    area_->setVisible(!nothingFound);
    grid_->show(shown_, selected_);
    const int padding = scrolling_ ? EditorMetrics::iconGridScrollPadding : 0;
    area_->widget()->layout()->setContentsMargins(0, padding, 0, padding);
    if (!heightAnimation_) setAreaHeight(areaHeightFor(shown_.size(), scrolling_), false);

    found_->setVisible(searching);
    found_->setText(qtText(IconPickerModel::foundCount(shown_.size())));
    clearInFooter_->setVisible(searching);
    expand_->setVisible(!searching && IconPickerModel::offersExpansion());
    expand_->setText(expanded_ ? QStringLiteral("收起更多") : QStringLiteral("更多图标"));
    expand_->setSymbol(expanded_ ? "chevron.up" : "chevron.down");

    // The expanded catalog, each time it comes into view, centres the current icon.
    const bool expandedView = expanded_ && !searching;
    if (expandedView && !expandedView_ && selected_ && isVisible()) {
        scrollTimer_.start();
    } else if (!expandedView) {
        scrollTimer_.stop();
    }
    expandedView_ = expandedView;
}

void IconPickerView::toggleExpanded() {
    const int from = area_->height();
    expanded_ = !expanded_;
    const bool animated = !(reduceMotion_ && reduceMotion_());
    if (heightAnimation_) heightAnimation_->stop();
    render();
    setAreaHeight(from, false);
    setAreaHeight(areaHeightFor(shown_.size(), scrolling_), animated);
}

void IconPickerView::setAreaHeight(int height, bool animated) {
    if (!animated) {
        area_->setFixedHeight(height);
        return;
    }
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(static_cast<int>(DesignTokens::expandDuration * 1000));
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(area_->height());
    animation->setEndValue(height);
    connect(animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { area_->setFixedHeight(value.toInt()); });
    heightAnimation_ = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void IconPickerView::scrollToSelection() {
    if (!selected_ || !area_->isVisible()) return;
    const IconCell* current = grid_->cell(*selected_);
    const int centre = current->geometry().center().y() + area_->widget()->layout()->contentsMargins().top();
    area_->verticalScrollBar()->setValue(centre - area_->viewport()->height() / 2);
}

// Each showing starts on the first page with no search; the window coming back finds it as
// it was left.
void IconPickerView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || hiddenWithWindow_) return;
    if (heightAnimation_) heightAnimation_->stop();
    expanded_ = false;
    expandedView_ = false;
    const QSignalBlocker block(search_);
    search_->clear();
    render();
}

void IconPickerView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    hiddenWithWindow_ = hidesWithItsWindow(*this, *event);
    scrollTimer_.stop();
}

}  // namespace dorvane
