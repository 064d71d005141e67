#include "Dorvane/Settings/BuiltinIconSheet.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Editors/IconPickerView.h"
#include "Dorvane/Settings/QuickActionsMetrics.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "DorvaneCore/QuickActions/OperationCard.h"

namespace dorvane {

BuiltinIconSheet::BuiltinIconSheet(FloatingAction action, std::optional<ShortcutIcon> current,
                                   std::function<void(ShortcutIcon)> choose, std::function<void()> cancel,
                                   std::function<bool()> reduceMotion, QWidget* parent)
    : QWidget(parent), action_(action) {
    const QString heading = QString::fromStdString(builtinIconSheetTitle(action));
    setAccessibleName(heading);
    setFixedWidth(QuickActionsMetrics::iconSheetWidth);
    auto* column = new QVBoxLayout(this);
    const int padding = QuickActionsMetrics::iconSheetPadding;
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(QuickActionsMetrics::iconSheetSpacing);
    auto* header = new QHBoxLayout;
    title_ = new TokenLabel(heading, DesignTokens::font(DesignTokens::fontEmphasis, FontWeight::semibold),
                            DesignTokens::Colors::textPrimary, this);
    header->addWidget(title_);
    header->addStretch(1);
    auto* cancelButton = new StyledButton(ButtonStyle::secondary, QStringLiteral("取消"), this);
    cancel_ = cancelButton;
    header->addWidget(cancelButton);
    column->addLayout(header);
    picker_ = new IconPickerView(current, std::move(choose), std::move(reduceMotion), this);
    column->addWidget(picker_);
    failure_ = new TokenLabel(QStringLiteral("保存失败，请重试"), DesignTokens::font(DesignTokens::fontCaption),
                              DesignTokens::Colors::red, this);
    failure_->hide();
    column->addWidget(failure_);
    connect(cancel_, &QAbstractButton::clicked, this, [cancel = std::move(cancel)] {
        if (cancel) cancel();
    });
}

QLabel* BuiltinIconSheet::titleLabel() const { return title_; }
QAbstractButton* BuiltinIconSheet::cancelButton() const { return cancel_; }
QLabel* BuiltinIconSheet::failureLabel() const { return failure_; }

void BuiltinIconSheet::render(bool saveFailed) { failure_->setVisible(saveFailed); }

}  // namespace dorvane
