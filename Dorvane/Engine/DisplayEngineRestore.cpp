// Putting the physical layout back, deferring that while no physical display is
// online, and keeping restored displays in their modes.

#include <cerrno>
#include <cstdio>
#include <exception>
#include <set>
#include <system_error>

#include "Dorvane/Engine/DisplayEngine.h"
#include "DorvaneCore/Core/BusyFailure.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/RestorePlan.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/SetAside.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

namespace fs = std::filesystem;

namespace {

constexpr int kRestoreAttempts = 3;
constexpr double kRestorePause = 0.2;
constexpr const char* kVerificationMessage =
    "桌面还原校验未通过。已保存恢复快照，请重新尝试还原或检查显示器连接。";

// The saved displays are physical, whatever a snapshot says of them now.
std::vector<DisplayState> markedPhysical(std::vector<DisplayState> live, const std::vector<DisplayState>& saved) {
    std::set<std::string> keys;
    for (const auto& display : saved) keys.insert(display.hardwareKey);
    for (auto& display : live) {
        if (keys.contains(display.hardwareKey)) display.physical = true;
    }
    return live;
}

const DisplayState* findDisplay(const std::vector<DisplayState>& displays, std::uint32_t id) {
    for (const auto& display : displays) {
        if (display.id == id) return &display;
    }
    return nullptr;
}

std::string threeDecimals(double seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string sizesText(const DisplayMode& mode) {
    return std::to_string(mode.pixelWidth) + "x" + std::to_string(mode.pixelHeight) + "/" +
           std::to_string(mode.width) + "x" + std::to_string(mode.height);
}

// Whether `error` came of another program holding the system past the wait.
bool heldOut(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const BusyFailure&) {
        return true;
    } catch (...) {
        return false;
    }
}

bool plainPhysical(const std::vector<DisplayState>& displays) {
    for (const auto& display : displays) {
        if (!display.physical || display.mirror != 0) return false;
    }
    return true;
}

}  // namespace

bool DisplayEngine::headless(const std::vector<DisplayState>& saved) {
    const auto live = markedPhysical(snapshot(), saved);
    return RestorePlan::outcome(saved, live).kind == RestorePlan::Outcome::Kind::deferred;
}

bool DisplayEngine::mustDefer(const std::vector<DisplayState>& saved) {
    if (!headless(saved)) return false;
    // Sleeping displays show no mode and look absent: wake them and look again first.
    wakeDisplays();
    return headless(saved);
}

bool DisplayEngine::restoreNow() {
    dispatch::assertOn(queue_, "DisplayEngine::restoreNow");
    abandonedRestoreReason_.reset();
    sessionFileStayed_ = false;
    if (!hasSession()) return restoreWithoutSession();

    // A file that can never be used gives way to the bytes this run wrote, or to the road
    // without a session; it must not keep the displays from coming back.
    auto session = readSession();
    if (!session) session = sessionInMemory();
    if (!session) return restoreWithoutSession();
    const auto& saved = session->displays;
    const std::string& bytes = session->bytes;

    const double start = clock_.uptime();
    std::exception_ptr lastError;
    std::string lastMessage;
    // Every host call of the restore is retried, the first look at the displays included: a
    // host that fails a call for a moment (a lock held long on a busy machine) must not
    // refuse a quit.
    for (int attempt = 1; attempt <= kRestoreAttempts; ++attempt) {
        try {
            if (mustDefer(saved)) {
                pendingRestore_ = true;
                log("restore_deferred",
                    std::string("no_physical_display virtual_kept=") + (virtualDisplay_ ? "true" : "false"));
                return false;
            }
            restoreAttempt(saved, bytes, attempt == kRestoreAttempts, start);
            return true;
        } catch (const std::exception& error) {
            lastError = std::current_exception();
            lastMessage = error.what();
            log("restore_retry", std::to_string(attempt) + " " + technicalText(error));
            clock_.sleep(kRestorePause);
        }
    }
    giveUpRestore(lastError, lastMessage, bytes);
    return true;
}

