#pragma once

#include <vector>

#include <QAbstractButton>
#include <QDialog>
#include <QPointer>
#include <QString>

class QLabel;

namespace dorvane {

class StyledButton;
class TokenLabel;

// The program's alert: it hangs from the top edge of its window like a sheet, over the
// dimmed window (SheetLayer), rounded below and shadowed, its title (and message) centred
// above its buttons, which share the width side by side in the order given. The default
// button (the cancelling one, else the first) is drawn as the primary one and answers
// Return; the cancelling one (else the only one) answers Escape; a destructive one is
// drawn in the destructive colour. It never waits in a nested loop: present() shows it and
// returns, `finished` tells when it has gone and clickedButton() what closed it (none for
// Escape without a cancelling button, or when its owner closed it).
class SheetAlert final : public QDialog {
    Q_OBJECT

public:
    enum class Role { cancel, destructive, normal };
    struct Button {
        QString title;
        Role role;
    };

    // An alert of `owner`'s (see SheetLayer::ownerFor for a widget inside a sheet).
    SheetAlert(QWidget& owner, const QString& text, const std::vector<Button>& buttons);

    // A line under the title; none by default.
    void setMessage(const QString& message);

    QString text() const;
    QString message() const;
    // In the order given.
    QList<QAbstractButton*> buttons() const;
    QAbstractButton* defaultButton() const;
    QAbstractButton* escapeButton() const;
    QAbstractButton* clickedButton() const { return clicked_; }
    Role role(const QAbstractButton* button) const;

    // Hangs it from its window and takes the keyboard focus; the focus goes back where it
    // was when the alert goes.
    void present();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void choose(QAbstractButton* button);

    TokenLabel* text_;
    TokenLabel* message_;
    std::vector<std::pair<StyledButton*, Role>> buttons_;
    QAbstractButton* default_ = nullptr;
    QAbstractButton* escape_ = nullptr;
    QAbstractButton* clicked_ = nullptr;
    QPointer<QWidget> focusBefore_;
};

}  // namespace dorvane
