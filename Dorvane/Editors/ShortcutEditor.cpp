#include "Dorvane/Editors/ShortcutEditor.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Dorvane/Editors/EditorMetrics.h"
#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Editors/IconPickerView.h"
#include "Dorvane/InputViews/ShortcutRecorder.h"
#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/SettingRows.h"
#include "Dorvane/Visual/GlassDropdown.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/SheetAlert.h"
#include "Dorvane/Visual/SheetLayer.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "Dorvane/Visual/OverlayScrollBar.h"
#include "DorvaneCore/Editors/ManualKeys.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane {

namespace {

TokenLabel* label(const QString& text, double size, FontWeight weight, const AdaptiveColor& color, QWidget* parent) {
    return new TokenLabel(text, DesignTokens::font(size, weight), color, parent);
}

// A fixed-width label in front of a field ("名称", "主按键").
TokenLabel* fieldLabel(const QString& text, QWidget* parent) {
    auto* title = label(text, DesignTokens::fontBody, FontWeight::medium, DesignTokens::Colors::textPrimary, parent);
    title->setFixedWidth(EditorMetrics::labelWidth);
    return title;
}

QHBoxLayout* row(int spacing) {
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QVBoxLayout* column(QWidget* owner, int spacing) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QFont keySymbolFont() { return DesignTokens::keyFont(DesignTokens::fontBody, FontWeight::semibold); }

const AdaptiveColor& unsetKeyColor() {
    static const AdaptiveColor color =
        DesignTokens::Colors::textSecondary.withOpacity(EditorMetrics::unsetKeyOpacity, "Corvelle.unsetKey");
    return color;
}

}  // namespace

KeycapButton::KeycapButton(const QString& symbol, const QString& title, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol) {
    setText(title);
    setAccessibleName(title);
    setFocusPolicy(controlFocusPolicy);
    setFixedHeight(EditorMetrics::keycapHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    DesignTokens::repaintOnAppearanceChange(this);
}

void KeycapButton::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
}

QSize KeycapButton::sizeHint() const {
    const double width = QFontMetricsF(keySymbolFont()).horizontalAdvance(symbol_) +
                         EditorMetrics::keycapLabelSpacing +
                         QFontMetricsF(DesignTokens::font(DesignTokens::fontCaption, FontWeight::medium)).horizontalAdvance(text());
    return QSize(static_cast<int>(std::ceil(width)) + 2 * EditorMetrics::chipHorizontalPadding, EditorMetrics::keycapHeight);
}

void KeycapButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : DesignTokens::disabledOpacity);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), DesignTokens::radiusSm, DesignTokens::radiusSm);
    const AdaptiveColor& fill = on_ ? DesignTokens::Colors::accentFill
                                    : (isDown() ? DesignTokens::Colors::secondaryFillPressed : DesignTokens::Colors::secondaryFill);
    painter.fillPath(shape, fill.resolved());
    painter.setPen((on_ ? DesignTokens::Colors::accent : DesignTokens::Colors::textPrimary).resolved());
    const QFont symbolFont = keySymbolFont();
    QFont titleFont = DesignTokens::font(DesignTokens::fontCaption, FontWeight::medium);
    const double symbolWidth = QFontMetricsF(symbolFont).horizontalAdvance(symbol_);
    double titleWidth = QFontMetricsF(titleFont).horizontalAdvance(text());
    const double room = width() - 2.0 * EditorMetrics::keycapLabelSpacing - symbolWidth - EditorMetrics::keycapLabelSpacing;
    // The name shrinks to 80 % before it is cut.
    if (titleWidth > room && titleWidth * 0.8 <= room) {
        titleFont = DesignTokens::font(DesignTokens::fontCaption * room / titleWidth, FontWeight::medium);
        titleWidth = room;
    }
    const double total = symbolWidth + EditorMetrics::keycapLabelSpacing + std::min(titleWidth, room);
    const double left = (width() - total) / 2;
    // Symbol and name share one baseline, the one that centres the symbol's line.
    const QFontMetricsF symbolMetrics(symbolFont);
    const double baseline = (height() - symbolMetrics.ascent() - symbolMetrics.descent()) / 2 + symbolMetrics.ascent();
    painter.setFont(symbolFont);
    painter.drawText(QPointF(left, baseline), symbol_);
    painter.setFont(titleFont);
    const double titleRoom = std::min(titleWidth, room) + 1;
    painter.drawText(QPointF(left + symbolWidth + EditorMetrics::keycapLabelSpacing, baseline),
                     QFontMetricsF(titleFont).elidedText(text(), Qt::ElideRight, titleRoom));
}

