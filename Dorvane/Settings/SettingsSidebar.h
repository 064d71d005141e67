#pragma once

#include <functional>
#include <map>

#include <QAbstractButton>
#include <QWidget>

#include "DorvaneCore/SettingsWindow/SettingsPage.h"

class QLabel;

namespace dorvane {

// The settings window's sidebar, 160 points wide: the program's icon, one row per page in
// the sidebar's own order, the Accessibility warning while the permission is missing, and
// the version. It reports a chosen page and a click on the warning; what it shows comes
// only from render().
class SettingsSidebar final : public QWidget {
public:
    SettingsSidebar(const QString& versionLine, std::function<void(SettingsPage)> onPage,
                    std::function<void()> onWarning, QWidget* parent = nullptr);

    void render(SettingsPage page, bool accessibilityGranted);

    QAbstractButton* row(SettingsPage page) const;
    QAbstractButton* warning() const { return warning_; }
    QLabel* version() const { return version_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::map<SettingsPage, QAbstractButton*> rows_;
    QAbstractButton* warning_;
    QWidget* warningArea_;
    QLabel* version_;
};

}  // namespace dorvane
