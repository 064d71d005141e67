#include "Dorvane/Visual/AccessibleControl.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QWidget>

namespace dorvane {

namespace {

// Asks the control anew on every call: while its widget is being destroyed the control is
// gone already, and the interface answers as a plain widget.
class ControlAccessible final : public QAccessibleWidget {
public:
    ControlAccessible(QWidget* widget, AccessibleControl* control)
        : QAccessibleWidget(widget, control->accessibleRole()) {}

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
            return control->accessibleValue();
        }
        return QAccessibleWidget::text(kind);
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
