#pragma once

#include <QString>

#include "Dorvane/Shell/ApplicationPlatform.h"

namespace dorvane::qthost {

// The QApplication behind the controller: the Fusion style with a light or dark
// palette, leaving the event loop, and the program's image resources.
class QtApplicationPlatform final : public ApplicationPlatform {
public:
    void quit(int exitCode) override;
    // Linux has no Dock: the program only ever shows its tray item and its panels.
    void setAccessoryPolicy() override {}
    void applyTheme(AppTheme theme) override;
    void activate() override;
    bool hasImage(const std::string& name) override;

    // ":/images/<name>.png".
    static QString imagePath(const std::string& name);
};

}  // namespace dorvane::qthost
