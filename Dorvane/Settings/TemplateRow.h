#pragma once

#include <functional>

#include <QWidget>

#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"

namespace dorvane {

class ScreenGlyph;
class StyledButton;

// One device screen in the device-template sheet: its outline, title and logical size on a
// card, ending in "使用中", "已添加" or the button "添加". Light to make and kept for its
// entry's id, so that filtering only shows and hides rows.
class TemplateRow final : public QWidget {
public:
    TemplateRow(const DeviceTemplateCatalog::Entry& entry, std::function<void(const CustomPreset&)> add,
                QWidget* parent = nullptr);

    void setStatus(TemplateRowStatus status);
    TemplateRowStatus status() const { return status_; }
    const std::string& entryID() const { return entryID_; }

    ScreenGlyph* glyph() const { return glyph_; }
    StyledButton* addButton() const { return add_; }
    // "使用中", "已添加", or empty while the row offers "添加".
    QString statusText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();

    std::string entryID_;
    QString title_;
    QString size_;
    TemplateRowStatus status_ = TemplateRowStatus::addable;
    ScreenGlyph* glyph_;
    StyledButton* add_;
};

}  // namespace dorvane
