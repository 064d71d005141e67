#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPainterPath>

#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Strictly between the desktop under it and the opaque surface: a translucent blend.
bool blendBetween(const QColor& seen, const QColor& backdrop, const QColor& surface) {
    auto between = [](int value, int one, int other) {
        return value > std::min(one, other) + 2 && value < std::max(one, other) - 2;
    };
    return between(seen.red(), backdrop.red(), surface.red()) || between(seen.green(), backdrop.green(), surface.green()) ||
           between(seen.blue(), backdrop.blue(), surface.blue());
}

// Every file under `folder`, by its path there, with its bytes.
std::map<std::string, std::string> folderContents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        contents[fs::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? readFileIfPresent(entry.path()).value_or("<unreadable>") : "<folder>";
    }
    return contents;
}

// `make screenshots` as a person runs it, into a folder of the test's own: Xvfb, the
// compositor, the drawn desktop; the glass lets the desktop through its corners and tints
// it in the middle, the notices followed the host's appearance. The host a user exported,
// a desk with a terminal already running, is left byte for byte as it was: the pictures
// have a host of their own.
TEST(ScreenshotsUnderXvfb, GlassIsTranslucentWithPaintedCornersAndTheUsersHostIsLeftAlone) {
    std::string pattern = (fs::temp_directory_path() / "corvelle-shots-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    const std::map<std::string, std::string> environment = {{"CORVELLE_HOST_DIR", (root / "host").string()},
                                                             {"XDG_RUNTIME_DIR", (root / "runtime").string()}};
    const auto host = [&](const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, environment, root);
    };
    for (const std::vector<std::string>& setUp :
         {std::vector<std::string>{"windows", "init", "--fixture", "desk"}, {"appearance", "dark"}}) {
        const auto done = host(setUp);
        ASSERT_EQ(done.status, 0) << done.err;
    }
    const auto usersHost = folderContents(root / "host");
    const auto shots = testing::runCommand(SCREENSHOTS_SCRIPT, {SCREENSHOT_TOOL, (root / "out").string()}, environment, root);
    ASSERT_EQ(shots.status, 0) << shots.err;
    const Json index = json::parse(readFileIfPresent(root / "out" / "screenshots.json").value_or("{}"));
    for (const char* name : {"notice-light.png", "notice-dark.png", "launcher-right.png", "launcher-error.png",
                             "launcher-empty.png", "toolbar-left.png", "toolbar-right.png",
                             "toolbar-top.png", "toolbar-bottom.png", "toolbar-collapsed.png",
                             "toolbar-layout-flyout.png", "toolbar-app-shortcuts.png", "toolbar-launcher.png",
                             "toolbar-overflow-dark.png", "toolbar-notice.png",
                             "settings-general.png", "settings-general-dark.png", "settings-connection.png",
                             "settings-touch.png", "settings-resolution.png", "spec-editor-error.png",
                             "device-templates.png", "shortcut-editor.png", "recommended-shortcuts.png",
                             "application-picker.png", "resolution-panel-left.png", "resolution-panel-bottom.png",
                             "menu-application.png", "menu-application-dark.png", "menu-chip.png", "menu-chip-dark.png",
                             "alert-remove-application.png", "alert-remove-application-dark.png",
                             "alert-save-failed.png", "alert-save-failed-dark.png", "alert-delete-shortcut.png",
                             "alert-delete-shortcut-dark.png", "alert-delete-preset.png", "alert-delete-preset-dark.png"}) {
        const QImage image(QString::fromStdString((root / "out" / name).string()));
        ASSERT_FALSE(image.isNull()) << name;
        ASSERT_TRUE(index.contains(name)) << name;
        EXPECT_EQ(image.width(), index[name]["size"][0].get<int>()) << name;
    }

    // Every picture is of the screen: no band of black from grabbing beyond it.
    for (const auto& [name, record] : index.items()) {
        const QImage image(QString::fromStdString((root / "out" / name).string()));
        ASSERT_FALSE(image.isNull()) << name;
        const auto blackLine = [&image](bool row, int at) {
            const int length = row ? image.width() : image.height();
            for (int i = 0; i < length; ++i) {
                if (image.pixelColor(row ? i : at, row ? at : i) != QColor(Qt::black)) return false;
            }
            return true;
        };
        EXPECT_FALSE(blackLine(true, 0) || blackLine(true, image.height() - 1) || blackLine(false, 0) ||
                     blackLine(false, image.width() - 1))
            << name;
    }

    // The resolution panel is as tall as its content, not as the room beside the toolbar:
    // hanging from the strip's top beside it on the left, standing on it at the bottom
    // (the panel keeps 6 points off the toolbar panel's frame).
    const Json& left = index["resolution-panel-left.png"];
    EXPECT_NEAR(left["glass"][1].get<int>(), left["toolbar"][1].get<int>() + 6, 1);
    EXPECT_LT(left["glass"][3].get<int>(), left["toolbar"][3].get<int>() - 200);
    const Json& bottom = index["resolution-panel-bottom.png"];
    EXPECT_NEAR(bottom["glass"][1].get<int>() + bottom["glass"][3].get<int>(), bottom["toolbar"][1].get<int>() + 6, 1);
    EXPECT_LT(bottom["glass"][3].get<int>(), bottom["room"].get<double>() - 100) << "as tall as its content";
    // Along the bottom the whole strip is in the picture, not a piece of it.
    EXPECT_LE(bottom["toolbar"][0].get<int>(), 0);
    EXPECT_GE(bottom["toolbar"][0].get<int>() + bottom["toolbar"][2].get<int>(), bottom["size"][0].get<int>());

    // Alerts hang from the window's top edge, centred, over the dimmed window; a destructive
    // answer, and a menu's destructive command, are red, and nothing else in a menu is.
    const QImage quickActions(QString::fromStdString((root / "out" / "settings-quick-actions.png").string()));
    for (const char* name : {"alert-remove-application.png", "alert-save-failed.png", "alert-delete-shortcut.png",
                             "alert-delete-preset.png"}) {
        const Json& alert = index[name]["alert"];
        EXPECT_EQ(alert[1].get<int>(), 0) << name;
        EXPECT_EQ(alert[2].get<int>(), 300) << name;
        EXPECT_NEAR(alert[0].get<int>() * 2 + alert[2].get<int>(), 900, 1) << name;
    }
    const QImage removal(QString::fromStdString((root / "out" / "alert-remove-application.png").string()));
    EXPECT_LT(removal.pixelColor(350, 300).lightness(), quickActions.pixelColor(350, 300).lightness() - 20)
        << "the window behind the alert is dimmed";
    // Within the rounded shape only: a menu's corners show what lies behind it.
    const auto hasRed = [](const QImage& image, const Json& rect, double radius = 0) {
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect[0].get<int>(), rect[1].get<int>(), rect[2].get<int>(), rect[3].get<int>()),
                             radius, radius);
        for (int y = rect[1].get<int>(); y < rect[1].get<int>() + rect[3].get<int>(); ++y) {
            for (int x = rect[0].get<int>(); x < rect[0].get<int>() + rect[2].get<int>(); ++x) {
                if (!shape.contains(QPointF(x + 0.5, y + 0.5))) continue;
                const QColor seen = image.pixelColor(x, y);
                if (seen.red() > 200 && seen.green() < 110 && seen.blue() < 110) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(hasRed(removal, index["alert-remove-application.png"]["alert"]));
    for (const char* name : {"menu-application.png", "menu-application-dark.png", "menu-chip.png", "menu-chip-dark.png"}) {
        const QImage menu(QString::fromStdString((root / "out" / name).string()));
        const Json& glass = index[name]["glass"];
        EXPECT_EQ(glass[3].get<int>(), 28 + 8) << name << ": one row";
        EXPECT_EQ(hasRed(menu, glass, 14), std::string(name).starts_with("menu-application")) << name;
    }
    // Lists and menus are glass, not the window's grey (239 in the light appearance, 43 in the
    // dark one): measured in the padding above their first row.
    for (const char* name : {"settings-connection.png", "menu-application.png", "menu-application-dark.png",
                             "menu-chip.png", "menu-chip-dark.png"}) {
        const QImage picture(QString::fromStdString((root / "out" / name).string()));
        const Json& glass = index[name]["glass"];
        const QColor padding = picture.pixelColor(glass[0].get<int>() + glass[2].get<int>() / 2, glass[1].get<int>() + 2);
        if (std::string(name).ends_with("-dark.png")) {
            EXPECT_LT(padding.lightness(), 32) << name << ": " << padding.name().toStdString();
        } else {
            EXPECT_GT(padding.lightness(), 247) << name << ": " << padding.name().toStdString();
        }
    }

    const QImage glass(QString::fromStdString((root / "out" / "launcher-right.png").string()));
    const Json& attached = index["launcher-right.png"];
    const QColor corner = glass.pixelColor(attached["corner"][0].get<int>(), attached["corner"][1].get<int>());
    EXPECT_TRUE(near(corner, QColor(QString::fromStdString(attached["cornerBackdrop"])), 3))
        << "the rounded corner shows the desktop: " << corner.name().toStdString();
    const QColor middle = glass.pixelColor(attached["middle"][0].get<int>(), attached["middle"][1].get<int>());
    EXPECT_TRUE(blendBetween(middle, QColor(QString::fromStdString(attached["middleBackdrop"])), Qt::white))
        << "the card's middle blends the light surface with the desktop: " << middle.name().toStdString();

    // The same card in both pictures; the dark one followed the host's appearance.
    const Json& card = index["notice-light.png"]["glass"];
    const int x = card[0].get<int>() + card[2].get<int>() - 8;
    const int y = card[1].get<int>() + card[3].get<int>() - 6;
    const QImage light(QString::fromStdString((root / "out" / "notice-light.png").string()));
    const QImage dark(QString::fromStdString((root / "out" / "notice-dark.png").string()));
    EXPECT_GT(light.pixelColor(x, y).lightness(), 180);
    EXPECT_LT(dark.pixelColor(x, y).lightness(), 90);

    // The settings window whole, its cards following the appearance; its open list reaches
    // beyond nothing but the window.
    const QImage general(QString::fromStdString((root / "out" / "settings-general.png").string()));
    const QImage generalDark(QString::fromStdString((root / "out" / "settings-general-dark.png").string()));
    EXPECT_EQ(general.size(), QSize(900, 720));
    EXPECT_GT(general.pixelColor(500, 100).lightness(), 220) << "a light card";
    EXPECT_LT(generalDark.pixelColor(500, 100).lightness(), 90) << "a dark card";
    EXPECT_EQ(index["settings-connection.png"]["window"], Json::array({0, 0, 900, 720}));

    const Json& dropdown = index["settings-connection.png"];
    EXPECT_EQ(dropdown["glass"][1].get<int>(), dropdown["trigger"][1].get<int>() + 28 + 4) << "4 points under the trigger";
    EXPECT_EQ(dropdown["glass"][3].get<int>(), dropdown["rows"].get<int>() * 28 + 8);


    // The toolbar's notice hangs beside the expanded strip, not under it; the strip on the
    // left spans the visible height (its panel is the strip and 6 points of padding).
    const Json& notice = index["toolbar-notice.png"];
    EXPECT_GE(notice["glass"][0].get<int>(), notice["toolbar"][0].get<int>() + notice["toolbar"][2].get<int>());
    EXPECT_EQ(index["toolbar-left.png"]["toolbar"][2].get<int>(), 72 + 12);
    EXPECT_EQ(index["toolbar-collapsed.png"]["toolbar"][2].get<int>(), 52 + 12);

    EXPECT_EQ(folderContents(root / "host"), usersHost);
    fs::remove_all(root);
}

}  // namespace
}  // namespace dorvane