ShortcutEditor::ShortcutEditor(const NamedShortcut& shortcut, Callbacks callbacks, const EditorServices& services,
                               std::function<std::optional<double>()> windowContentHeight,
                               std::function<bool()> reduceMotion, QWidget* parent)
    : QWidget(parent),
      model_(shortcut, static_cast<bool>(callbacks.onDelete)),
      callbacks_(std::move(callbacks)),
      screens_(services.screens),
      windowContentHeight_(std::move(windowContentHeight)),
      reduceMotion_(std::move(reduceMotion)) {
    setAccessibleName(qtText(model_.title()));
    auto* outer = column(this, 0);
    buildHeader();
    outer->addWidget(header_);
    outer->addWidget(new SettingsSeparator(Qt::Horizontal, this));
    buildBody(services);
    outer->addWidget(body_, 1);
    outer->addWidget(new SettingsSeparator(Qt::Horizontal, this));
    buildFooter();
    outer->addWidget(footer_);
    wire();
    render();
}

// The title and the close button.
void ShortcutEditor::buildHeader() {
    header_ = new QWidget(this);
    auto* headerRow = new QHBoxLayout(header_);
    headerRow->setContentsMargins(EditorMetrics::sheetSidePadding, EditorMetrics::headerVerticalPadding,
                                  EditorMetrics::sheetSidePadding, EditorMetrics::headerVerticalPadding);
    headerRow->setSpacing(EditorMetrics::headerSpacing);
    title_ = label(QString(), DesignTokens::fontEmphasis, FontWeight::semibold, DesignTokens::Colors::textPrimary, header_);
    headerRow->addWidget(title_);
    headerRow->addStretch(1);
    close_ = new PlainButton("xmark.circle.fill", QString(), DesignTokens::font(DesignTokens::fontBody),
                             DesignTokens::Colors::textSecondary, header_);
    close_->setSymbolSize(EditorMetrics::closeSymbolSize);
    close_->setMinimumHit(QSize(EditorMetrics::closeButtonFrame, EditorMetrics::closeButtonFrame));
    close_->setToolTip(QStringLiteral("关闭，不保存修改"));
    close_->setAccessibleName(QStringLiteral("关闭"));
    headerRow->addWidget(close_);
}

// Name, key and icon, in a scroll area.
void ShortcutEditor::buildBody(const EditorServices& services) {
    body_ = new QScrollArea(this);
    body_->setFrameShape(QFrame::NoFrame);
    body_->setWidgetResizable(true);
    body_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    body_->setFocusPolicy(scrollAreaFocusPolicy);
    OverlayScrollBar::install(body_);
    bodyContent_ = new QWidget;
    auto* sections = new QVBoxLayout(bodyContent_);
    sections->setContentsMargins(EditorMetrics::sheetSidePadding, EditorMetrics::bodyVerticalPadding,
                                 EditorMetrics::sheetSidePadding, EditorMetrics::bodyVerticalPadding);
    sections->setSpacing(EditorMetrics::bodySpacing);
    sections->addLayout(buildNameRow());
    sections->addLayout(buildKeySection(services));
    sections->addLayout(buildIconSection());
    sections->addStretch(1);

    body_->setWidget(bodyContent_);
    body_->setAutoFillBackground(false);
    body_->viewport()->setAutoFillBackground(false);
    bodyContent_->setAutoFillBackground(false);
}

QHBoxLayout* ShortcutEditor::buildNameRow() {
    auto* nameRow = row(EditorMetrics::nameRowSpacing);
    nameRow->setContentsMargins(0, EditorMetrics::nameRowPadding, 0, EditorMetrics::nameRowPadding);
    nameRow->addWidget(fieldLabel(QStringLiteral("名称"), bodyContent_));
    name_ = new TextField(TextField::Style::roundedBorder, QStringLiteral("操作名称"), QStringLiteral("名称"), bodyContent_);
    nameRow->addWidget(name_, 1);
    return nameRow;
}

