#include "Dorvane/Settings/ResolutionPanelView.h"

#include <algorithm>

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QVBoxLayout>

#include "Dorvane/Settings/ResolutionPanelControls.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/OverflowEdgeFadeOverlay.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

namespace {

constexpr int kStackSpacing = 16;
constexpr int kStackBottomPadding = 2;
constexpr int kSectionSpacing = 8;
constexpr int kGridSpacing = 8;
constexpr double kBadgeOpacity = 0.75;

QWidget* section(const QString& heading, QWidget* header, QWidget* body, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSectionSpacing);
    if (header == nullptr) {
        column->addWidget(new TokenLabel(heading, DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold),
                                         DesignTokens::Colors::textSecondary, box));
    } else {
        column->addWidget(header);
    }
    column->addWidget(body);
    return box;
}

const AdaptiveColor& badgeColor() {
    static const AdaptiveColor color =
        DesignTokens::Colors::textSecondary.withOpacity(kBadgeOpacity, "Corvelle.resolutionBadge");
    return color;
}

}  // namespace

ResolutionPanelView::ResolutionPanelView(ControlPanelModel& model, std::function<void()> close,
                                         std::function<void()> restore, std::function<void(double)> onContentHeight,
                                         QWidget* parent)
    : ResolutionPanelView(model, model.preferences().selectedCustomID, std::move(close), std::move(restore),
                          std::move(onContentHeight), parent) {}

ResolutionPanelView::ResolutionPanelView(ControlPanelModel& model, std::optional<std::string> firstPresetID,
                                         std::function<void()> close, std::function<void()> restore,
                                         std::function<void(double)> onContentHeight, QWidget* parent)
    : QWidget(parent),
      model_(model),
      panel_(std::move(firstPresetID)),
      close_(std::move(close)),
      restoreAction_(std::move(restore)),
      onContentHeight_(std::move(onContentHeight)) {
    buildScrollArea();
    buildContent();
    wire();
    render();
}

void ResolutionPanelView::buildScrollArea() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(padding, padding, padding, padding);
    body_ = new QWidget(this);
    outer->addWidget(body_);
    auto* bodyLayout = new QVBoxLayout(body_);
    bodyLayout->setContentsMargins(0, 0, 0, 0);

    // The scroll view measures the panel's content area; the content is placed in it by hand
    // so that it can sit against the toolbar.
    scroll_ = new QScrollArea(body_);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidgetResizable(false);
    frame_ = new QWidget;
    scroll_->setWidget(frame_);
    scroll_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    frame_->setAutoFillBackground(false);
    bodyLayout->addWidget(scroll_);
}

// The presets, the display size, the failure and the restore button, top to bottom.
void ResolutionPanelView::buildContent() {
    content_ = new QWidget(frame_);
    auto* stack = new QVBoxLayout(content_);
    stack->setContentsMargins(0, 0, 0, kStackBottomPadding);
    stack->setSpacing(kStackSpacing);
    stack->addWidget(buildPresetSection());
    segments_ = new ScaleSegmentBar([this](std::int64_t percent) { model_.onScale(percent); }, content_);
    stack->addWidget(section(QStringLiteral("显示大小"), nullptr, segments_, content_));

    detail_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontCaption), DesignTokens::Colors::warning,
                             content_);
    detail_->setWordWrap(true);
    stack->addWidget(detail_);
    stack->addWidget(new SettingsSeparator(Qt::Horizontal, content_));
    restore_ = new RestoreButton(content_);
    stack->addWidget(restore_);
    connect(restore_, &QAbstractButton::clicked, this, [this] { restoreAction_(); });
}

