#include <gtest/gtest.h>

#include <filesystem>

#include "DorvaneCore/Core/ResourceBundle.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

TEST(ResourceBundle, CandidatesInOrderAndFirstExistingWins) {
    const auto candidates = coreBundleCandidates(fs::path("/opt/corvelle/bin/corvelle"));
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], fs::path("/opt/corvelle/share/corvelle"));
    EXPECT_EQ(candidates[2], fs::path("/opt/corvelle/bin"));
    EXPECT_EQ(coreBundleCandidates(std::nullopt).size(), 1u);  // only the build tree is known

    const fs::path root = fs::temp_directory_path() / ("bundle-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "second" / "X.bundle");
    fs::create_directories(root / "third" / "X.bundle");
    fs::create_directories(root / "first");
    const std::vector<fs::path> folders{root / "first", root / "second", root / "third"};
    EXPECT_EQ(locateBundle(folders, "X.bundle"), root / "second" / "X.bundle");
    EXPECT_EQ(locateBundle(folders, "Y.bundle"), std::nullopt);
    fs::remove_all(root);
}

TEST(ResourceBundle, TheBuildTreeHoldsTheCoreBundle) {
    const auto& bundle = coreResourceBundle();
    ASSERT_TRUE(bundle.has_value());
    EXPECT_EQ(bundle->filename(), "Corvelle_DorvaneCore.bundle");
    EXPECT_TRUE(fs::is_directory(*bundle));
    EXPECT_EQ(&coreResourceBundle(), &bundle);  // located once, kept
}

}  // namespace
}  // namespace dorvane
