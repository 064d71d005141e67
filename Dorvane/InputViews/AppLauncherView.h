#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QWidget>

#include "Dorvane/Input/LauncherModel.h"
#include "Dorvane/InputViews/LauncherPressButton.h"
#include "DorvaneCore/Launcher/LauncherListLayout.h"
#include "DorvaneCore/Visual/TextMeasurer.h"
#include "Platform/Dispatch/Observation.h"

class QScrollArea;

namespace dorvane {

class LauncherErrorBanner;
class LauncherEmptyState;
class LauncherNameBubble;
class LauncherSectionView;
class LauncherTile;

// The launcher panel's content: the error banner of the last failed launch, then the
// sections "最近", "运行中", "全部" of application tiles in a list that scrolls without
// scroll bars and fades at an edge with more beyond it (or "未找到已安装的应用").
// It draws the model alone and re-renders on each of its changes; it calls back only
// through the model's `open` (a tap) and `close` (Escape). Which tile is hovered, held
// down or shows its name is its own state; a new showing of the panel forgets the last two.
class AppLauncherView final : public QWidget {
public:
    struct Services {
        LauncherPressButton::Timing timing;
        // How wide the section headers' texts are; none: as drawn.
        TextMeasurer measure;
    };

    AppLauncherView(input::LauncherModel& model, Services services, QWidget* parent = nullptr);
    ~AppLauncherView() override;

    // What shows now.
    LauncherErrorBanner* banner() const { return banner_; }
    LauncherEmptyState* emptyState() const { return empty_; }
    QScrollArea* scrollArea() const { return scrollArea_; }
    const std::vector<LauncherSectionView*>& sectionViews() const { return sectionViews_; }
    // The tile of an application identifier, none when it is not listed.
    LauncherTile* tile(const std::string& id) const;
    // The tiles of one section from the left of each row, top row first.
    std::vector<LauncherTile*> tilesInRows(std::size_t section) const;
    LauncherNameBubble* nameBubble() const { return bubble_; }
    const LauncherListLayout& listLayout() const { return layout_; }

    const std::optional<std::string>& hoveredAppID() const { return hoveredAppID_; }
    const std::optional<std::string>& previewedAppID() const { return previewedAppID_; }
    const std::optional<std::string>& pressedAppID() const { return pressedAppID_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();
    LauncherTile* tileFor(const LauncherApp& app);
    void place();
    void renderLooks();
    // A tile's report changes the view's own state, then its looks (at once, or at the
    // end of a render under way).
    template <typename Change>
    void changeState(Change change);

    input::LauncherModel& model_;
    Services services_;
    dispatch::Observation observation_;
    bool rendering_ = false;
    std::uint64_t presentationID_ = 0;

    std::optional<std::string> hoveredAppID_;
    std::optional<std::string> previewedAppID_;
    std::optional<std::string> pressedAppID_;

    std::vector<LauncherSection> sections_;
    LauncherListLayout layout_;

    LauncherErrorBanner* banner_;
    LauncherEmptyState* empty_;
    QScrollArea* scrollArea_;
    QWidget* list_;
    LauncherNameBubble* bubble_;
    std::vector<LauncherSectionView*> sectionViews_;
    std::unordered_map<std::string, LauncherTile*> tiles_;
};

}  // namespace dorvane