// The "规格" heading with its badge over the grid of presets.
QWidget* ResolutionPanelView::buildPresetSection() {
    auto* presetHeader = new QWidget(content_);
    auto* headerRow = new QHBoxLayout(presetHeader);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->setSpacing(kSectionSpacing);
    headerRow->addWidget(new TokenLabel(QStringLiteral("规格"),
                                        DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold),
                                        DesignTokens::Colors::textSecondary, presetHeader));
    badge_ = new TokenLabel(QStringLiteral("未启用"), DesignTokens::font(DesignTokens::fontCaption, FontWeight::medium),
                            badgeColor(), presetHeader);
    headerRow->addWidget(badge_);
    headerRow->addStretch(1);
    grid_ = new QWidget(content_);
    gridLayout_ = new QGridLayout(grid_);
    gridLayout_->setContentsMargins(0, 0, 0, 0);
    gridLayout_->setSpacing(kGridSpacing);
    return section(QString(), presetHeader, grid_, content_);
}

void ResolutionPanelView::wire() {
    OverflowEdgeFadeOverlay::install(scroll_, DesignTokens::NS::glassTint);
    scroll_->viewport()->installEventFilter(this);
    content_->installEventFilter(this);
    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!placing_) anchoredAtBottom_ = value == scroll_->verticalScrollBar()->maximum();
    });

    // Outside the part that is disabled while busy: Escape always closes.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { close_(); });

    connect(&model_, &ControlPanelModel::changed, this, [this] { render(); });
}

ResolutionPanelView::~ResolutionPanelView() {
    scroll_->viewport()->removeEventFilter(this);
    content_->removeEventFilter(this);
}

void ResolutionPanelView::render() {
    const Preferences& preferences = model_.preferences();
    const auto& applied = model_.applied();
    body_->setEnabled(!(model_.applying() || model_.terminating()));
    badge_->setVisible(!applied);
    renderCells();
    segments_->render(ResolutionPanelModel::segments(model_.adjustment(), applied));
    const auto& detail = model_.detail();
    detail_->setText(detail ? QString::fromStdString(*detail) : QString());
    detail_->setVisible(detail.has_value());
    const auto alignment = ResolutionPanelModel::contentAlignment(preferences.toolbarSide);
    if (alignment != alignment_) {
        alignment_ = alignment;
        anchoredAtBottom_ = true;
    }
    // Placing and measuring come after this pass, never inside it.
    scheduleMeasure();
}

// Cells are kept by id; the grid is laid out again only when the order or the columns change.
void ResolutionPanelView::renderCells() {
    const auto cells = panel_.cells(model_.preferences(), model_.applied());
    std::vector<std::string> order;
    for (const auto& cell : cells) {
        if (std::ranges::find(order, cell.preset.id) != order.end()) continue;
        order.push_back(cell.preset.id);
        if (const auto found = cells_.find(cell.preset.id); found != cells_.end()) {
            found->second->render(cell);
            continue;
        }
        auto* made = new ResolutionPanelCell(cell, grid_);
        connect(made, &QAbstractButton::clicked, this, [this, made] {
            // The preset in effect only closes the panel; the host closes it after any other.
            if (made->cell().applied) {
                close_();
            } else {
                model_.onCustom(made->cell().preset.id);
            }
        });
        cells_.emplace(cell.preset.id, made);
    }
    for (auto it = cells_.begin(); it != cells_.end();) {
        if (std::ranges::find(order, it->first) == order.end()) {
            delete it->second;
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
    if (order != order_) {
        order_ = std::move(order);
        arrangeGrid(ResolutionPanelModel::columnCount(scroll_->viewport()->width()));
    }
}

void ResolutionPanelView::arrangeGrid(int columns) {
    for (ResolutionPanelCell* cell : cells()) gridLayout_->removeWidget(cell);
    for (int column = 0; column < std::max(columns, columns_); ++column) {
        gridLayout_->setColumnStretch(column, column < columns ? 1 : 0);
    }
    columns_ = columns;
    for (std::size_t index = 0; index < order_.size(); ++index) {
        ResolutionPanelCell* cell = cells_.at(order_[index]);
        const int at = static_cast<int>(index);
        gridLayout_->addWidget(cell, at / columns_, at % columns_);
        cell->show();
    }
}

bool ResolutionPanelView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        const int columns = ResolutionPanelModel::columnCount(scroll_->viewport()->width());
        if (columns != columns_) arrangeGrid(columns);
        place();
        scheduleMeasure();
    } else if (watched == content_ && event->type() == QEvent::LayoutRequest) {
        scheduleMeasure();
    }
    return QWidget::eventFilter(watched, event);
}

