#include "Dorvane/InputViews/AppLauncherView.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include "Dorvane/InputViews/LauncherAccessibility.h"
#include "Dorvane/InputViews/LauncherDecorations.h"
#include "Dorvane/InputViews/LauncherTile.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/OverflowEdgeFadeOverlay.h"
#include "DorvaneCore/Launcher/LauncherViewMetrics.h"

namespace dorvane {

using Metrics = LauncherViewMetrics;

namespace {

QRect qtRect(const geometry::Rect& rect) { return QRectF(rect.x, rect.y, rect.width, rect.height).toAlignedRect(); }

}  // namespace

AppLauncherView::AppLauncherView(input::LauncherModel& model, Services services, QWidget* parent)
    : QWidget(parent),
      model_(model),
      services_(std::move(services)),
      banner_(new LauncherErrorBanner(this)),
      empty_(new LauncherEmptyState(this)),
      scrollArea_(new QScrollArea(this)),
      list_(new QWidget),
      bubble_(new LauncherNameBubble(list_)) {
    installLauncherAccessibility();
    if (!services_.measure) services_.measure = DesignTokens::measurer();
    presentationID_ = model_.presentationID();

    auto* stack = new QVBoxLayout(this);
    const int padding = static_cast<int>(Metrics::padding);
    stack->setContentsMargins(padding, padding, padding, padding);
    stack->setSpacing(static_cast<int>(Metrics::stackSpacing));
    stack->addWidget(banner_);
    stack->addWidget(empty_, 1);
    stack->addWidget(scrollArea_, 1);

    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->setAutoFillBackground(false);
    scrollArea_->viewport()->setAutoFillBackground(false);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(list_);
    // After setWidget, which gives the content a background of its own: the glass shows through.
    list_->setAutoFillBackground(false);
    OverflowEdgeFadeOverlay::install(scrollArea_, DesignTokens::NS::glassTint);
    bubble_->hide();

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { model_.close(); });

    observation_ = model_.observe([this] { render(); });
    render();
}

AppLauncherView::~AppLauncherView() { observation_.cancel(); }

LauncherTile* AppLauncherView::tile(const std::string& id) const {
    const auto found = tiles_.find(id);
    return found == tiles_.end() ? nullptr : found->second;
}

std::vector<LauncherTile*> AppLauncherView::tilesInRows(std::size_t section) const {
    std::vector<LauncherTile*> tiles;
    if (section >= sections_.size() || section >= layout_.sections.size()) return tiles;
    for (const auto& placed : layout_.sections[section].tiles) {
        tiles.push_back(tile(sections_[section].apps[placed.index].id));
    }
    return tiles;
}

template <typename Change>
void AppLauncherView::changeState(Change change) {
    change();
    if (!rendering_) renderLooks();
}

void AppLauncherView::render() {
    rendering_ = true;
    if (model_.presentationID() != presentationID_) {
        presentationID_ = model_.presentationID();
        previewedAppID_.reset();
        pressedAppID_.reset();
    }
    banner_->setVisible(model_.error().has_value());
    banner_->setText(QString::fromStdString(model_.error().value_or("")));

    sections_ = model_.sections();
    empty_->setVisible(sections_.empty());
    scrollArea_->setVisible(!sections_.empty());
    while (sectionViews_.size() > sections_.size()) {
        LauncherSectionView* gone = sectionViews_.back();
        sectionViews_.pop_back();
        gone->hide();
        gone->deleteLater();
    }
    while (sectionViews_.size() < sections_.size()) {
        sectionViews_.push_back(new LauncherSectionView(list_));
        sectionViews_.back()->show();
    }

    std::unordered_set<std::string> listed;
    for (std::size_t index = 0; index < sections_.size(); ++index) {
        const LauncherSection& section = sections_[index];
        LauncherSectionView* view = sectionViews_[index];
        const QString title = QString::fromUtf8(section.title().data(), static_cast<qsizetype>(section.title().size()));
        view->setAccessibleName(title);
        view->header()->setTexts(title, QString::fromStdString(LauncherListLayout::countText(section)));
        for (const LauncherApp& app : section.apps) {
            listed.insert(app.id);
            LauncherTile* tile = tileFor(app);
            if (tile->parentWidget() != view) tile->setParent(view);
            tile->setApp(app, model_.iconFile(app), section.showsRunningDots());
            tile->setEnabled(!model_.launching());
            tile->show();
        }
    }
    for (auto it = tiles_.begin(); it != tiles_.end();) {
        if (listed.contains(it->first)) {
            ++it;
            continue;
        }
        // Later: the tile may be the one whose event is being handled.
        it->second->hide();
        it->second->deleteLater();
        it = tiles_.erase(it);
    }
    place();
    rendering_ = false;
    renderLooks();
}

LauncherTile* AppLauncherView::tileFor(const LauncherApp& app) {
    if (LauncherTile* existing = tile(app.id)) return existing;
    auto* tile = new LauncherTile(services_.timing);
    const std::string id = app.id;
    tile->onTap = [this, tile] {
        const LauncherApp app = tile->app();
        changeState([this] { previewedAppID_.reset(); });
        model_.open(app);
    };
    tile->onPreview = [this, id] { changeState([this, id] { previewedAppID_ = id; }); };
    tile->onHighlight = [this, id](bool on) {
        changeState([this, id, on] { pressedAppID_ = on ? std::optional<std::string>(id) : std::nullopt; });
    };
    tile->onHover = [this, id](bool hovered) {
        changeState([this, id, hovered] {
            if (hovered) {
                hoveredAppID_ = id;
            } else if (hoveredAppID_ == id) {
                hoveredAppID_.reset();
            }
        });
    };
    tiles_.emplace(id, tile);
    return tile;
}

void AppLauncherView::place() {
    // The list is as wide as the content inside the padding, whether or not laid out yet.
    const double width = std::max(0.0, this->width() - 2 * Metrics::padding);
    layout_ = LauncherListLayout::make(sections_, width, model_.side(), services_.measure);
    list_->resize(static_cast<int>(width), static_cast<int>(std::ceil(layout_.height)));
    for (std::size_t index = 0; index < sections_.size(); ++index) {
        const auto& placed = layout_.sections[index];
        LauncherSectionView* view = sectionViews_[index];
        view->setGeometry(qtRect(placed.frame));
        view->header()->setGeometry(qtRect(placed.header));
        for (const auto& cell : placed.tiles) {
            if (LauncherTile* tile = this->tile(sections_[index].apps[cell.index].id)) tile->move(qtRect(cell.frame).topLeft());
        }
    }
}

void AppLauncherView::renderLooks() {
    for (const auto& [id, tile] : tiles_) {
        tile->setLook(LauncherTile::Look{hoveredAppID_ == id, pressedAppID_ == id, previewedAppID_ == id});
    }
    LauncherTile* previewed = previewedAppID_ ? tile(*previewedAppID_) : nullptr;
    if (previewed == nullptr || !previewed->isVisibleTo(list_)) {
        bubble_->hide();
        return;
    }
    bubble_->setText(QString::fromStdString(previewed->app().name));
    const QSize size = bubble_->sizeHint();
    const QPoint tileCorner = previewed->mapTo(list_, QPoint(0, 0));
    const int drop = static_cast<int>(Metrics::bubbleDrop);
    bubble_->setGeometry(tileCorner.x() + (previewed->width() - size.width()) / 2,
                         tileCorner.y() + previewed->height() + drop - size.height(), size.width(), size.height());
    bubble_->raise();
    bubble_->show();
}

void AppLauncherView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
    renderLooks();
}

}  // namespace dorvane
