#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "DorvaneCore/ResolutionModels/ResolutionPanelModel.h"

class QGridLayout;
class QScrollArea;

namespace dorvane {

class ControlPanelModel;
class ResolutionPanelCell;
class RestoreButton;
class ScaleSegmentBar;
class TokenLabel;

// The content of the panel beside the toolbar during a remote session: the custom presets
// ("规格", the one selected when the panel was built first), the display sizes ("显示大小"),
// the status detail in orange while there is one, and "还原本机". A tap on a preset calls
// onCustom (the one already applied only closes the panel), a display size onScale, the
// capsule `restore`; Escape calls `close`. Everything but Escape ignores taps while a
// display operation runs or the program quits. The content's height plus the panel's
// padding reaches `onContentHeight` once shown and after every change, never while the
// view renders. Short content sits against the toolbar's side.
class ResolutionPanelView final : public QWidget {
public:
    static constexpr int padding = 16;
    static constexpr int maximumContentWidth = 500;

    // The custom preset listed first is the model's selection now.
    ResolutionPanelView(ControlPanelModel& model, std::function<void()> close, std::function<void()> restore,
                        std::function<void(double)> onContentHeight, QWidget* parent = nullptr);
    ResolutionPanelView(ControlPanelModel& model, std::optional<std::string> firstPresetID,
                        std::function<void()> close, std::function<void()> restore,
                        std::function<void(double)> onContentHeight, QWidget* parent = nullptr);
    ~ResolutionPanelView() override;

    void render();

    const std::optional<std::string>& firstPresetID() const { return panel_.firstPresetID(); }

    // The part that ignores taps while busy.
    QWidget* body() const { return body_; }
    QScrollArea* scrollArea() const { return scroll_; }
    // The stack whose height is reported.
    QWidget* content() const { return content_; }
    TokenLabel* inactiveBadge() const { return badge_; }
    // The cells in the order shown.
    std::vector<ResolutionPanelCell*> cells() const;
    ResolutionPanelCell* cell(const std::string& id) const;
    int columnCount() const { return columns_; }
    ScaleSegmentBar* segments() const { return segments_; }
    TokenLabel* detailText() const { return detail_; }
    RestoreButton* restoreButton() const { return restore_; }
    // The content's height as last measured, without the panel's padding.
    double measuredHeight() const;
    // The height it reports once shown `width` wide, padding included, measured now, before
    // it shows: the panel can take the frame that fits it before it takes the keyboard.
    double heightFor(int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The construction's steps, top to bottom.
    void buildScrollArea();
    void buildContent();
    QWidget* buildPresetSection();
    void wire();
    void renderCells();
    void arrangeGrid(int columns);
    void place();
    // The content's height at that width, its titles fitted to it.
    int contentHeightAt(int contentWidth);
    void fitTitles(int contentWidth);
    void scheduleMeasure();
    void measure();

    ControlPanelModel& model_;
    ResolutionPanelModel panel_;
    std::function<void()> close_;
    std::function<void()> restoreAction_;
    std::function<void(double)> onContentHeight_;

    QWidget* body_;
    QScrollArea* scroll_;
    QWidget* frame_;
    QWidget* content_;
    TokenLabel* badge_;
    QWidget* grid_;
    QGridLayout* gridLayout_;
    std::map<std::string, ResolutionPanelCell*> cells_;
    std::vector<std::string> order_;
    int columns_ = 0;
    ScaleSegmentBar* segments_;
    TokenLabel* detail_;
    RestoreButton* restore_;

    ResolutionPanelModel::ContentAlignment alignment_ = ResolutionPanelModel::ContentAlignment::topLeading;
    bool anchoredAtBottom_ = true;
    bool placing_ = false;
    bool measurePending_ = false;
    std::optional<int> reportedHeight_;
};

}  // namespace dorvane