bool DisplayEngine::restoreWithoutSession() {
    if (virtualDisplay_) log("own_virtual_released", "no_session");
    releaseVirtualDisplays();
    applied_.reset();
    pendingRestore_ = false;
    endSession();
    restoreFullHeightIfNeeded();
    ++completedRestores_;
    return true;
}

std::optional<DisplayEngine::SavedSession> DisplayEngine::readSession() {
    std::error_code ignored;
    const auto status = fs::status(sessionPath(), ignored);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        setAsideSession("not a regular file");
        return std::nullopt;
    }
    // Permissions or I/O: the file may be readable at the next try, so this restore fails.
    const auto bytes = readFileIfPresent(sessionPath());
    if (!bytes) throw std::system_error(ENOENT, std::generic_category(), "read " + sessionPath().string());
    try {
        return SavedSession{*bytes, parseDisplayStates(*bytes)};
    } catch (const json::DecodeError& error) {
        setAsideSession(error.what());
        return std::nullopt;
    }
}

std::optional<DisplayEngine::SavedSession> DisplayEngine::sessionInMemory() const {
    if (!sessionBytes_) return std::nullopt;
    try {
        return SavedSession{*sessionBytes_, parseDisplayStates(*sessionBytes_)};
    } catch (const json::DecodeError&) {
        return std::nullopt;
    }
}

void DisplayEngine::setAsideSession(const std::string& error) {
    InvalidSession invalid;
    invalid.error = error;
    try {
        invalid.movedTo = moveAside(sessionPath(), invalidSessionStem, clock_.wallTime());
    } catch (const std::system_error& moveError) {
        invalid.moveError = moveError.code().message();
        sessionFileStayed_ = true;
    }
    log("session_file_invalid", invalid.logDetail());
    invalidSession_ = invalid;
    if (invalidSessionObserver_) invalidSessionObserver_(invalid);
}

std::optional<std::string> DisplayEngine::recoveryBytes() {
    std::error_code ignored;
    const auto status = fs::status(sessionPath(), ignored);
    if (fs::is_regular_file(status)) {
        // A read error leaves the operation; bytes that are no session are never handed on.
        const auto bytes = readFileIfPresent(sessionPath());
        if (bytes) {
            try {
                parseDisplayStates(*bytes);
                return bytes;
            } catch (const json::DecodeError&) {
            }
        }
    }
    if (const auto own = sessionInMemory()) return own->bytes;
    return std::nullopt;
}

void DisplayEngine::writeSession(const std::string& bytes) {
    fs::create_directories(root_);
    writeFileAtomically(sessionPath(), bytes);
    sessionBytes_ = bytes;
}

void DisplayEngine::endSession() { sessionBytes_.reset(); }

void DisplayEngine::retire(std::unique_ptr<DVVirtualDisplay> display) {
    if (display && !display->release()) unreleased_.push_back(std::move(display));
}

void DisplayEngine::releaseVirtualDisplays() {
    // One try each: only those the system takes back go; the rest are kept for the next.
    std::vector<std::unique_ptr<DVVirtualDisplay>> earlier;
    earlier.swap(unreleased_);
    for (auto& display : earlier) retire(std::move(display));
    retire(std::move(virtualDisplay_));
}

std::string DisplayEngine::InvalidSession::noticeDetail() const {
    if (movedTo) return "已移至 " + movedTo->filename().string() + "，并按当前屏幕还原。";
    return "未能移走 session.json（" + moveError + "），已按当前屏幕还原。";
}

std::string DisplayEngine::InvalidSession::logDetail() const {
    if (movedTo) return "moved=" + movedTo->filename().string() + " error=" + error;
    return "stayed=session.json move_error=" + moveError + " error=" + error;
}

std::string DisplayEngine::InvalidSession::failureMessage() const {
    if (movedTo) {
        return "屏幕记录 session.json 已损坏，已移至 " + movedTo->filename().string() +
               "，未能按记录还原。原因：" + error;
    }
    return "屏幕记录 session.json 已损坏且未能移走（" + moveError + "），未能按记录还原。原因：" + error;
}

