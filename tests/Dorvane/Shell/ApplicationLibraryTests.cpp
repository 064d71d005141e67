#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Dorvane/Shell/ApplicationLibrary.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

const std::string refusal = "无法加载 Corvelle 应用程序库：";

TEST(ApplicationLibraryTest, TheEntryGetsTheFolderAndExecutableAndItsStatusIsTheProgramsStatus) {
    testing::TemporaryFolder root("corvelle-library");
    std::ostringstream errors;
    EXPECT_EQ(runApplicationLibrary(STAND_IN_APPLICATION_LIBRARY, root.path(), "/opt/corvelle/corvelle", errors), 42);
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(readFileIfPresent(root.path() / "entry"), root.path().string() + "\n/opt/corvelle/corvelle\n");
}

TEST(ApplicationLibraryTest, AMissingUnloadableOrEntrylessLibraryIsOneLineAndStatusOne) {
    testing::TemporaryFolder root("corvelle-library");
    const auto refused = [&](const fs::path& library) {
        std::ostringstream errors;
        EXPECT_EQ(runApplicationLibrary(library, root.path(), "/opt/corvelle/corvelle", errors), 1) << library;
        EXPECT_FALSE(fs::exists(root.path() / "entry"));
        const std::string line = errors.str();
        EXPECT_TRUE(line.starts_with(refusal)) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
        EXPECT_TRUE(line.ends_with("\n")) << line;
        return line;
    };

    const auto missing = root.path() / "libcorvelle-application.so";
    EXPECT_NE(refused(missing).find(missing.string()), std::string::npos);

    writeFileAtomically(missing, "not a library\n");
    EXPECT_NE(refused(missing).find(missing.string()), std::string::npos);

    EXPECT_NE(refused(STAND_IN_LIBRARY_WITHOUT_ENTRY).find(applicationLibraryEntryName), std::string::npos);

    // A bare name is a file in the current folder, never one from the library search path.
    EXPECT_NE(refused("libc.so.6").find(fs::current_path().string()), std::string::npos);
}

}  // namespace
}  // namespace dorvane
