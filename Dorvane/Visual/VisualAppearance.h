#pragma once

#include <QObject>

namespace dorvane {

// How every surface of the program looks right now: light or dark, and whether the user
// asked for reduced motion. One shared instance; the Qt host sets it on the main thread
// from the system's appearance and the user's theme. Views resolve their colours from it
// when they paint and repaint on `changed`.
class VisualAppearance final : public QObject {
    Q_OBJECT

public:
    static VisualAppearance& shared();

    bool dark() const { return dark_; }
    bool reduceMotion() const { return reduceMotion_; }

    // Emits `changed` only when something differs.
    void set(bool dark, bool reduceMotion);

Q_SIGNALS:
    void changed();

private:
    VisualAppearance() = default;

    bool dark_ = false;
    bool reduceMotion_ = false;
};

}  // namespace dorvane
