#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

using Faces = std::map<std::string, std::set<std::string>>;

Faces facesQtSees() {
    Faces faces;
    for (const auto& family : QFontDatabase::families()) {
        auto& styles = faces[family.toStdString()];
        for (const auto& style : QFontDatabase::styles(family)) styles.insert(style.toStdString());
    }
    return faces;
}

// The faces of fonts-noto-cjk, fonts-noto-cjk-extra, fonts-dejavu-core and
// fonts-material-design-icons-iconfont as Qt lists them, with Qt's three generic names.
Faces bootstrapFaces() {
    const std::set<std::string> generic{"Normal", "Italic", "Oblique"};
    Faces faces{{"DejaVu Sans", {"Book", "Bold"}},
                {"DejaVu Sans Mono", {"Book", "Bold"}},
                {"DejaVu Serif", {"Book", "Bold"}},
                {"Material Icons", {"Regular"}},
                {"Monospace", generic},
                {"Sans Serif", generic},
                {"Serif", generic}};
    // Each weight beyond Regular and Bold is also a family of its own.
    const auto weighted = [&faces](const std::string& family, const std::set<std::string>& weights) {
        faces[family] = {"Regular", "Bold"};
        for (const auto& weight : weights) {
            faces[family].insert(weight);
            faces[family + " " + weight] = {"Regular"};
        }
    };
    for (const std::string region : {"HK", "JP", "KR", "SC", "TC"}) {
        weighted("Noto Sans CJK " + region, {"Black", "DemiLight", "Light", "Medium", "Thin"});
        weighted("Noto Serif CJK " + region, {"Black", "ExtraLight", "Light", "Medium", "SemiBold"});
        faces["Noto Sans Mono CJK " + region] = {"Regular", "Bold"};
    }
    return faces;
}

// A ui test lays out text with the fonts scripts/bootstrap installs and none of the others
// a machine may have (another CJK face, DejaVu's condensed and oblique faces): a layout is
// the same on every machine.
TEST(UiTestFonts, AreExactlyTheFacesOfTheBootstrapsFontPackages) {
    testing::qtApplication();
    EXPECT_EQ(facesQtSees(), bootstrapFaces());
}

// As in the program, a widget that sets no font of its own draws in the body text's face and
// size, from a real face rather than a fallback.
TEST(UiTestFonts, AWidgetWithoutAFontOfItsOwnHasTheProgramsApplicationFont) {
    testing::qtApplication();
    QWidget widget;
    EXPECT_EQ(widget.font().toString().toStdString(), DesignTokens::applicationFont().toString().toStdString());
    const QFontInfo shown(widget.font());
    EXPECT_EQ(shown.family().toStdString(), "Noto Sans CJK SC");
    EXPECT_EQ(shown.styleName().toStdString(), "Regular");
    EXPECT_EQ(shown.pixelSize(), static_cast<int>(DesignTokens::fontBody));
}

}  // namespace
}  // namespace dorvane