void DisplayEngine::restoreAttempt(const std::vector<DisplayState>& saved, const std::string& bytes,
                                   bool lastAttempt, double start) {
    releaseVirtualDisplays();
    applied_.reset();
    clock_.sleep(kRestorePause);
    auto targets = plannedRestoreTargets(saved);
    if (!targets.empty()) commit(targets);

    clock_.sleep(kRestorePause);
    const auto actual = snapshot();
    verifyRestoredLayout(targets, actual, lastAttempt);
    recordRestored(saved, bytes, targets, actual, start);
}

std::vector<DisplayState> DisplayEngine::plannedRestoreTargets(const std::vector<DisplayState>& saved) {
    const auto live = markedPhysical(snapshot(), saved);
    const auto outcome = RestorePlan::outcome(saved, live);
    switch (outcome.kind) {
        case RestorePlan::Outcome::Kind::release:
            log("restore_release", "original_displays_absent");
            return {};
        case RestorePlan::Outcome::Kind::deferred:
            throw FitError::message("显示器已断开，稍后自动还原。");
        case RestorePlan::Outcome::Kind::restore:
            break;
    }
    return restorationTargets(outcome.targets);
}

void DisplayEngine::verifyRestoredLayout(std::vector<DisplayState>& targets, const std::vector<DisplayState>& actual,
                                         bool lastAttempt) {
    std::vector<std::string> problems;
    bool originOnly = true;
    for (const auto& target : targets) {
        const DisplayState* found = findDisplay(actual, target.id);
        const auto mismatches =
            StableModes::mismatches(target, found ? std::optional<DisplayState>(*found) : std::nullopt);
        if (mismatches.empty()) continue;
        std::string problem = "id=" + std::to_string(target.id) + " ";
        for (std::size_t index = 0; index < mismatches.size(); ++index) {
            if (index > 0) problem += "; ";
            problem += mismatches[index];
            if (!mismatches[index].starts_with("origin")) originOnly = false;
        }
        problems.push_back(std::move(problem));
    }
    if (!problems.empty()) {
        std::string joined;
        for (const auto& problem : problems) joined += (joined.empty() ? "" : " | ") + problem;
        log("restore_mismatch", joined);
        if (!originOnly || !lastAttempt) throw FitError::message(kVerificationMessage);
        // The system keeps placing the displays elsewhere: accept where it put them.
        log("restore_origin_normalized", "accepted macOS placement");
        for (auto& target : targets) {
            if (const DisplayState* found = findDisplay(actual, target.id)) {
                target.x = found->x;
                target.y = found->y;
            }
        }
    }

    std::set<std::uint32_t> targetIDs;
    for (const auto& target : targets) targetIDs.insert(target.id);
    for (const auto& display : actual) {
        if (!targetIDs.contains(display.id) && !display.physical) {
            throw FitError::message("仍有虚拟屏幕未断开，请关闭其他显示工具后重试。");
        }
    }
}

void DisplayEngine::recordRestored(const std::vector<DisplayState>& saved, const std::string& bytes,
                                   const std::vector<DisplayState>& targets, const std::vector<DisplayState>& actual,
                                   double start) {
    log("restore_layout", "saved=" + layout(saved) + " after=" + layout(actual));
    try {
        writeFileAtomically(root_ / lastSessionFileName, bytes);
    } catch (const std::exception&) {
        // The layout is back; only the record of it is missing.
    }
    // A damaged file that could not be moved aside is left for the next restore to report.
    if (!sessionFileStayed_) fs::remove(sessionPath());
    applied_.reset();
    pendingRestore_ = false;
    endSession();
    reassertRestoredModes(targets);
    lastDisplayWork_ = clock_.uptime();
    ++completedRestores_;
    log("restored", "seconds=" + threeDecimals(clock_.uptime() - start));
}