// The mode, the recorder or the manual choice, and the key as it stands.
QVBoxLayout* ShortcutEditor::buildKeySection(const EditorServices& services) {
    auto* keySection = new QVBoxLayout;
    keySection->setSpacing(EditorMetrics::keySectionSpacing);
    auto* keyHeading = row(0);
    keyHeading->addWidget(label(QStringLiteral("按键组合"), DesignTokens::fontBody, FontWeight::semibold,
                                DesignTokens::Colors::textSecondary, bodyContent_));
    keyHeading->addStretch(1);
    mode_ = new SegmentedPicker(QString(), {QStringLiteral("手动配置"), QStringLiteral("按键录制")}, bodyContent_);
    mode_->setFixedWidth(EditorMetrics::modeSegmentWidth);
    keyHeading->addWidget(mode_);
    keySection->addLayout(keyHeading);
    buildRecorder(services);
    keySection->addWidget(recorderColumn_);
    buildManualKeys();
    keySection->addWidget(manualColumn_);
    keySection->addLayout(buildCurrentKeyRow());
    return keySection;
}

void ShortcutEditor::buildRecorder(const EditorServices& services) {
    recorderColumn_ = new QWidget(bodyContent_);
    auto* recorderLayout = column(recorderColumn_, EditorMetrics::recorderSpacing);
    if (services.events != nullptr && services.permissions != nullptr && services.mainQueue != nullptr) {
        recorder_ = new ShortcutRecorder({*services.events, *services.mainQueue, *services.permissions},
                                         {[this] { return model_.key(); },
                                          [this](const ShortcutKey& key) {
                                              model_.setRecordedKey(key);
                                              render();
                                          }},
                                         recorderColumn_);
        recorder_->setFixedHeight(EditorMetrics::recorderHeight);
        recorder_->field().setAccessibleName(QStringLiteral("录制快捷键"));
        recorderLayout->addWidget(recorder_);
    }
    recorderLayout->addWidget(label(QStringLiteral("点击输入框后按下快捷键"), DesignTokens::fontCaption, FontWeight::regular,
                                    DesignTokens::Colors::textSecondary, recorderColumn_));
}

void ShortcutEditor::buildManualKeys() {
    manualColumn_ = new QWidget(bodyContent_);
    auto* manualLayout = column(manualColumn_, EditorMetrics::keySectionSpacing);
    auto* mainKeyRow = row(EditorMetrics::nameRowSpacing);
    mainKeyRow->addWidget(fieldLabel(QStringLiteral("主按键"), manualColumn_));
    std::vector<GlassDropdownItem<std::uint16_t>> mainKeys{{ShortcutEditorModel::noManualKey, "请选择按键…"}};
    for (const ManualKey& key : manualKeys) mainKeys.push_back({key.code, std::string(key.title)});
    mainKey_ = new GlassDropdown<std::uint16_t>(
        QStringLiteral("主按键"), std::move(mainKeys), std::nullopt, QStringLiteral("请选择按键…"),
        DesignTokens::dropdownMinWidth,
        [this](const std::uint16_t& code) {
            model_.chooseManualKey(code);
            render();
        },
        manualColumn_);
    // As wide as the name field above it.
    mainKey_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    mainKeyRow->addWidget(mainKey_, 1);
    manualLayout->addLayout(mainKeyRow);
    auto* modifiers = new QVBoxLayout;
    modifiers->setSpacing(EditorMetrics::modifierSpacing);
    modifiers->addWidget(label(QStringLiteral("修饰键"), DesignTokens::fontBody, FontWeight::medium,
                               DesignTokens::Colors::textSecondary, manualColumn_));
    keycapRow_ = new QWidget(manualColumn_);
    auto* keycaps = new QHBoxLayout(keycapRow_);
    keycaps->setContentsMargins(0, 0, 0, 0);
    keycaps->setSpacing(EditorMetrics::keycapSpacing);
    for (std::size_t i = 0; i < modifierKeycaps.size(); ++i) {
        keycaps_[i] = new KeycapButton(qtText(modifierKeycaps[i].symbol), qtText(modifierKeycaps[i].title), keycapRow_);
        keycaps->addWidget(keycaps_[i], 1);
    }
    modifiers->addWidget(keycapRow_);
    manualLayout->addLayout(modifiers);
}

