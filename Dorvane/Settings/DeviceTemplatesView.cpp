#include "Dorvane/Settings/DeviceTemplatesView.h"

#include <algorithm>
#include <unordered_set>

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Settings/TemplateRow.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/QtText.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

namespace {

constexpr int kPadding = 20;
constexpr int kSpacing = 14;
constexpr int kFilterSpacing = 12;
constexpr int kBrandWidth = 130;
constexpr int kRowSpacing = 6;
constexpr int kMessageMinimumHeight = 180;
constexpr QSize kCloseFrame{32, 32};

std::vector<GlassDropdownItem<std::string>> brandItems(const DeviceTemplateBrowser& browser) {
    std::vector<GlassDropdownItem<std::string>> items;
    for (const auto& choice : browser.brandChoices()) items.push_back({choice.id, choice.name});
    return items;
}

}  // namespace

DeviceTemplatesView::DeviceTemplatesView(ControlPanelModel& model, std::filesystem::path supportFolder,
                                         std::function<void()> close, QWidget* parent)
    : QWidget(parent),
      model_(model),
      supportFolder_(std::move(supportFolder)),
      closeSheet_(std::move(close)),
      browser_(std::nullopt) {
    setFixedSize(width, height);
    setAccessibleName(QStringLiteral("设备模板"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);

    column->addLayout(makeHeader());
    search_ = new TextField(TextField::Style::search, QStringLiteral("搜索型号"), QStringLiteral("搜索设备型号"), this);
    clear_ = search_->clearButton();
    clear_->setAccessibleName(QStringLiteral("清空搜索"));
    column->addWidget(search_);
    buildFilters();
    column->addLayout(filters_);
    buildList();
    column->addWidget(listArea_, 1);
    wire();
    render();
}

QHBoxLayout* DeviceTemplatesView::makeHeader() {
    auto* header = new QHBoxLayout;
    header->addWidget(new TokenLabel(QStringLiteral("设备模板"),
                                     DesignTokens::font(DesignTokens::fontEmphasis, FontWeight::medium),
                                     DesignTokens::Colors::textPrimary, this));
    header->addStretch(1);
    close_ = new SymbolButton("xmark", kCloseFrame, QStringLiteral("关闭"), DesignTokens::Colors::textSecondary,
                              DesignTokens::fontBody, this);
    header->addWidget(close_);
    return header;
}

void DeviceTemplatesView::buildFilters() {
    filters_ = new QHBoxLayout;
    filters_->setSpacing(kFilterSpacing);
    filters_->addWidget(new TokenLabel(QStringLiteral("设备类型"), DesignTokens::font(DesignTokens::fontBody),
                                       DesignTokens::Colors::textPrimary, this));
    brand_ = new GlassDropdown<std::string>(QStringLiteral("品牌"), brandItems(browser_), std::string(),
                                            qtText(DeviceTemplateBrowser::allBrandsTitle), kBrandWidth,
                                            [this](const std::string& id) { chooseBrand(id); }, this);
    brand_->setFixedWidth(kBrandWidth);
    filters_->addWidget(brand_);
    filters_->addStretch(1);
}

// The rows of templates, and the message that stands in for them when there are none.
void DeviceTemplatesView::buildList() {
    auto* listContent = new QWidget;
    list_ = new QVBoxLayout(listContent);
    list_->setContentsMargins(0, 0, 0, 0);
    list_->setSpacing(kRowSpacing);
    message_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontBody),
                              DesignTokens::Colors::textSecondary, listContent);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setMinimumHeight(kMessageMinimumHeight);
    list_->addWidget(message_);
    list_->addStretch(1);
    listArea_ = settingsScrollArea(listContent, this);
}

void DeviceTemplatesView::wire() {
    connect(close_, &QAbstractButton::clicked, this, [this] { closeSheet_(); });
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) { setQuery(text); });
    connect(&model_, &ControlPanelModel::changed, this, [this] { render(); });
    DesignTokens::repaintOnAppearanceChange(this);
}

// The catalog is read again each time the sheet shows: an override the user just wrote
// counts at once.
void DeviceTemplatesView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) load();
}

