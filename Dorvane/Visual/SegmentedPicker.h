#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QAbstractButton>
#include <QStringList>
#include <QWidget>

namespace dorvane {

// The settings' segmented choice: one segment per option on a rounded track, the chosen
// one on a raised thumb. Bound like a switch: a click reports the segment through
// `onSelect`, and the thumb moves when the owner calls setSelectedIndex().
class SegmentedPicker final : public QWidget {
public:
    SegmentedPicker(const QString& accessibleLabel, const QStringList& titles, QWidget* parent = nullptr);

    void setSelectedIndex(std::optional<int> index);
    std::optional<int> selectedIndex() const { return selected_; }
    std::function<void(int)> onSelect;

    int segmentCount() const { return static_cast<int>(segments_.size()); }
    QAbstractButton* segment(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Segment;

    void layoutSegments();

    std::vector<Segment*> segments_;
    std::optional<int> selected_;
};

}  // namespace dorvane
