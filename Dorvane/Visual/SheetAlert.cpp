#include "Dorvane/Visual/SheetAlert.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SheetLayer.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

namespace {

TokenLabel* centredText(const QString& text, const QFont& font, const AdaptiveColor& color, QWidget* parent) {
    auto* label = new TokenLabel(text, font, color, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

ButtonStyle styleFor(SheetAlert::Role role, bool isDefault) {
    if (role == SheetAlert::Role::destructive) return ButtonStyle::destructive;
    return isDefault ? ButtonStyle::primary : ButtonStyle::secondary;
}

}  // namespace

SheetAlert::SheetAlert(QWidget& owner, const QString& text, const std::vector<Button>& buttons)
    : QDialog(&owner, Qt::SubWindow) {
    setAccessibleName(text);
    const int padding = static_cast<int>(DesignTokens::alertPadding);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(static_cast<int>(DesignTokens::alertTextSpacing));
    text_ = centredText(text, DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold),
                        DesignTokens::Colors::textPrimary, this);
    column->addWidget(text_);
    message_ = centredText(QString(), DesignTokens::font(DesignTokens::fontBody), DesignTokens::Colors::textSecondary, this);
    message_->hide();
    column->addWidget(message_);
    column->addSpacing(static_cast<int>(DesignTokens::alertButtonsGap - DesignTokens::alertTextSpacing));

    auto* row = new QHBoxLayout;
    row->setSpacing(static_cast<int>(DesignTokens::spacingSm));
    // Return takes the cancelling answer, else the first: nothing is lost by a stray key.
    const auto cancelling = std::ranges::find(buttons, Role::cancel, &Button::role);
    const std::size_t defaultIndex = cancelling != buttons.end() ? static_cast<std::size_t>(cancelling - buttons.begin()) : 0;
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        const bool isDefault = index == defaultIndex;
        auto* made = new StyledButton(styleFor(buttons[index].role, isDefault), buttons[index].title, this);
        made->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons_.emplace_back(made, buttons[index].role);
        row->addWidget(made, 1);
        if (isDefault) default_ = made;
        connect(made, &QAbstractButton::clicked, this, [this, made] { choose(made); });
    }
    if (cancelling != buttons.end()) {
        escape_ = buttons_[defaultIndex].first;
    } else if (buttons_.size() == 1) {
        escape_ = buttons_.front().first;
    }
    column->addLayout(row);
    setFixedWidth(static_cast<int>(DesignTokens::alertWidth));
    setFocusPolicy(Qt::StrongFocus);
    DesignTokens::repaintOnAppearanceChange(this);
}

void SheetAlert::setMessage(const QString& message) {
    message_->setText(message);
    message_->setVisible(!message.isEmpty());
    setAccessibleDescription(message);
    updateGeometry();
}

QString SheetAlert::text() const { return text_->text(); }
QString SheetAlert::message() const { return message_->text(); }

QList<QAbstractButton*> SheetAlert::buttons() const {
    QList<QAbstractButton*> all;
    for (const auto& [button, role] : buttons_) all.push_back(button);
    return all;
}

QAbstractButton* SheetAlert::defaultButton() const { return default_; }
QAbstractButton* SheetAlert::escapeButton() const { return escape_; }

SheetAlert::Role SheetAlert::role(const QAbstractButton* button) const {
    for (const auto& [made, role] : buttons_) {
        if (made == button) return role;
    }
    return Role::normal;
}

QSize SheetAlert::sizeHint() const {
    const int width = static_cast<int>(DesignTokens::alertWidth);
    return QSize(width, layout() != nullptr ? layout()->totalHeightForWidth(width) : 0);
}

void SheetAlert::present() {
    QWidget* owner = parentWidget();
    if (owner == nullptr) return;
    focusBefore_ = QApplication::focusWidget();
    SheetLayer::of(*owner).attach(*this, SheetLayer::Level::alert);
    open();
    // The alert itself, not a button: its buttons take no keyboard focus, and the keys it
    // answers (Return, Escape) are its own.
    setFocus(Qt::OtherFocusReason);
}

void SheetAlert::choose(QAbstractButton* button) {
    clicked_ = button;
    done(static_cast<int>(buttons().indexOf(button)));
}

bool SheetAlert::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // Text that wraps anew asks for another height: the layer places it again.
    if (event->type() == QEvent::LayoutRequest && parentWidget() != nullptr && !isHidden()) {
        SheetLayer::of(*parentWidget()).arrange();
    }
    return handled;
}

void SheetAlert::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            if (default_ != nullptr) default_->click();
            return;
        case Qt::Key_Escape:
            event->accept();
            if (escape_ != nullptr) {
                escape_->click();
            } else {
                reject();
            }
            return;
        default: QDialog::keyPressEvent(event);
    }
}

void SheetAlert::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintSheetFace(painter, QRectF(rect()), devicePixelRatioF());
}

void SheetAlert::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (focusBefore_ && focusBefore_->isVisible()) focusBefore_->setFocus(Qt::OtherFocusReason);
}

}  // namespace dorvane
