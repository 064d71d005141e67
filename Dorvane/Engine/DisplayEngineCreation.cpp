// Creating the virtual display and waiting until the worker sees it.

#include <algorithm>

#include "Dorvane/Engine/DisplayEngine.h"
#include "DorvaneCore/Core/FitError.h"

namespace dorvane {

namespace {

constexpr const char* kActivityAssertionName = "Corvelle virtual display";

}  // namespace

void DisplayEngine::wakeDisplays() {
    try {
        if (const auto assertion = userActivity_.declareUserActivity(kActivityAssertionName)) {
            userActivity_.releaseAssertion(*assertion);
        }
    } catch (const std::exception&) {
        // Waking is a courtesy: creation is retried, and readiness decides.
    }
}

std::uint32_t DisplayEngine::nextSerial() {
    // Uniform over 2...4294967295, never the serial of the display made just before.
    std::uint32_t serial = 0;
    do {
        serial = static_cast<std::uint32_t>(2 + random_() % 4294967294ULL);
    } while (serial == lastDisplaySerial_);
    lastDisplaySerial_ = serial;
    return serial;
}

std::unique_ptr<DVVirtualDisplay> DisplayEngine::createDisplay(const Dimensions& dimensions,
                                                               const ZeroDisplayActivation& policy) {
    if (!DVVirtualDisplay::isAvailable(virtualDisplays_)) throw FitError::message("当前系统不支持虚拟屏幕。");
    const int attempts = std::max(policy.createAttempts, 1);
    for (int attempt = 1;; ++attempt) {
        auto display = DVVirtualDisplay::create(virtualDisplays_, static_cast<std::uint32_t>(dimensions.width),
                                                static_cast<std::uint32_t>(dimensions.height), nextSerial());
        if (display && display->displayID() != 0) {
            if (attempt > 1) log("display_create_recovered", "attempt=" + std::to_string(attempt));
            return display;
        }
        display.reset();
        log("display_create_retry",
            "attempt=" + std::to_string(attempt) + "/" + std::to_string(policy.createAttempts));
        if (attempt < policy.createAttempts) {
            if (policy.wakeDisplays) wakeDisplays();
            clock_.sleep(policy.createRetryDelay);
        }
        if (attempt >= attempts) throw FitError::message("无法创建虚拟屏幕。");
    }
}

DisplayState DisplayEngine::readySource(std::uint32_t id, const Dimensions& dimensions,
                                        const ZeroDisplayActivation& policy) {
    const int polls = std::max(policy.readyPolls, 1);
    std::optional<DisplayState> source;
    for (int count = 0; !source;) {
        for (const auto& display : snapshot()) {
            if (display.id == id) {
                source = display;
                break;
            }
        }
        if (source) break;
        clock_.sleep(policy.readyPollInterval);
        if (++count == polls) throw FitError::message("虚拟屏幕未就绪。");
    }

    if (source->mode.pixelWidth != 2 * dimensions.width || source->mode.pixelHeight != 2 * dimensions.height) {
        if (!policy.acceptInitialModeMismatch) throw FitError::message("虚拟屏幕初始分辨率不匹配");
        // The commit that follows sets the right mode.
        log("display_initial_mode_deferred", "id=" + std::to_string(id) + " initial=" +
                                                 std::to_string(source->mode.pixelWidth) + "x" +
                                                 std::to_string(source->mode.pixelHeight) +
                                                 " target=" + dimensions.label());
    }
    log("display_created", "id=" + std::to_string(id) + " uuid=" + source->uuid.value_or("nil") + " initial=" +
                               std::to_string(source->mode.width) + "×" + std::to_string(source->mode.height) +
                               " target=" + dimensions.label());
    return *source;
}

}  // namespace dorvane
