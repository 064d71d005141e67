#pragma once

#include <functional>

#include <QAbstractButton>

#include "Dorvane/Visual/AccessibleControl.h"

namespace dorvane {

// The settings' on/off switch: a pill-shaped track, accent while on, with a round knob at
// the matching end. Bound to a value it does not own: a click asks `onChange` for the
// other value and the switch moves only when its owner calls setOn() after republishing.
class ToggleSwitch final : public QAbstractButton, public AccessibleControl {
public:
    enum class ControlSize { regular, small, mini };

    explicit ToggleSwitch(const QString& accessibleLabel, ControlSize size = ControlSize::regular,
                          QWidget* parent = nullptr);

    void setOn(bool on);
    bool isOn() const { return on_; }
    // Called with the value the user asked for.
    std::function<void(bool)> onChange;

    QAccessible::Role accessibleRole() const override { return QAccessible::CheckBox; }
    std::optional<bool> accessibleChecked() const override { return on_; }
    bool pressAccessibly() override { return clickAccessibly(*this); }

    static QSize trackSize(ControlSize size);
    QSize sizeHint() const override { return trackSize(controlSize_); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override {}

private:
    ControlSize controlSize_;
    bool on_ = false;
};

}  // namespace dorvane
