#include "Dorvane/Visual/TextField.h"

#include <optional>

#include <QKeyEvent>
#include <QKeySequence>
#include <QResizeEvent>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/SymbolLabel.h"
#include "Dorvane/Visual/VisualAppearance.h"

namespace dorvane {

namespace {

// The search style's parts inside the field: the glass and the emptying button, each in a
// square frame, and the room between them and the text.
constexpr int kSearchPartFrame = 18;
constexpr int kSearchPartInset = 8;
constexpr int kTextPadding = 8;

QString cssColor(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'f', 3);
}

// The editing command a Command combination stands for, by its letter.
std::optional<QKeySequence::StandardKey> commandEdit(int key) {
    switch (key) {
        case Qt::Key_A: return QKeySequence::SelectAll;
        case Qt::Key_C: return QKeySequence::Copy;
        case Qt::Key_V: return QKeySequence::Paste;
        case Qt::Key_X: return QKeySequence::Cut;
        case Qt::Key_Z: return QKeySequence::Undo;
        default: return std::nullopt;
    }
}

}  // namespace

TextField::TextField(Style style, const QString& placeholder, const QString& accessibleName, QWidget* parent)
    : QLineEdit(parent), style_(style) {
    setPlaceholderText(placeholder);
    setAccessibleName(accessibleName);
    setFont(DesignTokens::font(DesignTokens::fontBody));
    setFrame(style_ != Style::plain);
    if (style_ != Style::plain) setMinimumHeight(static_cast<int>(DesignTokens::controlHeight));
    if (style_ == Style::search) {
        glass_ = new SymbolLabel("magnifyingglass", DesignTokens::fontBody, DesignTokens::Colors::textSecondary, this);
        glass_->setAttribute(Qt::WA_TransparentForMouseEvents);
        clear_ = new SymbolButton("xmark.circle.fill", QSize(kSearchPartFrame, kSearchPartFrame),
                                  QStringLiteral("清除搜索"), DesignTokens::Colors::textTertiary, DesignTokens::fontBody,
                                  this);
        clear_->setFocusPolicy(Qt::NoFocus);
        clear_->setCursor(Qt::ArrowCursor);
        clear_->hide();
        setTextMargins(kSearchPartFrame + kSearchPartInset - kTextPadding + DesignTokens::spacingXs, 0,
                       kSearchPartFrame + kSearchPartInset - kTextPadding, 0);
        connect(this, &QLineEdit::textChanged, clear_, [this](const QString& text) { clear_->setVisible(!text.isEmpty()); });
        connect(clear_, &QAbstractButton::clicked, this, [this] {
            clear();
            Q_EMIT textEdited(QString());
            setFocus(Qt::OtherFocusReason);
        });
    }
    applyLook();
    connect(&VisualAppearance::shared(), &VisualAppearance::changed, this, [this] { applyLook(); });
}

void TextField::showText(const QString& text) {
    if (this->text() != text) setText(text);
}

void TextField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeSearchParts();
}

void TextField::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!modifiers.testFlag(Qt::MetaModifier)) return QLineEdit::keyPressEvent(event);
    const auto edit = modifiers == Qt::MetaModifier ? commandEdit(event->key()) : std::nullopt;
    const auto bindings = edit ? QKeySequence::keyBindings(*edit) : QList<QKeySequence>();
    if (!bindings.isEmpty()) {
        // The platform's own key for the command, so that the field does what it always does.
        const QKeyCombination combination = bindings.front()[0];
        QKeyEvent platformKey(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
        QLineEdit::keyPressEvent(&platformKey);
        event->setAccepted(platformKey.isAccepted());
        return;
    }
    // Any other Command combination types nothing; keys that type nothing (arrows,
    // Delete) keep their meaning.
    if (!event->text().isEmpty() && event->text().front().isPrint()) return event->ignore();
    QLineEdit::keyPressEvent(event);
}

void TextField::placeSearchParts() {
    if (style_ != Style::search) return;
    // Each part centred in its square at either end, on the field's middle.
    glass_->move(kSearchPartInset + (kSearchPartFrame - glass_->width()) / 2, (height() - glass_->height()) / 2);
    clear_->move(width() - kSearchPartInset - kSearchPartFrame + DesignTokens::spacingXs / 2,
                 (height() - kSearchPartFrame) / 2);
}

void TextField::applyLook() {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, DesignTokens::Colors::textPrimary.resolved());
    colours.setColor(QPalette::PlaceholderText, DesignTokens::Colors::textTertiary.resolved());
    setPalette(colours);
    const QString text = cssColor(DesignTokens::Colors::textPrimary.resolved());
    const QString selection = cssColor(DesignTokens::Colors::accent.resolved());
    const QString focusRing = cssColor(DesignTokens::Colors::focusRing.resolved());
    if (style_ == Style::plain) {
        setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent; padding: 0; color: %1;"
                                     " selection-background-color: %2; }")
                          .arg(text, selection));
        return;
    }
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: %2px; padding: 0 %6px;"
                                 " background: %3; color: %4; selection-background-color: %5; }"
                                 " QLineEdit:focus { border: 1px solid %7; }")
                      .arg(cssColor(DesignTokens::Colors::cardBorderHighlight.resolved()))
                      .arg(DesignTokens::radiusSm)
                      .arg(cssColor(DesignTokens::Colors::card.resolved()), text, selection)
                      .arg(kTextPadding)
                      .arg(focusRing));
}

}  // namespace dorvane
