#include "Dorvane/Settings/ResolutionSettingsPage.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Dorvane/Settings/DeviceTemplatesView.h"
#include "Dorvane/Settings/ResolutionPresetRow.h"
#include "Dorvane/Settings/SettingsPageLayout.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/Settings/SpecEditor.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/RoundedFill.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/SymbolLabel.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

namespace {

constexpr int kListSpacing = 12;
constexpr int kCardPadding = 4;
constexpr int kCardSpacing = 2;
constexpr int kBannerPadding = 10;
constexpr int kBannerSpacing = 8;
constexpr const char* kDeviceTemplatesIdentity = "device-templates";

StyledButton* headerButton(ButtonStyle style, const QString& title, std::string_view symbol, QWidget* parent) {
    auto* button = new StyledButton(style, ButtonSize::small, title, parent);
    button->setSymbol(symbol);
    button->setLabelSize(DesignTokens::fontBody);
    return button;
}

}  // namespace

ResolutionSettingsPage::ResolutionSettingsPage(SettingsView& view) : view_(view) {
    auto* column = settingsPageColumn(this);
    auto* header = new QHBoxLayout;
    header->addWidget(settingsPageTitle(QStringLiteral("分辨率"), this));
    header->addStretch(1);
    templates_ = headerButton(ButtonStyle::secondary, QStringLiteral("设备模板"), "ipad.and.iphone", this);
    newPreset_ = headerButton(ButtonStyle::primary, QStringLiteral("新增规格"), "plus", this);
    header->addWidget(templates_);
    header->addWidget(newPreset_);
    column->addLayout(header);

    content_ = new QWidget;
    stack_ = new QVBoxLayout(content_);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->setSpacing(kListSpacing);
    card_ = new RoundedFill(DesignTokens::Colors::card, DesignTokens::radiusMd, content_);
    cardRows_ = new QVBoxLayout(card_);
    cardRows_->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    cardRows_->setSpacing(kCardSpacing);
    stack_->addWidget(card_);
    stack_->addStretch(1);
    column->addWidget(settingsScrollArea(content_, this), 1);

    connect(templates_, &QAbstractButton::clicked, this, [this] { view_.setShowingDeviceTemplates(true); });
    connect(newPreset_, &QAbstractButton::clicked, this,
            [this] { view_.setDraft(SpecDraft::forNewPreset(view_.model().preferences())); });

    // The editor saves through the model and closes by emptying the draft.
    view_.setSpecEditor([&view = view_](const SpecDraft& draft) -> std::unique_ptr<QWidget> {
        return std::make_unique<SpecEditor>(
            draft,
            [&view](const CustomPreset& preset) {
                view.model().onSaveCustom(preset);
                view.setDraft(std::nullopt);
            },
            [&view] { view.setDraft(std::nullopt); });
    });
    render();
}

void ResolutionSettingsPage::render() {
    renderRows();
    renderDetail();
}

// Rows are kept by id: a republished list moves, updates, adds and drops rows, never
// remakes one that stays.
void ResolutionSettingsPage::renderRows() {
    const auto rows = resolutionPageRows(view_.model().preferences(), view_.model().applied());
    std::vector<std::string> order;
    order.reserve(rows.size());
    for (const auto& row : rows) {
        // An id listed twice is shown once, at its first place.
        if (std::ranges::find(order, row.preset.id) != order.end()) continue;
        order.push_back(row.preset.id);
        const auto found = rows_.find(row.preset.id);
        if (found != rows_.end()) {
            found->second->render(row);
            continue;
        }
        rows_.emplace(row.preset.id,
                      new ResolutionPresetRow(
                          row, [this](const SpecDraft& draft) { view_.setDraft(draft); },
                          [this](const DeletionTarget& target) { view_.setPendingDeletion(target); }, card_));
    }
    for (auto it = rows_.begin(); it != rows_.end();) {
        if (std::ranges::find(order, it->first) == order.end()) {
            delete it->second;
            it = rows_.erase(it);
        } else {
            ++it;
        }
    }
    if (order != order_) {
        for (std::size_t index = 0; index < order.size(); ++index) {
            ResolutionPresetRow* row = rows_.at(order[index]);
            cardRows_->removeWidget(row);
            cardRows_->insertWidget(static_cast<int>(index), row);
            row->show();
        }
        order_ = std::move(order);
    }
    card_->setVisible(!order_.empty());
}

// The banner exists only while there is a detail; the same detail keeps its text and
// whatever the user selected in it.
void ResolutionSettingsPage::renderDetail() {
    const auto& detail = view_.model().detail();
    if (!detail || detail->empty()) {
        delete banner_;
        banner_ = nullptr;
        detailText_ = nullptr;
        return;
    }
    if (!banner_) {
        banner_ = new RoundedFill(DesignTokens::Colors::accentFill, DesignTokens::radiusMd, content_);
        auto* row = new QHBoxLayout(banner_);
        row->setContentsMargins(kBannerPadding, kBannerPadding, kBannerPadding, kBannerPadding);
        row->setSpacing(kBannerSpacing);
        row->addWidget(new SymbolLabel("info.circle.fill", DesignTokens::fontBody, DesignTokens::Colors::accent, banner_),
                       0, Qt::AlignVCenter);
        detailText_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontCaption),
                                     DesignTokens::Colors::textSecondary, banner_);
        detailText_->setWordWrap(true);
        detailText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        row->addWidget(detailText_, 1, Qt::AlignVCenter);
        stack_->insertWidget(1, banner_);
    }
    const QString text = QString::fromStdString(*detail);
    if (detailText_->text() != text) detailText_->setText(text);
}

void ResolutionSettingsPage::presentSheets() {
    const bool showing = view_.state().showingDeviceTemplates;
    view_.sheets().sheet(
        deviceTemplatesSheet, showing ? std::optional<std::string>(kDeviceTemplatesIdentity) : std::nullopt,
        [this]() -> std::unique_ptr<QWidget> {
            return std::make_unique<DeviceTemplatesView>(view_.model(), view_.environment().supportFolder,
                                                         [this] { view_.setShowingDeviceTemplates(false); });
        },
        [this] { view_.setShowingDeviceTemplates(false); });
}

std::vector<ResolutionPresetRow*> ResolutionSettingsPage::rows() const {
    std::vector<ResolutionPresetRow*> shown;
    for (const auto& id : order_) shown.push_back(rows_.at(id));
    return shown;
}

ResolutionPresetRow* ResolutionSettingsPage::row(const std::string& id) const {
    const auto found = rows_.find(id);
    return found == rows_.end() ? nullptr : found->second;
}

}  // namespace dorvane
