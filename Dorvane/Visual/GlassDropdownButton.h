#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QString>

#include "Dorvane/Visual/AccessibleControl.h"
#include "Dorvane/Visual/DropdownMenuView.h"

namespace dorvane {

// The look of a dropdown field, apart from its values: the current title (in the faint
// colour while nothing is chosen), the up-and-down chevron, 12 points of padding, at least
// `minWidth` by 28 points, on a rounded fill that darkens while hovered or open. Clicking
// it never takes the keyboard focus from the field being typed in.
class GlassDropdownButton : public QAbstractButton, public AccessibleControl {
public:
    explicit GlassDropdownButton(double minWidth, QWidget* parent = nullptr);

    // What the field shows; redraws and resizes to fit.
    void setFace(const QString& title, bool placeholderStyle, bool open);
    const QString& faceTitle() const { return title_; }
    bool isShownOpen() const { return open_ || previewOpen_; }
    bool isHovering() const { return hovering_; }

    // Draws the field as open with `menu` drawn under it, for previews only: the real
    // list never opens this way.
    void setPreview(bool open, DropdownMenuModel menu, double menuWidth);
    bool isPreviewOpen() const { return previewOpen_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Assistive technology reads the title shown as the field's value.
    std::optional<QString> accessibleValue() const override { return title_; }
    bool pressAccessibly() override { return clickAccessibly(*this); }

    static constexpr const char* chevronSymbol = "chevron.up.chevron.down";
    static constexpr double chevronSize = 11;
    static constexpr double contentSpacing = 8;
    // The preview menu hangs this far under the field's top.
    static constexpr double previewMenuOffset = 32;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    class Preview;

    double minWidth_;
    QString title_;
    bool placeholderStyle_ = true;
    bool open_ = false;
    bool hovering_ = false;
    bool previewOpen_ = false;
    QPointer<QWidget> preview_;
};

}  // namespace dorvane
