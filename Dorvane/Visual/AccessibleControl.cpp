#include "Dorvane/Visual/AccessibleControl.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QWidget>

namespace dorvane {

namespace {

// Asks the control anew on every call: while its widget is being destroyed the control is
// gone already, and the interface answers as a plain widget. A control that shows a value
// also offers it as read-only text without a caret or selection.
class ControlAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    ControlAccessible(QWidget* widget, AccessibleControl* control)
        : QAccessibleWidget(widget, control->accessibleRole()) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            const AccessibleControl* control = this->control();
            return control != nullptr && control->accessibleValue() ? static_cast<QAccessibleTextInterface*>(this)
                                                                    : nullptr;
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const AccessibleControl* control = this->control();
        if (control == nullptr) return state;
        if (const auto selected = control->accessibleSelected()) {
            state.selectable = true;
            state.selected = *selected;
        }
        if (const auto checked = control->accessibleChecked()) {
            state.checkable = true;
            state.checked = *checked;
        }
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (const AccessibleControl* control = this->control(); control != nullptr && kind == QAccessible::Value) {
            return control->accessibleValue().value_or(QString());
        }
        return QAccessibleWidget::text(kind);
    }

    // The value as read-only text.
    QString text(int startOffset, int endOffset) const override {
        const QString shown = value();
        const int start = std::clamp(startOffset, 0, static_cast<int>(shown.size()));
        const int end = std::clamp(endOffset, start, static_cast<int>(shown.size()));
        return shown.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(value().size()); }
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (const AccessibleControl* control = this->control(); control != nullptr && control->acceptsAccessiblePress()) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& name) override {
        if (AccessibleControl* control = this->control();
            control != nullptr && name == pressAction() && control->acceptsAccessiblePress()) {
            control->pressAccessibly();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    AccessibleControl* control() const { return dynamic_cast<AccessibleControl*>(object()); }
    QString value() const {
        const AccessibleControl* control = this->control();
        return control != nullptr ? control->accessibleValue().value_or(QString()) : QString();
    }
};

QAccessibleInterface* controlAccessibility(const QString& /*className*/, QObject* object) {
    auto* control = dynamic_cast<AccessibleControl*>(object);
    auto* widget = qobject_cast<QWidget*>(object);
    if (control == nullptr || widget == nullptr) return nullptr;
    return new ControlAccessible(widget, control);
}

void announce(QObject* control, bool selected) {
    QAccessible::State changed;
    if (selected) {
        changed.selected = true;
    } else {
        changed.checked = true;
    }
    QAccessibleStateChangeEvent event(control, changed);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

AccessibleControl::AccessibleControl() {
    static const bool installed = [] {
        QAccessible::installFactory(controlAccessibility);
        return true;
    }();
    (void)installed;
}

void AccessibleControl::announceSelected(QObject* control) { announce(control, true); }
void AccessibleControl::announceChecked(QObject* control) { announce(control, false); }

void AccessibleControl::announceValue(QObject* control, const QString& value) {
    QAccessibleValueChangeEvent event(control, value);
    QAccessible::updateAccessibility(&event);
}

bool AccessibleControl::clickAccessibly(QAbstractButton& button) {
    if (!button.isEnabled()) return false;
    button.click();
    return true;
}

}  // namespace dorvane
