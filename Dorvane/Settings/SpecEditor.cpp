#include "Dorvane/Settings/SpecEditor.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "Dorvane/Visual/QtText.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/NumberStepper.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/SymbolLabel.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "DorvaneCore/Resolution/SupportedRange.h"

namespace dorvane {

namespace {

constexpr int kPadding = 20;
constexpr int kSpacing = 16;
constexpr int kSizeRowSpacing = 12;
constexpr int kCaptionSpacing = 4;
constexpr int kTimesTopPadding = 16;
constexpr int kErrorSpacing = 6;
constexpr int kButtonSpacing = 8;
// A caption over its field.
QWidget* captioned(const QString& caption, TextField* field, QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kCaptionSpacing);
    layout->addWidget(new TokenLabel(caption, DesignTokens::font(DesignTokens::fontCaption),
                                     DesignTokens::Colors::textSecondary, column));
    layout->addWidget(field);
    return column;
}

}  // namespace

SpecEditor::SpecEditor(const SpecDraft& draft, std::function<void(const CustomPreset&)> onSave,
                       std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent), model_(draft), onSave_(std::move(onSave)), onCancel_(std::move(onCancel)) {
    setFixedWidth(width);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);

    addFields(column);
    column->addLayout(makeScaleRow());
    column->addWidget(new TokenLabel(qtText(SpecEditorModel::sideHint), DesignTokens::font(DesignTokens::fontCaption),
                                     DesignTokens::Colors::textSecondary, this));
    makeErrorRow();
    column->addWidget(errorRow_);
    column->addLayout(makeButtons());
    wire();
    render();
}

// The title, the name and the size.
void SpecEditor::addFields(QVBoxLayout* column) {
    title_ = new TokenLabel(qtText(model_.title()), DesignTokens::font(DesignTokens::fontEmphasis, FontWeight::semibold),
                            DesignTokens::Colors::textPrimary, this);
    setAccessibleName(title_->text());
    column->addWidget(title_);

    name_ = new TextField(TextField::Style::roundedBorder, QStringLiteral("规格名称（如：iPhone 16 Pro、外接显示器）"),
                          QStringLiteral("规格名称"), this);
    column->addWidget(name_);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->setSpacing(kSizeRowSpacing);
    width_ = new TextField(TextField::Style::roundedBorder, QStringLiteral("宽度"), QStringLiteral("宽度"), this);
    height_ = new TextField(TextField::Style::roundedBorder, QStringLiteral("高度"), QStringLiteral("高度"), this);
    auto* times = new TokenLabel(QStringLiteral("×"), DesignTokens::font(DesignTokens::fontEmphasis),
                                 DesignTokens::Colors::textSecondary, this);
    times->setContentsMargins(0, kTimesTopPadding, 0, 0);
    sizeRow->addWidget(captioned(QStringLiteral("宽度"), width_, this), 1);
    sizeRow->addWidget(times, 0, Qt::AlignVCenter);
    sizeRow->addWidget(captioned(QStringLiteral("高度"), height_, this), 1);
    column->addLayout(sizeRow);
}

QHBoxLayout* SpecEditor::makeScaleRow() {
    auto* stepper = new QHBoxLayout;
    stepper->setSpacing(kButtonSpacing);
    scaleLabel_ = new TokenLabel(QStringLiteral("显示大小："), DesignTokens::font(DesignTokens::fontBody),
                                 DesignTokens::Colors::textPrimary, this);
    scale_ = new NumberStepper(QStringLiteral("显示大小"), QStringLiteral("减小显示大小"), QStringLiteral("增大显示大小"),
                               QStringLiteral("200%"), this);
    scaleUp_ = scale_->increaseButton();
    scaleDown_ = scale_->decreaseButton();
    stepper->addWidget(scaleLabel_);
    stepper->addWidget(scale_);
    stepper->addStretch(1);
    return stepper;
}

void SpecEditor::makeErrorRow() {
    errorRow_ = new QWidget(this);
    auto* error = new QHBoxLayout(errorRow_);
    error->setContentsMargins(0, 0, 0, 0);
    error->setSpacing(kErrorSpacing);
    error->addWidget(new SymbolLabel("exclamationmark.circle.fill", DesignTokens::fontCaption,
                                     DesignTokens::Colors::red, errorRow_));
    errorText_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontCaption), DesignTokens::Colors::red,
                                errorRow_);
    errorText_->setWordWrap(true);
    error->addWidget(errorText_, 1);
}

QHBoxLayout* SpecEditor::makeButtons() {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kButtonSpacing);
    buttons->addStretch(1);
    cancel_ = new StyledButton(ButtonStyle::secondary, QStringLiteral("取消"), this);
    buttons->addWidget(cancel_);
    if (model_.offersSaveAsCopy()) {
        saveAs_ = new StyledButton(ButtonStyle::secondary, QStringLiteral("另存为新规格"), this);
        buttons->addWidget(saveAs_);
        connect(saveAs_, &QAbstractButton::clicked, this, [this] { commit(true); });
    }
    save_ = new StyledButton(ButtonStyle::primary, QStringLiteral("保存"), this);
    buttons->addWidget(save_);
    return buttons;
}

void SpecEditor::wire() {
    name_->setText(QString::fromStdString(model_.name));
    width_->setText(QString::fromStdString(model_.width));
    height_->setText(QString::fromStdString(model_.height));
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) { model_.name = text.toStdString(); });
    connect(width_, &QLineEdit::textEdited, this, [this](const QString& text) { model_.width = text.toStdString(); });
    connect(height_, &QLineEdit::textEdited, this, [this](const QString& text) { model_.height = text.toStdString(); });
    connect(scaleUp_, &QAbstractButton::clicked, this, [this] {
        model_.stepScale(1);
        render();
    });
    connect(scaleDown_, &QAbstractButton::clicked, this, [this] {
        model_.stepScale(-1);
        render();
    });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { onCancel_(); });
    connect(save_, &QAbstractButton::clicked, this, [this] { commit(false); });
}

void SpecEditor::commit(bool saveAs) {
    const auto preset = model_.commit(saveAs);
    if (preset) {
        onSave_(*preset);
        return;
    }
    render();
}

void SpecEditor::render() {
    scale_->setValue(QString::number(model_.scalePercent()) + QStringLiteral("%"));
    scale_->setAccessibleName(QString::fromStdString(model_.scaleLabel()));
    scale_->setLimits(model_.scalePercent() > kMinimumScalePercent, model_.scalePercent() < kMaximumScalePercent);
    const auto& error = model_.error();
    errorText_->setText(error ? QString::fromStdString(*error) : QString());
    errorRow_->setVisible(error.has_value());
}

// Return is "保存" and Escape "取消" wherever the focus is: the fields leave both keys to us.
void SpecEditor::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            commit(false);
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            onCancel_();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

}  // namespace dorvane