QHBoxLayout* ShortcutEditor::buildCurrentKeyRow() {
    auto* currentKey = row(EditorMetrics::keyRowSpacing);
    currentKey->setContentsMargins(0, EditorMetrics::keyRowTopPadding, 0, 0);
    currentKey->addWidget(label(QStringLiteral("快捷键"), DesignTokens::fontBody, FontWeight::regular,
                                DesignTokens::Colors::textSecondary, bodyContent_));
    chip_ = new RoundedFill(DesignTokens::Colors::accentFill, DesignTokens::radiusSm, bodyContent_);
    auto* chipLayout = new QHBoxLayout(chip_);
    chipLayout->setContentsMargins(EditorMetrics::chipHorizontalPadding, EditorMetrics::chipVerticalPadding,
                                   EditorMetrics::chipHorizontalPadding, EditorMetrics::chipVerticalPadding);
    chipText_ = new TokenLabel(QString(), keySymbolFont(), DesignTokens::Colors::accent, chip_);
    chipLayout->addWidget(chipText_);
    currentKey->addWidget(chip_);
    unset_ = label(QStringLiteral("未设定"), DesignTokens::fontBody, FontWeight::regular, unsetKeyColor(), bodyContent_);
    currentKey->addWidget(unset_);
    currentKey->addStretch(1);
    return currentKey;
}

QVBoxLayout* ShortcutEditor::buildIconSection() {
    auto* iconSection = new QVBoxLayout;
    iconSection->setContentsMargins(0, EditorMetrics::nameRowPadding, 0, EditorMetrics::nameRowPadding);
    iconSection->setSpacing(EditorMetrics::keySectionSpacing);
    auto* iconRow = row(EditorMetrics::iconRowSpacing);
    iconRow->addWidget(label(QStringLiteral("图标"), DesignTokens::fontBody, FontWeight::medium,
                             DesignTokens::Colors::textPrimary, bodyContent_));
    iconSymbol_ = framedSymbol("keyboard", DesignTokens::fontEmphasis, DesignTokens::Colors::accent,
                                 QSize(EditorMetrics::iconSymbolWidth, EditorMetrics::iconSymbolWidth), bodyContent_);
    iconRow->addWidget(iconSymbol_);
    iconTitle_ = label(QString(), DesignTokens::fontBody, FontWeight::regular, DesignTokens::Colors::textSecondary,
                       bodyContent_);
    iconRow->addWidget(iconTitle_);
    iconRow->addStretch(1);
    iconToggle_ = new PlainButton("", QStringLiteral("更换"), DesignTokens::font(DesignTokens::fontBody, FontWeight::medium),
                                  DesignTokens::Colors::accent, bodyContent_);
    iconToggle_->setMinimumHit(QSize(EditorMetrics::largeHit, EditorMetrics::largeHit));
    iconRow->addWidget(iconToggle_);
    iconSection->addLayout(iconRow);
    picker_ = new IconPickerView(model_.icon(),
                                 [this](ShortcutIcon icon) {
                                     model_.chooseIcon(icon);
                                     render();
                                 },
                                 reduceMotion_, bodyContent_);
    picker_->hide();
    iconSection->addWidget(picker_);
    return iconSection;
}

