#pragma once

#include <QLineEdit>

namespace dorvane {

// A one-line text field in the shared look, its text in 13-point type. Rounded-border: a
// field of its own, bordered on the card colour. Plain: no border and no fill, for a
// field set on a fill of its owner's (a search field). Follows the appearance.
class TextField final : public QLineEdit {
public:
    enum class Style { roundedBorder, plain };

    TextField(Style style, const QString& placeholder, const QString& accessibleName, QWidget* parent = nullptr);

    Style style() const { return style_; }

    // Shows `text` unless the field already reads so, so that a view rendering its model
    // leaves the cursor and the selection of a field being typed in where they are.
    void showText(const QString& text);

private:
    void applyLook();

    Style style_;
};

}  // namespace dorvane
