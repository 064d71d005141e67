#pragma once

#include <functional>
#include <vector>

#include <QAbstractButton>
#include <QWidget>

#include "Dorvane/Visual/AccessibleControl.h"
#include "DorvaneCore/ResolutionModels/ResolutionPanelModel.h"
#include "Platform/Dispatch/Observation.h"

namespace dorvane {

class ScreenGlyph;

// The parts of the resolution panel: a custom preset's cell, the display-size segments and
// the restore capsule. Each draws the values it was last given and reports taps only.

// One custom preset: its outline over its title and size on a card, ringed in the accent
// while it is the one applied, announced as selected then.
class ResolutionPanelCell final : public QAbstractButton, public AccessibleControl {
public:
    static constexpr double minimumHeight = 74;

    ResolutionPanelCell(const ResolutionPanelModel::Cell& cell, QWidget* parent = nullptr);

    void render(const ResolutionPanelModel::Cell& cell);
    const ResolutionPanelModel::Cell& cell() const { return cell_; }
    std::optional<bool> accessibleSelected() const override { return cell_.applied; }
    bool pressAccessibly() override { return clickAccessibly(*this); }
    ScreenGlyph* glyph() const { return glyph_; }
    // How the grid sets every title (one size, one number of lines); the cell grows by a
    // line for two.
    void setTitleStyle(ResolutionPanelModel::TitleStyle style);
    const ResolutionPanelModel::TitleStyle& titleStyle() const { return titleStyle_; }
    double titleSize() const { return titleStyle_.pointSize; }
    // The title as drawn: its lines at the current width.
    QStringList titleLines() const;
    // The lines `title` takes uncut at `pointSize` in a cell `cellWidth` wide.
    static int linesNeeded(const QString& title, double pointSize, double cellWidth);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ResolutionPanelModel::Cell cell_;
    ResolutionPanelModel::TitleStyle titleStyle_;
    ScreenGlyph* glyph_;
};

// The five display sizes on a track, each an "A" of its own size; the thumb lies behind
// the adjustment's step, faded while nothing is applied. Every tap is reported, the
// current step's too; a step out of range is disabled.
class ScaleSegmentBar final : public QWidget {
public:
    explicit ScaleSegmentBar(std::function<void(std::int64_t percent)> onScale, QWidget* parent = nullptr);

    void render(const std::vector<ResolutionPanelModel::Segment>& segments);
    const std::vector<ResolutionPanelModel::Segment>& segments() const { return segments_; }
    // The segment of `percent`, none for another.
    QAbstractButton* segment(std::int64_t percent) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Segment;
    void place();

    std::vector<ResolutionPanelModel::Segment> segments_;
    std::vector<Segment*> buttons_;
};

// "还原本机" on a capsule that darkens while the shared pointer hover is over it or while
// pressed. Only the capsule takes clicks.
class RestoreButton final : public QAbstractButton {
public:
    static constexpr const char* hoverID = "resolution:restore";

    explicit RestoreButton(QWidget* parent = nullptr);

    bool isHovering() const { return hovering_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    bool hovering_ = false;
    dispatch::Observation hover_;
};

}  // namespace dorvane
