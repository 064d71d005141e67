#include "DorvaneCore/Core/AppTheme.h"

namespace dorvane {

std::string_view title(AppTheme theme) {
    switch (theme) {
        case AppTheme::system: return "跟随系统";
        case AppTheme::light: return "浅色";
        case AppTheme::dark: return "深色";
    }
    return {};
}

}  // namespace dorvane