// The failure, then the buttons.
void ShortcutEditor::buildFooter() {
    footer_ = new QWidget(this);
    auto* footerColumn = new QVBoxLayout(footer_);
    footerColumn->setContentsMargins(EditorMetrics::sheetSidePadding, EditorMetrics::headerVerticalPadding,
                                     EditorMetrics::sheetSidePadding, EditorMetrics::headerVerticalPadding);
    footerColumn->setSpacing(EditorMetrics::footerSpacing);
    errorRow_ = new QWidget(footer_);
    auto* errorLayout = new QHBoxLayout(errorRow_);
    errorLayout->setContentsMargins(0, 0, 0, 0);
    errorLayout->setSpacing(EditorMetrics::errorRowSpacing);
    errorLayout->addWidget(framedSymbol("exclamationmark.circle.fill", DesignTokens::fontBody, DesignTokens::Colors::red,
                                          QSize(DesignTokens::fontBody + 3, DesignTokens::fontBody + 3), errorRow_));
    error_ = label(QString(), DesignTokens::fontBody, FontWeight::regular, DesignTokens::Colors::red, errorRow_);
    errorLayout->addWidget(error_);
    errorLayout->addStretch(1);
    footerColumn->addWidget(errorRow_);
    auto* buttons = row(EditorMetrics::footerSpacing);
    delete_ = new PlainButton("", QStringLiteral("删除"), DesignTokens::font(DesignTokens::fontBody),
                              DesignTokens::Colors::red, footer_);
    delete_->setMinimumHit(QSize(EditorMetrics::largeHit, EditorMetrics::largeHit));
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    cancel_ = new StyledButton(ButtonStyle::secondary, QStringLiteral("取消"), footer_);
    buttons->addWidget(cancel_);
    save_ = new StyledButton(ButtonStyle::primary, QStringLiteral("保存"), footer_);
    buttons->addWidget(save_);
    footerColumn->addLayout(buttons);
}

void ShortcutEditor::wire() {
    {
        const QSignalBlocker block(name_);
        name_->setText(QString::fromStdString(model_.name()));
    }
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.setName(text.toStdString());
        render();
    });
    mode_->onSelect = [this](int index) {
        model_.useRecorder = index == 1;
        render();
    };
    for (std::size_t i = 0; i < keycaps_.size(); ++i) {
        connect(keycaps_[i], &QAbstractButton::clicked, this, [this, i] {
            model_.toggleKeycap(modifierKeycaps[i].mask);
            render();
        });
    }
    connect(iconToggle_, &QAbstractButton::clicked, this, [this] { toggleIconPicker(); });
    connect(close_, &QAbstractButton::clicked, this, [this] { cancel(); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { cancel(); });
    connect(save_, &QAbstractButton::clicked, this, [this] { save(); });
    connect(delete_, &QAbstractButton::clicked, this, [this] { confirmDelete(); });
}

ShortcutEditor::~ShortcutEditor() {
    // The alert hangs from the window, not from the editor: it goes with the editor.
    if (deleteAlert_) {
        deleteAlert_->hide();
        deleteAlert_->deleteLater();
    }
}

QLabel* ShortcutEditor::titleLabel() const { return title_; }
QAbstractButton* ShortcutEditor::closeButton() const { return close_; }
QLabel* ShortcutEditor::keyChip() const { return chipText_; }
QLabel* ShortcutEditor::unsetLabel() const { return unset_; }
QAbstractButton* ShortcutEditor::iconToggle() const { return iconToggle_; }
QAbstractButton* ShortcutEditor::deleteButton() const { return delete_; }
QAbstractButton* ShortcutEditor::cancelButton() const { return cancel_; }
QAbstractButton* ShortcutEditor::saveButton() const { return save_; }
QLabel* ShortcutEditor::errorLabel() const { return error_; }

