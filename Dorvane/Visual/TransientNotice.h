#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QObject>
#include <QPointer>

#include "Dorvane/ShellBase/Neighbours/NoticeDisplay.h"
#include "Dorvane/ShellBase/ScreenSpace.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Dorvane/Visual/NoticeLifetime.h"
#include "DorvaneCore/Visual/TextMeasurer.h"
#include "DorvaneCore/Visual/TransientNoticeLayout.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane {

// The program's one notice: a small glass card with the information symbol, a title and
// an optional detail line, 32 points under the top of the given area, over every other
// window, for three seconds. It never takes the focus or the pointer. A new notice
// replaces the shown one at once and restarts the three seconds; each one is announced.
// Main thread only.
class TransientNotice final : public QObject, public shell::NoticeDisplay {
public:
    struct Services {
        dispatch::Executor& mainQueue;
        // The space the areas are given in (toolkit frames) as against Qt's.
        std::function<ScreenSpace()> screenSpace;
        // Speaks a text for the screen reader; none keeps quiet.
        std::function<void(const std::string&)> announce;
        // How wide a line of text is; the fonts the card draws with by default.
        TextMeasurer measure;
    };

    explicit TransientNotice(Services services);
    ~TransientNotice() override;

    // `area` is a toolkit frame (bottom-left, y up): the work area beside the toolbar.
    // An area without width or height changes nothing.
    void show(const std::string& title, const std::optional<std::string>& detail, geometry::Rect area) override;
    // Cancels the lifetime, orders the panel out and drops its content.
    void dismiss() override;

    NoticeLifetime& lifetime() { return lifetime_; }
    // Made by the first notice and kept for the next ones; none before.
    GlassPanel* panel() const { return panel_; }
    // What the card shows now; none while hidden.
    std::optional<NoticeText> shownText() const;

    static constexpr const char* panelTitle = "Corvelle 提示";

private:
    Services services_;
    NoticeLifetime lifetime_;
    QPointer<GlassPanel> panel_;
};

}  // namespace dorvane
