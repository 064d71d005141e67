#include "Dorvane/Shell/Controller/PreferencesKeeper.h"

#include <exception>
#include <utility>

#include "Dorvane/Shell/Controller/ControllerDetail.h"
#include "Dorvane/Shell/Controller/ControllerHost.h"
#include "Dorvane/Shell/Controller/StatusKeeper.h"
#include "Platform/Dispatch/Clock.h"

namespace dorvane::shell {

PreferencesKeeper::PreferencesKeeper(StatusKeeper& status, ControllerHost& host, const std::filesystem::path& root,
                                     dispatch::Clock& clock)
    : status_(status),
      host_(host),
      store_(root, [&clock] { return clock.wallTime(); }),
      preferences_(store_.load()) {}

std::optional<std::string> PreferencesKeeper::write(Preferences next, WriteRule rule) {
    if (rule == WriteRule::validated) {
        try {
            store_.save(next);
        } catch (const std::exception& error) {
            return host_.loggedFailureText(error);
        }
        preferences_ = std::move(next);
        return std::nullopt;
    }
    preferences_ = std::move(next);
    std::optional<std::string> failure;
    try {
        store_.save(preferences_);
    } catch (const std::exception& error) {
        failure = host_.loggedFailureText(error);
        status_.report(titled("设置保存失败", *failure));
    }
    host_.renderMenu();
    return failure;
}

void PreferencesKeeper::useUnsaved(Preferences next) { preferences_ = std::move(next); }

}  // namespace dorvane::shell
