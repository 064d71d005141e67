#pragma once

#include <QString>
#include <QWidget>

namespace dorvane {

class SymbolButton;

// A number and the two buttons that step it, in one field of the shared text-field look
// (card fill, hairline edge, small radius, 28 points tall): "−" at the start, the value in
// the middle, "+" at the end. The owner says what the value reads and which way it can
// still go; the buttons tell the owner through their clicked signal.
class NumberStepper final : public QWidget {
public:
    NumberStepper(const QString& accessibleName, const QString& decreaseName, const QString& increaseName,
                  const QString& widestValue, QWidget* parent = nullptr);

    void setValue(const QString& text);
    const QString& value() const { return value_; }
    void setLimits(bool canDecrease, bool canIncrease);

    SymbolButton* decreaseButton() const { return decrease_; }
    SymbolButton* increaseButton() const { return increase_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString value_;
    QString widestValue_;
    SymbolButton* decrease_;
    SymbolButton* increase_;
};

}  // namespace dorvane
