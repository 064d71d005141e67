#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "DorvaneCore/Input/ShortcutCapture.h"
#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Events/EventServices.h"

class QPainter;

namespace dorvane {

class ShortcutPermissions;

// The field in which the user records a key combination: a click starts recording (or,
// without Accessibility, opens the permission guide, and recording starts once trust
// arrives); the next combination pressed is the key. While recording, a tap at the head of
// the HID level swallows every key event until all keys are up again, so the keys never
// reach another application; keys that come to the field through Qt take the same road.
// A modifier pressed and released alone is itself the key. Losing the focus, hiding and
// destruction end recording; while its window is away (ordered out, closed, minimised) a
// recording only pauses, letting every key go on to the other applications, and listens
// again once the window is back. When the tap cannot be made, the field says so
// ("无法录制，请手动选择") until a recording succeeds or the binding brings a new key.
// A click starts it, and only a click gives it the focus: Tab passes it by, as it shows no
// mark of a focus that has not started a recording.
//
// Main thread only: the tap's callback runs on the main queue.
class ShortcutCaptureView final : public QWidget {
public:
    // keyDown, keyUp, flagsChanged.
    static constexpr events::EventMask kTapMask = 0x1C00;

    struct Services {
        events::EventServices& events;
        dispatch::MainQueue& main;
        ShortcutPermissions& permissions;
    };

    explicit ShortcutCaptureView(Services services, QWidget* parent = nullptr);
    ~ShortcutCaptureView() override;

    // The binding's key, on every update of the view around the field.
    void setBoundKey(const std::optional<ShortcutKey>& key);
    // Receives each recorded key.
    std::function<void(const ShortcutKey&)> onCapture;

    const ShortcutCapture& capture() const { return capture_; }
    bool hasTap() const { return static_cast<bool>(tap_); }

    // Draws the field showing `caption` into `bounds`.
    static void paintField(QPainter& painter, const QRectF& bounds, const ShortcutCapture::Caption& caption);

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void beginRecording();
    void startTap();
    void stopTap();
    std::optional<events::Event> intercept(events::EventType type, const events::Event& event);
    void captured(const std::optional<ShortcutKey>& key);
    void capturedThroughQt(const std::optional<ShortcutKey>& key);

    Services services_;
    ShortcutCapture capture_;
    std::shared_ptr<events::EventTap> tap_;
    // A recording waits for the window's return.
    bool paused_ = false;
};

}  // namespace dorvane
