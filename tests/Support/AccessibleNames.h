#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QMetaEnum>
#include <QWidget>

namespace dorvane::testing {

// Whether assistive technology is offered something to do with the element: a press, a
// toggle, a menu, a value to change, text to type, or a role that stands for one of those.
inline bool isInteractive(QAccessibleInterface& element) {
    switch (element.role()) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::PageTab:
        case QAccessible::MenuItem:
        case QAccessible::Link:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::EditableText:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::ButtonDropGrid:
            return true;
        default:
            break;
    }
    if (element.editableTextInterface() != nullptr || element.valueInterface() != nullptr) return true;
    if (QAccessibleActionInterface* actions = element.actionInterface()) {
        const QStringList names = actions->actionNames();
        for (const QString& action : {QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::toggleAction(),
                                      QAccessibleActionInterface::showMenuAction()}) {
            if (names.contains(action)) return true;
        }
    }
    return false;
}

// What a walk through the accessibility interface met: the controls that offer something
// to do without a name (each as "role class in the names of its named ancestors") and the
// names of those that have one.
struct AccessibleWalk {
    std::vector<std::string> unnamed;
    QStringList named;

    bool met(const QString& name) const { return named.contains(name); }
};

// Walks every shown element under `root` as a screen reader meets it, whatever the widgets
// are. `exempt` leaves out controls that go unnamed on purpose.
inline void walkAccessible(QAccessibleInterface* root, const QString& where, AccessibleWalk& walk,
                           const std::function<bool(QObject*)>& exempt = {}) {
    std::function<void(QAccessibleInterface*, const QString&)> visit = [&](QAccessibleInterface* element,
                                                                          const QString& trail) {
        if (element == nullptr || !element->isValid() || element->state().invisible) return;
        const QString name = element->text(QAccessible::Name).trimmed();
        QObject* object = element->object();
        if (isInteractive(*element) && !(exempt && object != nullptr && exempt(object))) {
            if (name.isEmpty()) {
                const char* role = QMetaEnum::fromType<QAccessible::Role>().valueToKey(element->role());
                walk.unnamed.push_back(
                    (QString::fromLatin1(role != nullptr ? role : "?") + QStringLiteral(" ") +
                     (object != nullptr ? QString::fromLatin1(object->metaObject()->className()) : QString()) +
                     QStringLiteral(" in ") + trail)
                        .toStdString());
            } else {
                walk.named << name;
            }
        }
        const QString below = name.isEmpty() ? trail : trail + QStringLiteral(" › ") + name;
        for (int i = 0; i < element->childCount(); ++i) visit(element->child(i), below);
    };
    visit(root, where);
}

// The same over every window the program shows now: its windows, panels, sheets and alerts.
inline AccessibleWalk walkWindowsOnScreen(const std::function<bool(QObject*)>& exempt = {}) {
    AccessibleWalk walk;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        const QString where = window->windowTitle().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                                              : window->windowTitle();
        walkAccessible(QAccessible::queryAccessibleInterface(window), where, walk, exempt);
    }
    return walk;
}

}  // namespace dorvane::testing
