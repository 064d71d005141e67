#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QObject>
#include <QPointF>
#include <QPointer>

#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "DorvaneCore/Visual/HoverTracker.h"
#include "Platform/Dispatch/Observation.h"

class QWidget;

namespace dorvane {

// The one hover of the whole program: which element (toolbar button, launcher tile,
// resolution-panel row) the pointer is over, shown only for real, small pointer moves so
// that the jumps and taps of a remote touch screen light nothing up. Any click, scroll or
// wheel in the program, and any click, move or wheel over another application, clears it.
// Main thread only.
//
//   PointerHover::shared().track(button, "persistent:settings", [button](bool hovered) {
//       button->setHovered(hovered);  // called only when this element's hover changes
//   });
class PointerHover final : public QObject {
    Q_OBJECT

public:
    // Made on first use (after the QApplication), with its local monitors; never destroyed.
    static PointerHover& shared();

    // The hovered element as views see it.
    const std::optional<std::string>& hoveredID() const { return hoveredID_; }
    // The rule's state; change it, then publish().
    HoverTracker<std::string>& tracker() { return tracker_; }
    // Shows the tracker's hover: tells the element that lost it and the one that gained it,
    // then emits hoveredIDChanged. Nothing when the two already agree.
    void publish();

    // One pointer position (global points, from the event) over element `id`, then publish().
    void pointerMoved(QPointF globalPosition, const std::optional<std::string>& id, bool buttonDown);
    // The pointer left element `id`, then publish().
    void leave(const std::string& id);
    // Forgets the hover and the last position, then publish().
    void reset();

    // Feeds the tracker from `widget`'s own pointer moves and leaves as element `id`, and
    // calls `changed` with whether `id` is hovered each time that changes. Ends with the
    // widget or the observation.
    dispatch::Observation track(QWidget* widget, std::string id, std::function<void(bool hovered)> changed);
    std::size_t trackedCount() const;

    // Global monitors: clicks, moves and wheel delivered to other applications clear the
    // hover. A second call replaces the first; none stops watching.
    void watch(GlobalPointerMonitor* monitor);

Q_SIGNALS:
    void hoveredIDChanged();

private:
    struct Element;
    class ElementFilter;

    PointerHover();
    void notify(const std::optional<std::string>& id, bool hovered);

    std::optional<std::string> hoveredID_;
    HoverTracker<std::string> tracker_;
    std::unordered_multimap<std::string, std::shared_ptr<Element>> elements_;
    std::vector<dispatch::Observation> localMonitors_;
    dispatch::Observation globalMonitor_;
};

}  // namespace dorvane
