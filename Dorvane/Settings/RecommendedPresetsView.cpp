#include "Dorvane/Settings/RecommendedPresetsView.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Settings/SettingsPermissions.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "Dorvane/Visual/OverlayScrollBar.h"

namespace dorvane {

RecommendedPresetsView::RecommendedPresetsView(ControlPanelModel& model, SettingsPermissions& permissions,
                                               const std::filesystem::path& supportFolder, std::function<void()> close,
                                               QWidget* parent)
    : QWidget(parent),
      model_(model),
      permissions_(permissions),
      close_(std::move(close)),
      catalog_(RecommendedPresets::loaded(supportFolder)) {
    setAccessibleName(QStringLiteral("常用快捷操作"));
    setFixedSize(QuickActionsMetrics::presetSheetWidth, QuickActionsMetrics::presetSheetHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    column->addLayout(makeHeader());
    column->addWidget(new SettingsSeparator(Qt::Horizontal, this));
    column->addWidget(makeList(), 1);
    column->addWidget(new SettingsSeparator(Qt::Horizontal, this));
    column->addLayout(makeFooter());
    wire();
    render();
}

// The title and the close button.
QHBoxLayout* RecommendedPresetsView::makeHeader() {
    auto* header = new QHBoxLayout;
    header->setContentsMargins(QuickActionsMetrics::presetListPadding, QuickActionsMetrics::presetHeaderTop,
                               QuickActionsMetrics::presetListPadding, QuickActionsMetrics::presetHeaderBottom);
    header->addWidget(new TokenLabel(QStringLiteral("常用快捷操作"),
                                     DesignTokens::font(DesignTokens::fontEmphasis, FontWeight::semibold),
                                     DesignTokens::Colors::textPrimary, this));
    header->addStretch(1);
    auto* closeButton = new PlainButton("xmark", QString(), DesignTokens::font(DesignTokens::fontBody, FontWeight::medium),
                                        DesignTokens::Colors::textPrimary, this);
    closeButton->setCircle(DesignTokens::Colors::secondaryFill);
    closeButton->setFixedSize(QuickActionsMetrics::closeCircle, QuickActionsMetrics::closeCircle);
    closeButton->setAccessibleName(QStringLiteral("关闭"));
    closeButton_ = closeButton;
    header->addWidget(closeButton);
    return header;
}

// Every preset of the catalog, or the catalog's message when it has none.
QScrollArea* RecommendedPresetsView::makeList() {
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(scrollAreaFocusPolicy);
    OverlayScrollBar::install(scroll);
    auto* list = new QWidget;
    auto* rows = new QVBoxLayout(list);
    const int padding = QuickActionsMetrics::presetListPadding;
    rows->setContentsMargins(padding, padding, padding, padding);
    rows->setSpacing(QuickActionsMetrics::presetListSpacing);
    for (const auto& preset : catalog_.presets()) {
        const Row row = makeRow(preset, list);
        rows->addWidget(row.row);
        rows_[preset.id] = row;
    }
    empty_ = new TokenLabel(QString::fromStdString(catalog_.emptyMessage()), DesignTokens::font(DesignTokens::fontBody),
                            DesignTokens::Colors::textSecondary, list);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setMinimumHeight(QuickActionsMetrics::presetEmptyHeight);
    empty_->setVisible(catalog_.presets().empty());
    rows->addWidget(empty_);
    rows->addStretch(1);
    scroll->setWidget(list);
    scroll->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    list->setAutoFillBackground(false);
    return scroll;
}

// A preset's icon, name and key, and its add button or the mark that it is added.
RecommendedPresetsView::Row RecommendedPresetsView::makeRow(const NamedShortcut& preset, QWidget* list) {
    Row row{};
    row.row = new RoundedFill(DesignTokens::Colors::card, DesignTokens::radiusMd, list);
    auto* line = new QHBoxLayout(row.row);
    line->setContentsMargins(QuickActionsMetrics::presetRowHorizontalPadding, QuickActionsMetrics::presetRowVerticalPadding,
                             QuickActionsMetrics::presetRowHorizontalPadding, QuickActionsMetrics::presetRowVerticalPadding);
    line->setSpacing(QuickActionsMetrics::presetRowSpacing);
    auto* tile = new RoundedFill(DesignTokens::Colors::secondaryFill, DesignTokens::radiusSm, row.row);
    tile->setFixedSize(QuickActionsMetrics::presetIconFrame, QuickActionsMetrics::presetIconFrame);
    auto* tileLayout = new QHBoxLayout(tile);
    tileLayout->setContentsMargins(0, 0, 0, 0);
    tileLayout->addWidget(framedSymbol(rawValue(preset.icon), DesignTokens::fontEmphasis,
                                         DesignTokens::Colors::textPrimary,
                                         QSize(QuickActionsMetrics::presetIconFrame, QuickActionsMetrics::presetIconFrame),
                                         tile));
    line->addWidget(tile);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(QuickActionsMetrics::presetTextSpacing);
    texts->addWidget(new TokenLabel(QString::fromStdString(preset.name),
                                    DesignTokens::font(DesignTokens::fontBody, FontWeight::medium),
                                    DesignTokens::Colors::textPrimary, row.row));
    row.key = new TokenLabel(QString::fromStdString(RecommendedPresets::keyDescription(preset.key)),
                             DesignTokens::keyFont(DesignTokens::fontCaption),
                             DesignTokens::Colors::textSecondary, row.row);
    texts->addWidget(row.key);
    line->addLayout(texts);
    line->addStretch(1);
    auto* added = new RoundedFill(DesignTokens::Colors::secondaryFill, DesignTokens::radiusPill, row.row);
    auto* addedLayout = new QHBoxLayout(added);
    addedLayout->setContentsMargins(QuickActionsMetrics::addedHorizontalPadding, QuickActionsMetrics::addedVerticalPadding,
                                    QuickActionsMetrics::addedHorizontalPadding, QuickActionsMetrics::addedVerticalPadding);
    addedLayout->setSpacing(static_cast<int>(DesignTokens::spacingXs));
    addedLayout->addWidget(framedSymbol("checkmark", DesignTokens::fontCaption, DesignTokens::Colors::textSecondary,
                                          QSize(DesignTokens::fontCaption + 2, DesignTokens::fontCaption + 2), added));
    addedLayout->addWidget(new TokenLabel(QStringLiteral("已添加"),
                                          DesignTokens::font(DesignTokens::fontCaption, FontWeight::medium),
                                          DesignTokens::Colors::textSecondary, added));
    row.added = added;
    line->addWidget(added);
    row.add = new StyledButton(ButtonStyle::secondary, ButtonSize::small, QStringLiteral("添加"), row.row);
    row.add->setAccessibleName(QStringLiteral("添加") + QString::fromStdString(preset.name));
    line->addWidget(row.add);
    connect(row.add, &QAbstractButton::clicked, this, [this, preset] { add({preset}); });
    return row;
}

QHBoxLayout* RecommendedPresetsView::makeFooter() {
    auto* footer = new QHBoxLayout;
    const int padding = QuickActionsMetrics::presetListPadding;
    footer->setContentsMargins(padding, QuickActionsMetrics::presetFooterVerticalPadding, padding,
                               QuickActionsMetrics::presetFooterVerticalPadding);
    footer->setSpacing(QuickActionsMetrics::presetFooterSpacing);
    footer->addStretch(1);
    addAll_ = new StyledButton(ButtonStyle::primary, QString(), this);
    footer->addWidget(addAll_);
    done_ = new StyledButton(ButtonStyle::secondary, QStringLiteral("完成"), this);
    footer->addWidget(done_);
    return footer;
}

void RecommendedPresetsView::wire() {
    connect(addAll_, &QAbstractButton::clicked, this, [this] { add(catalog_.missing(model_.preferences())); });
    for (QAbstractButton* closing : {static_cast<QAbstractButton*>(done_), closeButton_}) {
        connect(closing, &QAbstractButton::clicked, this, [this] {
            if (const auto close = close_) close();
        });
    }
}

QAbstractButton* RecommendedPresetsView::addButton(const std::string& presetID) const {
    const auto found = rows_.find(presetID);
    return found == rows_.end() ? nullptr : found->second.add;
}

QWidget* RecommendedPresetsView::addedMark(const std::string& presetID) const {
    const auto found = rows_.find(presetID);
    return found == rows_.end() ? nullptr : found->second.added;
}

QLabel* RecommendedPresetsView::keyLabel(const std::string& presetID) const {
    const auto found = rows_.find(presetID);
    return found == rows_.end() ? nullptr : found->second.key;
}

QAbstractButton* RecommendedPresetsView::addAllButton() const { return addAll_; }
QAbstractButton* RecommendedPresetsView::doneButton() const { return done_; }
QAbstractButton* RecommendedPresetsView::closeButton() const { return closeButton_; }
QLabel* RecommendedPresetsView::emptyLabel() const { return empty_; }

void RecommendedPresetsView::render() {
    const Preferences& preferences = model_.preferences();
    for (const auto& preset : catalog_.presets()) {
        const Row& row = rows_.at(preset.id);
        const bool added = RecommendedPresets::isAdded(preset, preferences);
        row.added->setVisible(added);
        row.add->setVisible(!added);
    }
    const std::size_t missing = catalog_.missing(preferences).size();
    addAll_->setVisible(missing > 0);
    addAll_->setText(QString::fromStdString(RecommendedPresets::addAllTitle(missing)));
    addAll_->updateGeometry();
}

// Each added copy gets an id of its own when it is saved, now or once the permission is
// granted; the panel model outlives the sheet, but not necessarily the permission's wait.
void RecommendedPresetsView::add(const std::vector<NamedShortcut>& presets) {
    const QPointer<ControlPanelModel> model(&model_);
    auto save = [model, presets] {
        for (const auto& preset : presets) {
            if (!model) return;
            model->onSaveShortcut(RecommendedPresets::adoptedCopy(preset));
        }
    };
    permissions_.refresh();
    if (permissions_.accessibility()) {
        save();
        return;
    }
    permissions_.setCompletion(std::move(save));
    permissions_.showGuide();
}

}  // namespace dorvane