void ShortcutEditor::render() {
    title_->setText(qtText(model_.title()));
    if (name_->text().toStdString() != model_.name()) {
        const QSignalBlocker block(name_);
        name_->setText(QString::fromStdString(model_.name()));
    }
    mode_->setSelectedIndex(model_.useRecorder ? 1 : 0);
    recorderColumn_->setVisible(model_.useRecorder);
    manualColumn_->setVisible(!model_.useRecorder);
    if (recorder_ != nullptr) recorder_->refresh();
    // A recorded key the table does not offer selects no entry.
    const std::optional<std::uint16_t> mainKey =
        model_.key() ? model_.manualKeySelection() : std::optional(ShortcutEditorModel::noManualKey);
    if (mainKey_->selection() != mainKey) mainKey_->setSelection(mainKey);
    keycapRow_->setEnabled(model_.keycapsEnabled());
    for (std::size_t i = 0; i < keycaps_.size(); ++i) keycaps_[i]->setOn(model_.isKeycapOn(modifierKeycaps[i].mask));
    const auto chip = model_.keyChipLabel();
    chip_->setVisible(chip.has_value());
    unset_->setVisible(!chip);
    if (chip) chipText_->setText(QString::fromStdString(*chip));

    iconSymbol_->set(rawValue(model_.icon()), DesignTokens::Colors::accent);
    iconTitle_->setText(qtText(title(model_.icon())));
    iconToggle_->setText(model_.showsIconPicker ? QStringLiteral("收起") : QStringLiteral("更换"));
    iconToggle_->setAccessibleName(model_.showsIconPicker ? QStringLiteral("收起图标选择") : QStringLiteral("更换图标"));
    picker_->setSelected(model_.icon());
    setVisibleFading(picker_, model_.showsIconPicker, !(reduceMotion_ && reduceMotion_()), DesignTokens::foldDuration);

    errorRow_->setVisible(model_.error().has_value());
    if (model_.error()) error_->setText(QString::fromStdString(*model_.error()));
    delete_->setVisible(model_.offersDelete());
    save_->setEnabled(model_.canSave());
    fitHeight();
}

// The measured header, body and footer, limited by the main screen and the window the
// sheet lies over.
void ShortcutEditor::fitHeight() {
    for (QWidget* part : {header_, bodyContent_, footer_}) {
        if (part->layout() != nullptr) part->layout()->activate();
    }
    const double preferred = model_.preferredHeight(header_->sizeHint().height(), bodyContent_->sizeHint().height(),
                                                    footer_->sizeHint().height());
    std::optional<double> screen;
    if (screens_ != nullptr) {
        try {
            const auto screens = screens_->screens();
            if (!screens.empty()) screen = screens.front().visibleFrame.height;
        } catch (const std::exception&) {
            // No screen to go by: the sheet keeps to the fixed limit.
        }
    }
    const std::optional<double> window = windowContentHeight_ ? windowContentHeight_() : std::nullopt;
    const int height = static_cast<int>(std::ceil(ShortcutEditorModel::panelHeight(preferred, screen, window)));
    if (size() != QSize(EditorMetrics::editorWidth, height)) setFixedSize(EditorMetrics::editorWidth, height);
}

void ShortcutEditor::toggleIconPicker() {
    model_.showsIconPicker = !model_.showsIconPicker;
    render();
}

void ShortcutEditor::save() {
    const auto record = model_.saveRequest();
    if (!record) return;
    const QPointer<ShortcutEditor> alive(this);
    const auto onSave = callbacks_.onSave;
    const bool stored = onSave && onSave(*record);
    if (!alive) return;
    model_.saveAnswered(stored);
    render();
}

void ShortcutEditor::cancel() {
    if (const auto onCancel = callbacks_.onCancel) onCancel();
}

void ShortcutEditor::confirmDelete() {
    if (!callbacks_.onDelete || deleteAlert_) return;
    // Return and Escape both keep the shortcut: only choosing "删除" deletes it. The alert
    // hangs from the window the sheet hangs from.
    auto* alert = new SheetAlert(SheetLayer::ownerFor(*this), QString::fromStdString(model_.deleteAlertTitle()),
                                 {{QStringLiteral("取消"), SheetAlert::Role::cancel},
                                  {QStringLiteral("删除"), SheetAlert::Role::destructive}});
    connect(alert, &QDialog::finished, alert, [alert] { alert->deleteLater(); });
    connect(alert, &QDialog::finished, this, [this, alert] {
        deleteAlert_ = nullptr;
        if (alert->clickedButton() == nullptr || alert->role(alert->clickedButton()) != SheetAlert::Role::destructive) {
            return;
        }
        const QPointer<ShortcutEditor> alive(this);
        const auto onDelete = callbacks_.onDelete;
        const bool deleted = onDelete && onDelete();
        if (!alive) return;
        model_.deleteAnswered(deleted);
        render();
    });
    deleteAlert_ = alert;
    alert->present();
}

void ShortcutEditor::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            save();
            return;
        case Qt::Key_Escape:
            event->accept();
            cancel();
            return;
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace dorvane
