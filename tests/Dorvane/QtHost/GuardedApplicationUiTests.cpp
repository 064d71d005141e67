#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>

#include <QEvent>
#include <QPushButton>
#include <QTest>

#include "Dorvane/QtHost/GuardedApplication.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/Shell/LastResort.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SystemClock.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

struct NotAStandardFailure {};

// An event handler of the kind nothing should have left unguarded: it throws from inside
// the toolkit's delivery.
class ThrowingReceiver final : public QObject {
public:
    static constexpr QEvent::Type standardFailure = QEvent::Type(QEvent::User + 1);
    static constexpr QEvent::Type otherFailure = QEvent::Type(QEvent::User + 2);
    static constexpr QEvent::Type plain = QEvent::Type(QEvent::User + 3);

    bool event(QEvent* event) override {
        if (event->type() == standardFailure) throw std::runtime_error("cannot read statusbar.json");
        if (event->type() == otherFailure) throw NotAStandardFailure{};
        if (event->type() == plain) {
            ++handled;
            return true;
        }
        return QObject::event(event);
    }
    int handled = 0;
};

// The checks of the child process: each failed one is said on standard error.
class Checks {
public:
    void expect(bool holds, const std::string& what) {
        if (holds) return;
        std::fprintf(stderr, "failed: %s\n", what.c_str());
        failed_ = true;
    }
    [[noreturn]] void end() const { std::_Exit(failed_ ? 1 : 0); }

private:
    bool failed_ = false;
};

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

// In a process of its own, the program's application object: a handler that fails through
// the program's guard stops there, is logged, and the window goes on; what reaches the
// application object unguarded anyway, of any type, is logged as well and counts as not
// handled, and the event loop goes on.
void runGuardedApplication() {
    Checks checks;
    const testing::TemporaryFolder root("corvelle-guarded");
    const fs::path log = root.path() / "Dorvane.log";
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "corvelle";
    char* argv[] = {name, nullptr};
    dispatch::SystemClock clock;
    std::ostringstream errors;
    const auto lastResort = lastResortHandler(root.path(), clock, errors);
    qthost::GuardedApplication application(argc, argv, lastResort);
    qthost::QtMainQueue mainQueue(lastResort);

    QPushButton button(QStringLiteral("设置…"));
    int failing = 0;
    int after = 0;
    QObject::connect(&button, &QPushButton::clicked, dispatch::guarded(mainQueue, [&](bool) {
                         if (++failing == 1) throw std::runtime_error("cannot read defaults.json");
                     }));
    QObject::connect(&button, &QPushButton::clicked, [&] { ++after; });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    checks.expect(after == 1, "the click's other handler ran");
    checks.expect(count(readFileIfPresent(log).value_or(""), " unhandled_error main: cannot read defaults.json\n") == 1,
                  "the handler's failure is in the engine log");
    QTest::mouseClick(&button, Qt::LeftButton);
    checks.expect(failing == 2 && after == 2, "the button still works");

    ThrowingReceiver receiver;
    QEvent standard(ThrowingReceiver::standardFailure);
    checks.expect(!QCoreApplication::sendEvent(&receiver, &standard), "a failed event is not handled");
    QEvent other(ThrowingReceiver::otherFailure);
    checks.expect(!QCoreApplication::sendEvent(&receiver, &other), "a failure of any type is not handled");
    const auto logged = readFileIfPresent(log).value_or("");
    checks.expect(count(logged, " unhandled_error main: cannot read statusbar.json\n") == 1, "std failure logged");
    checks.expect(count(logged, " unhandled_error main: unknown error\n") == 1, "other failure logged");
    QEvent plain(ThrowingReceiver::plain);
    checks.expect(QCoreApplication::sendEvent(&receiver, &plain) && receiver.handled == 1, "events go on");
    checks.end();
}

TEST(GuardedApplicationDeathTest, HandlerFailuresStopAtTheGuardOrTheApplicationAndAreLogged) {
    // A process of its own with a fresh start: one application object per process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runGuardedApplication(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace dorvane