void DisplayEngine::giveUpRestore(const std::exception_ptr& lastError, const std::string& lastMessage,
                                  const std::string& bytes) {
    // Give up only when the displays already form a plain physical layout; anything else
    // keeps the session for the next try. So does a last try that another program held
    // out: the restore did not fail, it was not let in.
    if (heldOut(lastError)) std::rethrow_exception(lastError);
    std::vector<DisplayState> live;
    try {
        live = snapshot();
    } catch (const std::exception&) {
        std::rethrow_exception(lastError);
    }
    if (live.empty() || !plainPhysical(live)) std::rethrow_exception(lastError);
    std::error_code ignored;
    fs::remove(root_ / failedSessionFileName, ignored);
    if (sessionFileStayed_ || !fs::exists(sessionPath(), ignored)) {
        // The file was damaged and set aside (or left): what was given up came from memory.
        try {
            writeFileAtomically(root_ / failedSessionFileName, bytes);
        } catch (const std::exception&) {
        }
    } else {
        fs::rename(sessionPath(), root_ / failedSessionFileName, ignored);
    }
    applied_.reset();
    pendingRestore_ = false;
    endSession();
    lastDisplayWork_ = clock_.uptime();
    abandonedRestoreReason_ = lastMessage;
    log("restore_abandoned", "live=" + layout(live) + " reason=" + lastMessage);
}

DisplayEngine::Resumed DisplayEngine::resumePendingRestoreNow() {
    dispatch::assertOn(queue_, "DisplayEngine::resumePendingRestoreNow");
    if (!pendingRestore_ || shuttingDown_) return Resumed::notRestored;
    if (!hasSession()) return Resumed::notRestored;
    try {
        return restoreNow() ? Resumed::restored : Resumed::notRestored;
    } catch (const std::exception& error) {
        log("restore_resume_failed", technicalText(error));
        return dynamic_cast<const BusyFailure*>(&error) != nullptr ? Resumed::hostHeld : Resumed::notRestored;
    }
}

void DisplayEngine::shutdownNow() {
    dispatch::assertOn(queue_, "DisplayEngine::shutdownNow");
    shuttingDown_ = true;
    try {
        restoreNow();
    } catch (...) {
        shuttingDown_ = false;
        throw;
    }
}

void DisplayEngine::restoreFullHeightIfNeeded() {
    const auto live = snapshot();
    if (!plainPhysical(live)) return;
    const auto targets = restorationTargets(live);
    std::vector<DisplayState> changes;
    for (const auto& target : targets) {
        const DisplayState* found = findDisplay(live, target.id);
        if (found == nullptr || found->mode.matches(target.mode)) continue;
        changes.push_back(target);
        changes.back().skipOrigin = true;
    }
    if (changes.empty()) return;
    commit(changes);
    for (int pass = 0; pass < 2; ++pass) {
        clock_.sleep(kRestorePause);
        const auto now = snapshot();
        for (const auto& target : targets) {
            const DisplayState* found = findDisplay(now, target.id);
            if (found == nullptr || !found->mode.matches(target.mode) || found->x != target.x ||
                found->y != target.y || found->main != target.main || found->mirror != target.mirror) {
                throw FitError::message("屏幕完整高度还原未通过校验");
            }
        }
    }
}

void DisplayEngine::reassertRestoredModes(const std::vector<DisplayState>& targets) {
    if (targets.empty()) return;
    for (const double pause : {1.0, 2.0}) {
        clock_.sleep(pause);
        std::vector<DisplayState> live;
        try {
            live = snapshot();
        } catch (const std::exception&) {
            continue;
        }
        const auto drifted = RestoreDrift::drifted(targets, live);
        if (drifted.empty()) continue;
        for (const auto& target : drifted) {
            const DisplayState* found = findDisplay(live, target.id);
            log("restore_mode_reasserted", "id=" + std::to_string(target.id) +
                                               " live=" + (found ? sizesText(found->mode) : std::string("?")) +
                                               " target=" + sizesText(target.mode));
        }
        try {
            commit(drifted.size() == 1 ? drifted : targets);
        } catch (const std::exception& error) {
            log("restore_mode_reassert_failed", technicalText(error));
        }
    }
}

}  // namespace dorvane
