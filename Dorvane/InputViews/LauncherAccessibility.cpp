#include "Dorvane/InputViews/LauncherAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "Dorvane/InputViews/LauncherDecorations.h"
#include "Dorvane/InputViews/LauncherPressButton.h"

namespace dorvane {

namespace {

class TileAccessible final : public QAccessibleWidget {
public:
    explicit TileAccessible(LauncherPressButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QStringList actionNames() const override {
        return {pressAction(), QString::fromUtf8(LauncherPressButton::showNameAction)};
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            button()->accessibilityPerformPress();
        } else if (name == QString::fromUtf8(LauncherPressButton::showNameAction)) {
            button()->showName();
        }
    }
    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

private:
    LauncherPressButton* button() const { return static_cast<LauncherPressButton*>(widget()); }
};

QAccessibleInterface* launcherAccessibility(const QString& /*className*/, QObject* object) {
    if (auto* button = dynamic_cast<LauncherPressButton*>(object)) return new TileAccessible(button);
    if (auto* header = dynamic_cast<LauncherSectionHeader*>(object)) return new QAccessibleWidget(header, QAccessible::Heading);
    if (auto* section = dynamic_cast<LauncherSectionView*>(object)) return new QAccessibleWidget(section, QAccessible::Grouping);
    return nullptr;
}

}  // namespace

void installLauncherAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(launcherAccessibility);
        return true;
    }();
    (void)installed;
}

}  // namespace dorvane
