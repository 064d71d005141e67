#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QAbstractButton>

namespace dorvane {

// The shared button looks. Primary: white text on the accent fill, for the action a
// view is for ("保存", "新增规格", "添加操作", "前往授权"). Secondary: primary text on the
// neutral fill ("取消", "设备模板", "添加", "常用快捷操作", "添加应用", shortcut chips).
// Destructive: the destructive colour on the neutral fill, for an alert's "删除" or "移除".
enum class ButtonStyle { primary, secondary, destructive };

// Regular buttons stand alone; small ones sit in a row of the settings beside its title.
enum class ButtonSize { regular, small };

// A button in one of the shared styles: the label in 13-point medium type, 12 points of
// padding either side, at least 28 points tall (small: 11-point type, 8 points of padding,
// 22 tall), on a rounded fill of radius 10 (small: 6) that darkens while pressed; faded
// while disabled. The whole rectangle takes clicks.
class StyledButton final : public QAbstractButton {
public:
    StyledButton(ButtonStyle style, const QString& text, QWidget* parent = nullptr);
    StyledButton(ButtonStyle style, ButtonSize size, const QString& text, QWidget* parent = nullptr);

    ButtonStyle style() const { return style_; }
    ButtonSize buttonSize() const { return size_; }

    // A symbol before the title, in the label's colour and size (a label with title and icon).
    void setSymbol(std::string_view symbol);
    const std::string& symbol() const { return symbol_; }
    // The title in another size than the button size's own: a page header's 13-point
    // label on a small button.
    void setLabelSize(double points);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double labelPoints() const;
    QFont labelFont() const;
    double padding() const;
    double symbolWidth() const;

    ButtonStyle style_;
    ButtonSize size_ = ButtonSize::regular;
    std::string symbol_;
    std::optional<double> labelSize_;
};

}  // namespace dorvane