void ResolutionPanelView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scheduleMeasure();
}

// The content: at most 500 wide, as tall as it needs, against the toolbar's side of a frame
// at least as tall as the scroll view.
void ResolutionPanelView::place() {
    const QSize viewport = scroll_->viewport()->size();
    const int width = std::min(viewport.width(), maximumContentWidth);
    const int height = contentHeightAt(width);
    const int frameHeight = std::max(viewport.height(), height);
    placing_ = true;
    frame_->resize(viewport.width(), frameHeight);
    const bool trailing = alignment_ == ResolutionPanelModel::ContentAlignment::topTrailing;
    const bool bottom = alignment_ == ResolutionPanelModel::ContentAlignment::bottomLeading;
    content_->setGeometry(trailing ? viewport.width() - width : 0, bottom ? frameHeight - height : 0, width, height);
    QScrollBar* bar = scroll_->verticalScrollBar();
    if (ResolutionPanelModel::scrollsFromBottom(model_.preferences().toolbarSide) && anchoredAtBottom_) {
        bar->setValue(bar->maximum());
    }
    placing_ = false;
}

int ResolutionPanelView::contentHeightAt(int contentWidth) {
    fitTitles(contentWidth);
    const int forWidth = content_->heightForWidth(contentWidth);
    return forWidth >= 0 ? forWidth : content_->sizeHint().height();
}

// As place() and measure() will find it once shown: the scroll view is the width less the
// padding on either side, and the grid has the columns of that width.
double ResolutionPanelView::heightFor(int width) {
    ensurePolished();
    const int viewport = std::max(width - 2 * padding, 0);
    const int columns = ResolutionPanelModel::columnCount(viewport);
    if (columns != columns_) arrangeGrid(columns);
    return contentHeightAt(std::min(viewport, maximumContentWidth)) + ResolutionPanelModel::contentHeightPadding;
}

// Every title of the grid in one size, on as many lines as the longest needs (at most two),
// for the columns' width at this content width.
void ResolutionPanelView::fitTitles(int contentWidth) {
    if (columns_ <= 0) return;
    const double cellWidth = (contentWidth - (columns_ - 1) * static_cast<double>(kGridSpacing)) / columns_;
    const auto shown = cells();
    const auto style = ResolutionPanelModel::titleStyle([&shown, cellWidth](double pointSize) {
        int most = 0;
        for (const ResolutionPanelCell* cell : shown) {
            most = std::max(most, ResolutionPanelCell::linesNeeded(cell->text(), pointSize, cellWidth));
        }
        return most;
    });
    for (ResolutionPanelCell* cell : shown) cell->setTitleStyle(style);
}

void ResolutionPanelView::scheduleMeasure() {
    if (measurePending_) return;
    measurePending_ = true;
    QMetaObject::invokeMethod(this, [this] { measure(); }, Qt::QueuedConnection);
}

void ResolutionPanelView::measure() {
    measurePending_ = false;
    place();
    if (!isVisible()) return;
    const int height = content_->height();
    if (reportedHeight_ == height) return;
    reportedHeight_ = height;
    onContentHeight_(height + ResolutionPanelModel::contentHeightPadding);
}

double ResolutionPanelView::measuredHeight() const { return content_->height(); }

std::vector<ResolutionPanelCell*> ResolutionPanelView::cells() const {
    std::vector<ResolutionPanelCell*> shown;
    for (const auto& id : order_) shown.push_back(cells_.at(id));
    return shown;
}

ResolutionPanelCell* ResolutionPanelView::cell(const std::string& id) const {
    const auto found = cells_.find(id);
    return found == cells_.end() ? nullptr : found->second;
}

}  // namespace dorvane
