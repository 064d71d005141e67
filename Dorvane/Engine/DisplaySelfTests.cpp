#include "Dorvane/Engine/DisplaySelfTests.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <optional>
#include <set>

#include "Dorvane/Engine/DisplayEngine.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/UUID.h"

namespace dorvane {

namespace {

[[noreturn]] void fail(const std::string& message) { throw FitError::message(message); }

// Runs the test, then restores; a failed step gets one clean-up restore whose error wins.
void withCleanup(DisplayEngine& engine, const std::function<void()>& test) {
    try {
        test();
    } catch (...) {
        const std::exception_ptr first = std::current_exception();
        engine.restoreNow();  // its error, if any, propagates instead of the first one
        std::rethrow_exception(first);
    }
}

// The program's own display as the worker reports it: the first non-physical main display.
std::optional<DisplayState> captureDisplay(DisplayEngine& engine) {
    const auto displays = engine.snapshot();
    auto found = std::find_if(displays.begin(), displays.end(),
                              [](const DisplayState& d) { return !d.physical && d.main; });
    if (found == displays.end()) return std::nullopt;
    return *found;
}

std::string sessionBytes(DisplayEngine& engine) {
    auto bytes = readFileIfPresent(engine.sessionPath());
    if (!bytes) fail("无法读取恢复记录");
    return *bytes;
}

}  // namespace

void DisplaySelfTests::smokeManual(DisplayEngine& engine) {
    withCleanup(engine, [&] {
        Preferences preferences;
        CustomPreset smokePreset;
        smokePreset.id = makeUUIDString();
        smokePreset.name = "Native smoke";
        smokePreset.width = 1366;
        smokePreset.height = 768;
        smokePreset.scalePercent = 100;
        preferences.customPresets = {smokePreset};
        preferences.selectedCustomID = smokePreset.id;
        const Dimensions dimensions = preferences.dimensions();

        auto status = engine.applyNow(dimensions);
        if (!status.applied || *status.applied != dimensions) fail(status.detail.value_or("手动应用失败"));
        engine.clock().sleep(2.5);
        status = engine.initializeNow();
        if (!status.applied || *status.applied != dimensions) fail("本地分辨率未保持");
        engine.restoreNow();
    });
}

void DisplaySelfTests::smokeCaptureReplacement(DisplayEngine& engine) {
    withCleanup(engine, [&] {
        const std::vector<Dimensions> sizes{Dimensions(1252, 1156), Dimensions(630, 1400), Dimensions(1024, 768),
                                            Dimensions(1400, 630)};
        std::set<std::string> identities;
        std::optional<std::string> keptSession;

        for (const auto& size : sizes) {
            auto status = engine.applyNow(size);
            if (status.detail) fail(*status.detail);
            if (!status.applied || *status.applied != size) fail("采集屏幕身份未更新");
            const auto capture = captureDisplay(engine);
            if (!capture || !capture->uuid || identities.contains(*capture->uuid)) fail("采集屏幕身份未更新");
            identities.insert(*capture->uuid);

            const std::string session = sessionBytes(engine);
            if (!keptSession) keptSession = session;
            if (session != *keptSession) fail("更换采集屏幕改变了恢复记录");

            status = engine.applyNow(size);
            if (status.detail) fail("重复选择同一规格不应更换屏幕");
            const auto again = captureDisplay(engine);
            if (!again || again->uuid != capture->uuid) fail("重复选择同一规格不应更换屏幕");
        }

        // A session file that has gone no longer holds the kept bytes: that is this check's failure.
        const auto sessionKept = [&] { return readFileIfPresent(engine.sessionPath()) == keptSession; };
        const auto invalid = engine.applyNow(Dimensions(4000, 900));
        if (!invalid.detail || invalid.applied != Dimensions(1400, 630) || !sessionKept()) {
            fail("无效规格改变了当前屏幕");
        }

        const auto before = captureDisplay(engine);
        const std::optional<std::string> rememberedUUID = before ? before->uuid : std::nullopt;
        for (const bool afterSwitch : {false, true}) {
            bool threw = false;
            try {
                engine.activate(Dimensions(1280, 800), !afterSwitch, std::nullopt, afterSwitch);
            } catch (const std::exception&) {
                threw = true;
            }
            if (!threw) fail("采集屏幕交接失败后未保留上次屏幕");
            const auto capture = captureDisplay(engine);
            const bool kept = engine.applied() == Dimensions(1400, 630) && capture &&
                              capture->mode.width == 1400 && capture->mode.height == 630 &&
                              capture->uuid == rememberedUUID && sessionKept();
            if (!kept) fail("采集屏幕交接失败后未保留上次屏幕");
        }
        engine.restoreNow();
    });
}

void DisplaySelfTests::smoke(DisplayEngine& engine, const Dimensions& dimensions, bool injectFailure) {
    withCleanup(engine, [&] {
        engine.activate(dimensions, injectFailure, std::nullopt, false);
        engine.restoreNow();
    });
}

}  // namespace dorvane
