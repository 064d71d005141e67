#pragma once

#include <QLineEdit>

namespace dorvane {

class SymbolButton;
class SymbolLabel;

// A one-line text field in the shared look, its text in 13-point type, at least 28 points
// tall. Rounded-border: a field of its own, on the card colour with a hairline edge that
// turns to the focus ring while it has the focus. Search: the same field with the magnifying
// glass before the text and a button that empties it at the end, shown while there is
// text; emptying it counts as an edit. Plain: no border and no fill, for a field set on a
// fill of its owner's. Follows the appearance. A Command combination (Qt's Meta) never types
// its letter: Command-A, -C, -V, -X and -Z select all, copy, paste, cut and undo as the
// platform's own keys for them do.
class TextField final : public QLineEdit {
public:
    enum class Style { roundedBorder, search, plain };

    TextField(Style style, const QString& placeholder, const QString& accessibleName, QWidget* parent = nullptr);

    Style style() const { return style_; }
    // The search style's button that empties the field; none for the other styles.
    SymbolButton* clearButton() const { return clear_; }

    // Shows `text` unless the field already reads so, so that a view rendering its model
    // leaves the cursor and the selection of a field being typed in where they are.
    void showText(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyLook();
    void placeSearchParts();

    Style style_;
    SymbolLabel* glass_ = nullptr;
    SymbolButton* clear_ = nullptr;
};

}  // namespace dorvane
