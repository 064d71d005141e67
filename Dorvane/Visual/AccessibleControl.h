#pragma once

#include <optional>

#include <QAccessible>
#include <QString>

class QAbstractButton;
class QObject;

namespace dorvane {

// What one of the program's own controls tells assistive technology beyond its name: its
// role, whether it is selected or checked (as states, not as words), the value it shows,
// and what a press through the accessibility interface does. A widget that also derives
// from this gets its accessibility interface from here.
class AccessibleControl {
public:
    virtual ~AccessibleControl() = default;

    virtual QAccessible::Role accessibleRole() const { return QAccessible::Button; }
    // Present: the control can be selected, and is when true.
    virtual std::optional<bool> accessibleSelected() const { return std::nullopt; }
    // Present: the control can be checked, and is when true.
    virtual std::optional<bool> accessibleChecked() const { return std::nullopt; }
    // The value the control shows (a dropdown's current choice), when it shows one. It is
    // also offered as the control's read-only text, which is how assistive technology on
    // this platform reads a value that is not a number.
    virtual std::optional<QString> accessibleValue() const { return std::nullopt; }
    // Whether the control offers a press at all.
    virtual bool acceptsAccessiblePress() const { return true; }
    // A press through the accessibility interface; answers whether the control acted.
    virtual bool pressAccessibly() = 0;

protected:
    AccessibleControl();

    // Tells assistive technology that the selected or checked state, or the value, of
    // `control` changed.
    static void announceSelected(QObject* control);
    static void announceChecked(QObject* control);
    static void announceValue(QObject* control, const QString& value);
    // The press of a button: a click, unless it is disabled.
    static bool clickAccessibly(QAbstractButton& button);
};

}  // namespace dorvane