void DeviceTemplatesView::load() {
    DeviceTemplateBrowser next = DeviceTemplateBrowser::loaded(supportFolder_);
    std::map<std::string, std::size_t> order;
    for (const auto* entry : next.entries()) order.emplace(entry->id, order.size());
    // The user's filters stay with the sheet; rows stay unless the catalog itself changed.
    next.chooseCategory(browser_.categoryID());
    next.chooseBrand(browser_.brandID());
    next.setQuery(browser_.query());
    if (order != catalogOrder_) {
        for (auto& [id, row] : rows_) delete row;
        rows_.clear();
        shown_.clear();
        catalogOrder_ = std::move(order);
    }
    browser_ = std::move(next);
    render();
}

void DeviceTemplatesView::chooseCategory(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= categoryChoices_.size()) return;
    browser_.chooseCategory(categoryChoices_[static_cast<std::size_t>(index)].id);
    render();
    showListFromTop();
}

void DeviceTemplatesView::chooseBrand(const std::string& id) {
    browser_.chooseBrand(id);
    render();
    showListFromTop();
}

void DeviceTemplatesView::setQuery(const QString& query) {
    browser_.setQuery(query.toStdString());
    render();
    showListFromTop();
}

// Other filters give other rows: they are shown from the first, and the scroll bar says so.
void DeviceTemplatesView::showListFromTop() {
    if (listArea_->widget() != nullptr && listArea_->widget()->layout() != nullptr) {
        listArea_->widget()->layout()->activate();
    }
    listArea_->verticalScrollBar()->setValue(0);
}

void DeviceTemplatesView::render() {
    renderCategories();
    auto items = brandItems(browser_);
    if (items != brand_->items()) brand_->setItems(std::move(items));
    if (brand_->selection() != browser_.brandID()) brand_->setSelection(browser_.brandID());
    search_->showText(QString::fromStdString(browser_.query()));
    renderRows();
}

// The device types come from the catalog: the picker is made again when they change.
void DeviceTemplatesView::renderCategories() {
    auto choices = browser_.categoryChoices();
    if (!category_ || choices != categoryChoices_) {
        categoryChoices_ = std::move(choices);
        QStringList titles;
        for (const auto& choice : categoryChoices_) titles << QString::fromStdString(choice.name);
        auto* picker = new SegmentedPicker(QStringLiteral("设备类型"), titles, this);
        picker->onSelect = [this](int index) { chooseCategory(index); };
        if (category_) {
            delete filters_->replaceWidget(category_, picker);  // the old item is ours to free
            delete category_;
        } else {
            filters_->insertWidget(1, picker);
        }
        category_ = picker;
    }
    const auto chosen = std::ranges::find(categoryChoices_, browser_.categoryID(), &DeviceTemplateBrowser::Choice::id);
    category_->setSelectedIndex(chosen == categoryChoices_.end()
                                    ? std::nullopt
                                    : std::optional(static_cast<int>(chosen - categoryChoices_.begin())));
}

TemplateRow* DeviceTemplatesView::makeRow(const DeviceTemplateCatalog::Entry& entry) {
    auto* row = new TemplateRow(entry, [this](const CustomPreset& preset) { model_.onSaveCustom(preset); });
    // Rows keep catalog order: this one goes after every row made for an earlier entry.
    const std::size_t place = catalogOrder_.at(entry.id);
    int before = 0;
    for (const auto& [id, made] : rows_) {
        if (catalogOrder_.at(id) < place) ++before;
    }
    list_->insertWidget(before, row);
    rows_.emplace(entry.id, row);
    return row;
}

void DeviceTemplatesView::renderRows() {
    const Preferences& preferences = model_.preferences();
    const auto& applied = model_.applied();
    std::vector<TemplateRow*> shown;
    std::unordered_set<const TemplateRow*> showing;
    for (const auto* entry : browser_.entries()) {
        const auto found = rows_.find(entry->id);
        TemplateRow* row = found != rows_.end() ? found->second : makeRow(*entry);
        row->setStatus(DeviceTemplateBrowser::rowStatus(*entry, preferences, applied));
        row->show();
        shown.push_back(row);
        showing.insert(row);
    }
    for (TemplateRow* row : shown_) {
        if (!showing.contains(row)) row->hide();
    }
    shown_ = std::move(shown);
    message_->setText(QString::fromStdString(browser_.emptyMessage()));
    message_->setVisible(shown_.empty());
}

std::vector<TemplateRow*> DeviceTemplatesView::shownRows() const { return shown_; }

TemplateRow* DeviceTemplatesView::row(const std::string& entryID) const {
    const auto found = rows_.find(entryID);
    return found == rows_.end() ? nullptr : found->second;
}

}  // namespace dorvane
