#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

#include "Dorvane/Engine/EngineLog.h"
#include "Dorvane/Shell/LastResort.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

struct NotAStandardFailure {};

std::string engineLog(const testing::TemporaryFolder& root) {
    return readFileIfPresent(root.path() / EngineLog::fileName).value_or("");
}

// Whatever escapes the whole application, of any type, is written where the last resort
// writes and gives status 1; it never unwinds into the loader.
TEST(LastResortTest, AFailureEscapingTheApplicationIsLoggedAndGivesStatusOne) {
    const testing::TemporaryFolder root("corvelle-last-resort");
    std::ostringstream errors;
    EXPECT_EQ(runToTheEnd(root.path(), errors, [] { return 7; }), 7);
    EXPECT_EQ(engineLog(root), "");

    EXPECT_EQ(runToTheEnd(root.path(), errors, []() -> int { throw std::runtime_error("host folder vanished"); }), 1);
    EXPECT_NE(engineLog(root).find(" unhandled_error application: host folder vanished\n"), std::string::npos)
        << engineLog(root);
    EXPECT_EQ(errors.str(), "Corvelle: application: host folder vanished\n");

    EXPECT_EQ(runToTheEnd(root.path(), errors, []() -> int { throw NotAStandardFailure{}; }), 1);
    EXPECT_NE(engineLog(root).find(" unhandled_error application: unknown error\n"), std::string::npos)
        << engineLog(root);
}

}  // namespace
}  // namespace dorvane
