#include "Dorvane/QtHost/QtOwnKeyDelivery.h"

#include <QString>
#include <QWidget>
#include <QWindow>

#include "Dorvane/QtHost/OwnInputConversions.h"
#include "Dorvane/QtWindowSystem/WindowSystemInput.h"
#include "DorvaneCore/Input/KeyboardLayout.h"

namespace dorvane::qthost {

void QtOwnKeyDelivery::deliver(const events::Event& event, std::uint32_t keyWindow) {
    using events::EventType;
    const QWidget* window = keyWindow == 0 ? nullptr : windows_.widget(keyWindow);
    if (window == nullptr || !window->isVisible() || window->isMinimized()) return;
    QWindow* target = window->windowHandle();
    const auto* key = KeyboardLayout::key(event.keyCode());
    if (target == nullptr || key == nullptr) return;
    const bool shifted = (event.flags & modifier::shift) != 0;
    const int qtKey = shifted && key->shiftedQtKey != 0 ? key->shiftedQtKey : key->qtKey;
    if (qtKey == 0) return;
    const bool press = event.type == EventType::flagsChanged ? events::isModifierPress(event)
                                                              : event.type == EventType::keyDown;
    const auto text = event.type == EventType::flagsChanged
                          ? QString()
                          : QString::fromUtf8(KeyboardLayout::charactersIgnoringModifiers(event.keyCode(), event.flags));
    windowsystem::key(*target, toolkitTime(event.timestamp), press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey,
                      Qt::KeyboardModifiers(KeyboardLayout::qtModifiersFromFlags(event.flags)), text);
}

}  // namespace dorvane::qthost
