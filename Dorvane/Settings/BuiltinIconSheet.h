#pragma once

#include <functional>
#include <optional>

#include <QWidget>

#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

class QAbstractButton;
class QLabel;

namespace dorvane {

class IconPickerView;
class TokenLabel;

// The sheet that gives a built-in toolbar action another icon: "<title>图标", "取消", the
// icon picker with the action's current icon marked (none when its symbol is not a catalog
// icon), and "保存失败，请重试" while the last choice was refused.
class BuiltinIconSheet final : public QWidget {
public:
    BuiltinIconSheet(FloatingAction action, std::optional<ShortcutIcon> current,
                     std::function<void(ShortcutIcon)> choose, std::function<void()> cancel,
                     std::function<bool()> reduceMotion, QWidget* parent = nullptr);

    // Shows the failure line or not.
    void render(bool saveFailed);

    FloatingAction action() const { return action_; }
    QLabel* titleLabel() const;
    QAbstractButton* cancelButton() const;
    IconPickerView* picker() const { return picker_; }
    QLabel* failureLabel() const;

private:
    FloatingAction action_;
    TokenLabel* title_;
    QAbstractButton* cancel_;
    IconPickerView* picker_;
    TokenLabel* failure_;
};

}  // namespace dorvane
