#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>

#include <cmath>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <QClipboard>
#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QRawFont>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QVBoxLayout>

#include "Dorvane/Visual/ApplicationIcon.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Dorvane/Visual/OverflowEdgeFadeOverlay.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/SymbolLabel.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "Dorvane/Visual/TransientNotice.h"
#include "Dorvane/Visual/VisualAppearance.h"
#include "Dorvane/Visual/WrappedText.h"
#include "DorvaneCore/Core/AppTheme.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/SettingsWindow/SettingsPage.h"
#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"
#include "DorvaneCore/Windows/WindowControl.h"
#include "DorvaneCore/Windows/WindowSnap.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Support/OwnWindowHost.h"
#include "tests/Support/ColourContrast.h"

namespace dorvane {
namespace {

using testing::alphaAt;

class VisualKit : public ::testing::Test {
protected:
    testing::LightAppearance appearance;
};

TEST_F(VisualKit, FontsAreSetInLogicalPixelsInTheTextFamily) {
    // N points are N pixels: a point size of 13 would come out 17 pixels tall at 96 dpi.
    EXPECT_EQ(QFontInfo(DesignTokens::font(13)).pixelSize(), 13);
    EXPECT_EQ(QFontInfo(DesignTokens::font(20, FontWeight::semibold)).pixelSize(), 20);
    const QFont fractional = DesignTokens::font(10.5);
    EXPECT_EQ(fractional.pixelSize(), -1);
    EXPECT_DOUBLE_EQ(fractional.pointSizeF(), 10.5 * 72 / 96);
    EXPECT_EQ(QFontInfo(DesignTokens::font(13)).family(), DesignTokens::textFamily());
    // The measurer the layouts get measures with those fonts.
    const auto measure = DesignTokens::measurer();
    EXPECT_LT(measure("提示", TextFont{12, FontWeight::regular}), measure("提示", TextFont{14, FontWeight::medium}));
    EXPECT_NEAR(measure("提示", TextFont{14, FontWeight::regular}), 28, 2);
}

TEST_F(VisualKit, EveryTextOfTheSharedComponentsHasItsGlyphs) {
    std::vector<std::string> texts = {TransientNotice::panelTitle, "，", "弹出选项", "请选择规格", "切换分辨率",
                                      "自动切换未完成", "当前窗口不能关闭", "保存", "新增规格", "添加操作",
                                      "前往授权", "取消", "设备模板", "添加", "常用快捷操作", "添加应用",
                                      "未找到可操作的窗口", "设置文件未写入", "0123456789 ABCxyz ×"};
    for (const auto& [theme, raw] : EnumCases<AppTheme>::table) texts.emplace_back(title(theme));
    for (const auto& [side, raw] : EnumCases<ToolbarSide>::table) texts.emplace_back(title(side));
    for (const auto& [action, raw] : EnumCases<FloatingAction>::table) texts.emplace_back(title(action));
    for (const auto& row : settingsSidebarRows) texts.emplace_back(row.title);
    for (const auto weight : {FontWeight::regular, FontWeight::medium, FontWeight::semibold}) {
        const QRawFont font = QRawFont::fromFont(DesignTokens::font(13, weight));
        ASSERT_TRUE(font.isValid());
        for (const auto& text : texts) {
            for (const char32_t character : QString::fromStdString(text).toUcs4()) {
                EXPECT_TRUE(font.supportsCharacter(character)) << text << " U+" << std::hex << unsigned(character);
            }
        }
    }
}

// Titles, headings and the selected sidebar row read heavier than body text: each weight
// has a face of its own in the text family.
TEST_F(VisualKit, EachWeightHasAFaceOfItsOwn) {
    std::vector<int> weights;
    for (const auto weight : {FontWeight::regular, FontWeight::medium, FontWeight::semibold}) {
        const QRawFont face = QRawFont::fromFont(DesignTokens::font(DesignTokens::fontBody, weight));
        ASSERT_TRUE(face.isValid());
        EXPECT_EQ(face.familyName(), DesignTokens::textFamily());
        weights.push_back(face.weight());
    }
    EXPECT_LT(weights[0], weights[1]) << "medium has its own face";
    EXPECT_LT(weights[1], weights[2]) << "semibold draws heavier than medium";
}

// "⇧⌘4": the modifier symbols come from the key letter's face, sit on its baseline and are
// about as tall as it.
TEST_F(VisualKit, ModifierSymbolsMatchTheKeyLetter) {
    for (const auto weight : {FontWeight::regular, FontWeight::semibold}) {
        const QString label = QStringLiteral("⇧⌘⌥⌃4K");
        QTextLayout layout(label, DesignTokens::keyFont(26, weight));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const auto runs = layout.glyphRuns();
        ASSERT_EQ(runs.size(), 1) << "one face for the whole label";
        const QRawFont face = runs.front().rawFont();
        const auto glyphs = face.glyphIndexesForString(label);
        ASSERT_EQ(glyphs.size(), label.size());
        const QRectF letter = face.boundingRect(glyphs[4]);
        for (int index : {0, 1, 2}) {
            const QRectF symbol = face.boundingRect(glyphs[index]);
            EXPECT_NEAR(symbol.bottom(), letter.bottom(), 1.5) << index;
            EXPECT_GT(symbol.height(), 0.7 * letter.height()) << index;
            EXPECT_LT(symbol.height(), 1.25 * letter.height()) << index;
        }
    }
}

TEST_F(VisualKit, KeyLabelsDrawEveryModifierAndArrowInTheKeyFace) {
    const QRawFont mono = QRawFont::fromFont(DesignTokens::keyFont(DesignTokens::fontCaption));
    ASSERT_TRUE(mono.isValid());
    for (const char32_t character : QStringLiteral("⌃⌥⇧⌘⌫↩←→↑↓ßFn 0123456789ABCZ").toUcs4()) {
        EXPECT_TRUE(mono.supportsCharacter(character)) << "U+" << std::hex << unsigned(character);
    }
}

TEST_F(VisualKit, EverySymbolNameHasAGlyphInTheSymbolFont) {
    std::set<std::string> names = {"info.circle", "checkmark", "chevron.up.chevron.down", "app", "ellipsis",
                                   std::string(restoreFillSymbol)};
    for (const auto& [icon, raw] : EnumCases<ShortcutIcon>::table) names.emplace(raw);
    for (const auto& [action, raw] : EnumCases<FloatingAction>::table) names.emplace(symbol(action));
    for (const auto& [snap, raw] : EnumCases<windows::WindowSnap>::table) names.emplace(windows::symbol(snap));
    for (const auto& [control, raw] : EnumCases<windows::WindowControl>::table) names.emplace(windows::glyph(control));
    for (const auto& [side, raw] : EnumCases<ToolbarSide>::table) names.emplace(collapseSymbol(side));
    for (const auto& row : settingsSidebarRows) names.emplace(row.symbol);
    ASSERT_GE(names.size(), 174u);

    const QRawFont font = QRawFont::fromFont(Symbols::font(16));
    ASSERT_TRUE(font.isValid());
    ASSERT_EQ(font.familyName(), Symbols::fontFamily());
    for (const auto& name : names) {
        const SymbolGlyph* glyph = Symbols::find(name);
        ASSERT_NE(glyph, nullptr) << name;
        EXPECT_TRUE(font.supportsCharacter(glyph->codePoint)) << name;
    }
    for (const auto& glyph : Symbols::table()) EXPECT_TRUE(font.supportsCharacter(glyph.codePoint)) << glyph.name;
    EXPECT_EQ(Symbols::find("gearshape")->codePoint, 0xe8b8);
    EXPECT_EQ(Symbols::find("checkmark")->codePoint, 0xe5ca);
    EXPECT_EQ(Symbols::find("no.such.symbol"), nullptr);
}

// How many pixels a symbol draws into an empty 24-point square.
int drawnPixels(std::string_view name, const QString& family = Symbols::fontFamily()) {
    QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Symbols::paint(painter, QRectF(0, 0, 24, 24), name, 20, Qt::black, family);
    painter.end();
    int count = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) count += alphaAt(image, x, y) > 0 ? 1 : 0;
    }
    return count;
}

TEST_F(VisualKit, UnknownSymbolsDrawNothingAndAMissingFontGetsAStandIn) {
    EXPECT_GT(drawnPixels("gearshape"), 20);
    EXPECT_EQ(drawnPixels("no.such.symbol"), 0);
    EXPECT_GT(drawnPixels("checkmark", "No Such Symbol Font"), 10);
    EXPECT_GT(drawnPixels("gearshape", "No Such Symbol Font"), 10);
    EXPECT_EQ(drawnPixels("no.such.symbol", "No Such Symbol Font"), 0);
}

// What a toolbar button lays its halo under is where the glyph is drawn, so that no faint
// ghost shows beside it; the minimise dash sits on the centre line like its neighbours.
TEST_F(VisualKit, ASymbolsOutlineLiesUnderItsGlyphAndTheMinimiseDashIsCentred) {
    const QRectF frame(4, 6, 28, 28);
    for (const char* name : {"minus.rectangle", "gearshape", "arrow.up", "checkmark", "arrow.uturn.backward"}) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Symbols::paint(painter, frame, name, 22, Qt::black);
        painter.end();
        QRect ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (alphaAt(image, x, y) > 96) ink |= QRect(x, y, 1, 1);
            }
        }
        ASSERT_FALSE(ink.isEmpty()) << name;
        const QRectF outline = Symbols::outline(frame, name, 22).boundingRect();
        EXPECT_NEAR(outline.center().x(), QRectF(ink).center().x(), 1.0) << name;
        EXPECT_NEAR(outline.center().y(), QRectF(ink).center().y(), 1.0) << name;
        if (std::string_view(name) == "minus.rectangle") {
            EXPECT_NEAR(QRectF(ink).center().y(), frame.center().y(), 1.5) << "the dash on the centre line";
        }
    }
    EXPECT_TRUE(Symbols::outline(frame, "no.such.symbol", 22).isEmpty());
}

// The search style: the glass on the field's middle before the text, the emptying button
// only while there is text, and emptying counts as the user's edit.
TEST_F(VisualKit, ASearchFieldShowsItsGlassAndEmptiesAsAnEdit) {
    TextField field(TextField::Style::search, QStringLiteral("搜索"), QStringLiteral("搜索图标"));
    field.resize(240, 28);
    field.show();
    EXPECT_GE(field.height(), DesignTokens::controlHeight);
    SymbolButton* clear = field.clearButton();
    ASSERT_NE(clear, nullptr);
    const QWidget* glass = nullptr;
    for (QObject* child : field.children()) {
        if (auto* label = dynamic_cast<SymbolLabel*>(child)) glass = label;
    }
    ASSERT_NE(glass, nullptr);
    EXPECT_EQ(glass->geometry().center().y(), field.rect().center().y());
    EXPECT_GE(field.textMargins().left(), glass->geometry().right() - 8) << "the text starts after the glass";
    EXPECT_FALSE(clear->isVisible());
    std::vector<QString> edits;
    QObject::connect(&field, &QLineEdit::textEdited, [&edits](const QString& text) { edits.push_back(text); });
    QTest::keyClicks(&field, QStringLiteral("ab"));
    EXPECT_TRUE(clear->isVisible());
    EXPECT_GT(clear->x(), field.width() / 2);
    clear->click();
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_FALSE(clear->isVisible());
    EXPECT_EQ(edits, (std::vector<QString>{QStringLiteral("a"), QStringLiteral("ab"), QString()}));
    EXPECT_EQ(TextField(TextField::Style::roundedBorder, {}, {}).clearButton(), nullptr);
}

namespace {

// `top` laid over the opaque `under`.
QColor laidOver(const QColor& top, const QColor& under) {
    const double alpha = top.alphaF();
    const auto mix = [alpha](double a, double b) { return a * alpha + b * (1 - alpha); };
    return QColor::fromRgbF(static_cast<float>(mix(top.redF(), under.redF())),
                            static_cast<float>(mix(top.greenF(), under.greenF())),
                            static_cast<float>(mix(top.blueF(), under.blueF())));
}

}  // namespace

// The focus ring stands out of the page around a field and of the field inside it by at
// least 3:1 in both appearances; a focused field draws its edge in it, an unfocused one not.
TEST_F(VisualKit, TheFocusRingStandsOutOfThePageAndOfTheFieldInBothAppearances) {
    constexpr double kVisible = 3;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new TextField(TextField::Style::roundedBorder, QStringLiteral("名称"), QStringLiteral("名称"), &window);
    auto* other = new TextField(TextField::Style::roundedBorder, QStringLiteral("宽度"), QStringLiteral("宽度"), &window);
    layout->addWidget(field);
    layout->addWidget(other);
    testing::showActive(window, QRect(100, 100, 240, 90));
    field->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(field->hasFocus());
    for (const bool dark : {false, true}) {
        const QColor page = DesignTokens::Colors::pageBackground.resolved(dark);
        const QColor inside = laidOver(DesignTokens::Colors::card.resolved(dark), page);
        const QColor ring = DesignTokens::Colors::focusRing.resolved(dark);
        EXPECT_GE(testing::contrastRatio(ring, page), kVisible) << "against the page, dark " << dark;
        EXPECT_GE(testing::contrastRatio(ring, inside), kVisible) << "against the field, dark " << dark;

        VisualAppearance::shared().set(dark, false);
        const auto edgeOf = [](TextField& drawn) { return drawn.grab().toImage().pixelColor(0, drawn.height() / 2); };
        EXPECT_EQ(edgeOf(*field).rgb(), ring.rgb()) << "dark " << dark;
        EXPECT_NE(edgeOf(*other).rgb(), ring.rgb()) << "dark " << dark;
    }
}

// The host's Command key reaches Qt as Meta, which no text field's own keys use: a Command
// combination edits as the platform's keys for the same command do, and never types.
TEST_F(VisualKit, CommandCombinationsEditATextFieldAndNeverTypeTheirLetter) {
    QWidget window;
    auto* field = new TextField(TextField::Style::roundedBorder, QStringLiteral("宽"), QStringLiteral("宽"), &window);
    field->setGeometry(10, 10, 200, 28);
    window.setGeometry(100, 100, 260, 60);
    window.show();
    window.activateWindow();
    field->setFocus();
    field->setText(QStringLiteral("1400"));
    field->setCursorPosition(2);
    testing::OwnWindowHost host;
    host.start();
    host.bringForward(window);
    constexpr std::uint64_t command = modifier::command;
    constexpr std::uint16_t a = 0, b = 11, c = 8, v = 9, x = 7, z = 6;

    host.key(a, command);
    EXPECT_EQ(field->text(), QStringLiteral("1400"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("1400"));
    host.key(c, command);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1400"));
    host.key(x, command);
    EXPECT_EQ(field->text(), QString());
    host.key(v, command);
    host.key(v, command);
    EXPECT_EQ(field->text(), QStringLiteral("14001400"));
    host.key(z, command);
    EXPECT_EQ(field->text(), QStringLiteral("1400"));
    host.key(b, command);
    host.key(a, command | modifier::shift);
    EXPECT_EQ(field->text(), QStringLiteral("1400")) << "no other Command combination types";
    host.key(b);
    EXPECT_EQ(field->text(), QStringLiteral("1400b")) << "the letter alone still types";
    EXPECT_EQ(host.errors.str(), "");
}

// The picture loadApplicationIcon hands over for `path`, once it arrives.
QImage loadedIcon(const QString& path, const QString& name, double size) {
    QObject owner;
    std::optional<QImage> loaded;
    loadApplicationIcon(path, name, size, 1, &owner, [&loaded](const QPixmap& picture) { loaded = picture.toImage(); });
    EXPECT_TRUE(testing::processUntil([&loaded] { return loaded.has_value(); })) << path.toStdString();
    return loaded.value_or(QImage());
}

// A two-colour picture, left half red and right half blue, in a palette of two entries.
QImage paletteIcon(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(220, 0, 0), qRgb(0, 0, 220)});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, x < width / 2 ? 0 : 1);
    }
    return image;
}

TEST_F(VisualKit, ApplicationIconsComeFromTheirFileElseALetteredSquare) {
    QTemporaryDir folder;
    const QString path = folder.filePath("icon.png");
    QImage green(16, 16, QImage::Format_ARGB32);
    green.fill(QColor(0, 200, 0));
    ASSERT_TRUE(green.save(path));
    const QImage fromFile = loadedIcon(path, "终端", 32);
    EXPECT_EQ(fromFile.size(), QSize(32, 32));
    EXPECT_EQ(QColor(fromFile.pixel(16, 16)), QColor(0, 200, 0));

    QFile text(folder.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    for (const QString& missing : {QString(), folder.filePath("none.png"), folder.path(), text.fileName()}) {
        const QImage standIn = loadedIcon(missing, "终端", 64);
        ASSERT_EQ(standIn.size(), QSize(64, 64));
        EXPECT_EQ(alphaAt(standIn, 0, 0), 0) << "rounded corner";
        EXPECT_EQ(QColor(standIn.pixel(4, 32)), applicationIconColor("终端"));
        EXPECT_EQ(applicationIconStandIn("终端", 64).toImage(), standIn);
    }
    EXPECT_EQ(applicationIconColor("Safari"), applicationIconColor("Safari"));
}

// A one-bit palette picture scaled down while it was read came out as a black-and-white
// dither; pictures scaled up were not touched.
TEST_F(VisualKit, APalettePictureKeepsItsColoursWhenScaled) {
    QTemporaryDir folder;
    const QString path = folder.filePath("AppIcon.png");
    ASSERT_TRUE(paletteIcon(256, 256).save(path));
    const QImage shown = loadedIcon(path, "地图", 48);
    ASSERT_EQ(shown.size(), QSize(48, 48));
    for (const int y : {4, 24, 44}) {
        EXPECT_EQ(QColor(shown.pixel(6, y)), QColor(220, 0, 0)) << y;
        EXPECT_EQ(QColor(shown.pixel(42, y)), QColor(0, 0, 220)) << y;
    }
}

// Icon files are named by paths from outside: a named pipe in the picture's place must not
// hold the interface (nor the reading thread), and a file or picture beyond the bounds is
// not read. A read that takes its time is seen from inside: it runs on a thread other than
// the interface's, which goes on meanwhile and gets the picture on its own thread.
TEST_F(VisualKit, OnlyBoundedRegularIconFilesAreReadAndNeverOnTheInterfacesThread) {
    const std::thread::id interfaceThread = std::this_thread::get_id();
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::promise<std::thread::id> reading;
    auto readOn = reading.get_future();
    const auto slowRead = [&reading, released](const QString&, int pixels) {
        reading.set_value(std::this_thread::get_id());
        // Bounded, so that a read on the interface's thread, which the test cannot release
        // from there, fails the test instead of holding it.
        released.wait_for(std::chrono::seconds(10));
        QImage picture(pixels, pixels, QImage::Format_ARGB32);
        picture.fill(QColor(0, 200, 0));
        return picture;
    };
    QObject reader;
    std::optional<std::thread::id> shownOn;
    std::optional<QImage> slow;
    loadApplicationIcon(
        "/bundle/AppIcon.png", "慢", 32, 1, &reader,
        [&](const QPixmap& picture) {
            shownOn = std::this_thread::get_id();
            slow = picture.toImage();
        },
        slowRead);
    EXPECT_TRUE(testing::processUntil(
        [&readOn] { return readOn.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(slow) << "handed over before the read was let go";
    release.set_value();
    ASSERT_TRUE(testing::processUntil([&slow] { return slow.has_value(); }));
    EXPECT_NE(readOn.get(), interfaceThread);
    EXPECT_EQ(shownOn, interfaceThread);
    EXPECT_EQ(QColor(slow->pixel(16, 16)), QColor(0, 200, 0));

    QTemporaryDir folder;
    const QString pipe = folder.filePath("AppIcon.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QObject owner;
    std::optional<QImage> loaded;
    loadApplicationIcon(pipe, "管道", 32, 1, &owner, [&loaded](const QPixmap& picture) { loaded = picture.toImage(); });
    EXPECT_FALSE(loaded) << "handed over later, on the main thread";
    EXPECT_TRUE(testing::processUntil([&loaded] { return loaded.has_value(); }));
    if (!loaded) {
        // Lets the waiting read go, so the test ends.
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) ::close(writer);
    } else {
        EXPECT_EQ(QColor(loaded->pixel(4, 16)), applicationIconColor("管道")) << "the lettered square";
    }

    // Larger than the bound, though a picture: refused unread.
    const QString large = folder.filePath("large.png");
    ASSERT_TRUE(paletteIcon(16, 16).save(large));
    ASSERT_TRUE(QFile::resize(large, static_cast<qint64>(kApplicationIconFileLimit) + 1));
    EXPECT_TRUE(readApplicationIcon(large, 32).isNull());
    ASSERT_TRUE(QFile::resize(large, static_cast<qint64>(kApplicationIconFileLimit)));
    EXPECT_FALSE(readApplicationIcon(large, 32).isNull()) << "at the bound";
    // A small file whose picture is too wide to decode.
    const QString wide = folder.filePath("wide.png");
    ASSERT_TRUE(paletteIcon(kApplicationIconSideLimit + 2, 4).save(wide));
    ASSERT_LT(QFileInfo(wide).size(), 64 * 1024);
    EXPECT_TRUE(readApplicationIcon(wide, 32).isNull());

    // A picture asked for by an owner that went meanwhile is not handed over.
    const QString icon = folder.filePath("icon.png");
    ASSERT_TRUE(paletteIcon(8, 8).save(icon));
    int deliveries = 0;
    {
        QObject gone;
        loadApplicationIcon(icon, "走了", 32, 1, &gone, [&deliveries](const QPixmap&) { ++deliveries; });
    }
    QObject still;
    bool later = false;
    loadApplicationIcon(icon, "还在", 32, 1, &still, [&later](const QPixmap&) { later = true; });
    // The reads run one after another: by the time the later one was handed over, the first
    // one had ended, and anything it queued is delivered now.
    EXPECT_TRUE(testing::processUntil([&later] { return later; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(deliveries, 0);
}

// A glass card alone, 120 × 80, as a grab shows it.
QImage grabbed(NativeGlassView& glass) {
    // As in its panel: nothing behind the glass but what the screen shows.
    glass.setAttribute(Qt::WA_TranslucentBackground);
    glass.resize(120, 80);
    return glass.grab().toImage();
}

TEST_F(VisualKit, AttachedGlassSquaresTheCornersThatMeetTheToolbar) {
    NativeGlassView glass(new QWidget, 14, false, DesignTokens::NS::glassBackdrop);
    const QImage standalone = grabbed(glass);
    for (const QPoint corner : {QPoint(0, 0), QPoint(119, 0), QPoint(0, 79), QPoint(119, 79)}) {
        EXPECT_EQ(alphaAt(standalone, corner.x(), corner.y()), 0);
    }
    EXPECT_GT(alphaAt(standalone, 60, 40), 200);

    glass.attach(ToolbarSide::left, false);
    EXPECT_EQ(glass.innerRadius(), 0);
    const QImage attached = grabbed(glass);
    EXPECT_GT(alphaAt(attached, 0, 0), 200) << "square top-left";
    EXPECT_GT(alphaAt(attached, 0, 79), 200) << "square bottom-left";
    EXPECT_EQ(alphaAt(attached, 119, 0), 0) << "rounded top-right";
    EXPECT_EQ(alphaAt(attached, 119, 79), 0) << "rounded bottom-right";

    // The toolbar's own surface on top keeps three rounded corners.
    glass.attach(ToolbarSide::top, true);
    const QImage toolbar = grabbed(glass);
    EXPECT_GT(alphaAt(toolbar, 0, 79), 200) << "the square one: where the panels beside it start";
    EXPECT_EQ(alphaAt(toolbar, 0, 0), 0);
    EXPECT_EQ(alphaAt(toolbar, 119, 79), 0);
    glass.detach();
    EXPECT_EQ(alphaAt(grabbed(glass), 0, 0), 0);
}

TEST_F(VisualKit, TheHairlineIsOneDevicePixelAndLeavesOutTheTouchingEdge) {
    const AdaptiveColor red{"Corvelle.testRed", QColor(255, 0, 0), QColor(255, 0, 0)};
    NativeGlassView glass(new QWidget, 14);
    glass.attach(ToolbarSide::left, false);
    glass.setHairline(red, ToolbarSide::left);
    QImage image = grabbed(glass);
    auto redness = [&image](int x, int y) { return QColor(image.pixel(x, y)).red() - QColor(image.pixel(x, y)).green(); };
    EXPECT_GT(redness(60, 0), 150) << "top edge";
    EXPECT_GT(redness(119, 40), 150) << "right edge";
    EXPECT_LT(redness(118, 40), 30) << "one pixel wide";
    EXPECT_LT(redness(0, 40), 30) << "no line along the toolbar";
    glass.setHairline(std::nullopt, ToolbarSide::left);
    image = grabbed(glass);
    EXPECT_LT(redness(60, 0), 30);
    EXPECT_FALSE(glass.hairlineOmitted());
}

TEST_F(VisualKit, TheSurfaceFollowsTheAppearance) {
    NativeGlassView glass(new QWidget, 14, false, DesignTokens::NS::glassBackdrop);
    const QColor light = QColor(grabbed(glass).pixel(60, 40));
    VisualAppearance::shared().set(true, false);
    const QColor dark = QColor(grabbed(glass).pixel(60, 40));
    EXPECT_GT(light.lightness(), 200);
    EXPECT_LT(dark.lightness(), 60);
}

// Nothing blurs what lies behind a panel here: the glass is opaque enough that black text
// and white paper behind it come out within a few levels of each other, in both appearances.
TEST_F(VisualKit, TextBehindTheGlassNeverCompetesWithItsContent) {
    NativeGlassView glass(new QWidget, 14, false, DesignTokens::NS::glassBackdrop);
    glass.setAttribute(Qt::WA_TranslucentBackground);
    glass.resize(120, 80);
    const auto over = [&glass](const QColor& behind) {
        QImage image(glass.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(behind);
        glass.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image.pixelColor(60, 40);
    };
    for (const bool dark : {false, true}) {
        VisualAppearance::shared().set(dark, false);
        const QColor onBlack = over(Qt::black);
        const QColor onWhite = over(Qt::white);
        EXPECT_LE(onWhite.red() - onBlack.red(), 8) << "dark " << dark;
        EXPECT_LE(onWhite.green() - onBlack.green(), 8) << "dark " << dark;
        EXPECT_LE(onWhite.blue() - onBlack.blue(), 8) << "dark " << dark;
    }
}

TEST_F(VisualKit, RevealUnfoldsFromTheToolbarEdgeAndOnlyTheLatestEndsIt) {
    NativeGlassView glass(new QWidget, 14);
    glass.resize(120, 80);
    glass.reveal(ToolbarSide::left);
    QPointer<QVariantAnimation> first = glass.revealAnimation();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->duration(), 200);
    EXPECT_EQ(glass.mask().boundingRect(), QRect(0, 0, 1, 80)) << "a strip along the left edge";

    glass.reveal(ToolbarSide::top);
    QPointer<QVariantAnimation> second = glass.revealAnimation();
    ASSERT_TRUE(second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_EQ(glass.mask().boundingRect(), QRect(0, 0, 120, 1));
    testing::settle();
    EXPECT_FALSE(first) << "the replaced unfold is gone and cannot end the new one";
    EXPECT_FALSE(glass.mask().isEmpty());

    second->setCurrentTime(100);
    const QRect halfway = glass.mask().boundingRect();
    EXPECT_GT(halfway.height(), 40) << "eases out: more than half the way at half the time";
    EXPECT_LT(halfway.height(), 80);
    second->setCurrentTime(second->duration());
    EXPECT_TRUE(glass.mask().isEmpty());
    EXPECT_EQ(glass.revealAnimation(), nullptr);
}

TEST_F(VisualKit, RevealUnderReduceMotionShowsEverythingAtOnce) {
    VisualAppearance::shared().set(false, true);
    NativeGlassView glass(new QWidget, 14);
    glass.resize(120, 80);
    glass.reveal(ToolbarSide::right);
    EXPECT_EQ(glass.revealAnimation(), nullptr);
    EXPECT_TRUE(glass.mask().isEmpty());
}

TEST_F(VisualKit, APanelsShadowLiesUnderItAndFollowsIt) {
    GlassPanel panel("分辨率", 3, GlassPanel::Input::clickable);
    panel.setGlass(new NativeGlassView(new QWidget, 14));
    panel.setShadow(DesignTokens::panelShadow);
    panel.setGlassFrame(QRect(100, 100, 120, 80));
    panel.present();
    QWidget* shadow = panel.shadowWindow();
    ASSERT_NE(shadow, nullptr);
    const int margin = DesignTokens::panelShadow.margin;
    EXPECT_EQ(panel.geometry(), QRect(100, 100, 120, 80)) << "the panel is exactly the glass";
    EXPECT_EQ(shadow->geometry(), QRect(100 - margin, 100 - margin, 120 + 2 * margin, 80 + 2 * margin));
    const QImage image = shadow->grab().toImage();
    EXPECT_EQ(alphaAt(image, 0, 0), 0) << "the blur fades out within the margin";
    EXPECT_GT(alphaAt(image, margin + 60, margin + 80 + 2), 0) << "under the card";
    EXPECT_LT(alphaAt(image, margin + 60, margin + 80 + 2), 120);
    panel.setGlassFrame(QRect(300, 200, 120, 80));
    EXPECT_EQ(shadow->geometry().topLeft(), QPoint(300 - margin, 200 - margin));
    panel.hide();
    EXPECT_FALSE(shadow->isVisible());
    panel.setShadow(std::nullopt);
    EXPECT_EQ(panel.shadowWindow(), nullptr);
}

TEST_F(VisualKit, SwitchesAndPickersAskTheirOwnerAndShowOnlyWhatTheyAreGiven) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* toggle = new ToggleSwitch("开机启动");
    auto* picker = new SegmentedPicker("主题", {"跟随系统", "浅色", "深色"});
    picker->setFixedWidth(240);
    layout->addWidget(toggle);
    layout->addWidget(picker);
    std::vector<bool> asked;
    std::vector<int> chosen;
    toggle->onChange = [&asked](bool on) { asked.push_back(on); };
    picker->onSelect = [&chosen](int index) { chosen.push_back(index); };
    picker->setSelectedIndex(0);
    testing::showActive(window, QRect(40, 40, 300, 120));

    testing::click(*toggle);
    testing::click(*picker->segment(2));
    EXPECT_EQ(asked, std::vector<bool>{true});
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_FALSE(toggle->isOn()) << "moves only when the owner republishes";
    EXPECT_EQ(picker->selectedIndex(), 0);

    toggle->setOn(true);
    testing::click(*toggle);
    EXPECT_EQ(asked, (std::vector<bool>{true, false}));

    // Assistive technology reads the switch as checkable and checked and the chosen
    // segment as selected (states, not words), and presses both as a click would.
    QAccessibleInterface* accessibleToggle = QAccessible::queryAccessibleInterface(toggle);
    EXPECT_EQ(accessibleToggle->role(), QAccessible::CheckBox);
    EXPECT_TRUE(accessibleToggle->state().checkable);
    EXPECT_TRUE(accessibleToggle->state().checked);
    toggle->setOn(false);
    EXPECT_FALSE(accessibleToggle->state().checked);
    accessibleToggle->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(asked, (std::vector<bool>{true, false, true}));
    for (int index = 0; index < picker->segmentCount(); ++index) {
        const QAccessible::State state = QAccessible::queryAccessibleInterface(picker->segment(index))->state();
        EXPECT_TRUE(state.selectable);
        EXPECT_EQ(static_cast<bool>(state.selected), index == 0) << index;
        EXPECT_TRUE(picker->segment(index)->accessibleDescription().isEmpty());
    }
    QAccessible::queryAccessibleInterface(picker->segment(1))->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(chosen, (std::vector<int>{2, 1}));

    picker->setSelectedIndex(7);
    EXPECT_EQ(picker->selectedIndex(), std::nullopt);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(picker->segment(0))->state().selected);
}

TEST_F(VisualKit, EdgesFadeOnlyWhileContentLiesBeyondThem) {
    QScrollArea area;
    auto* content = new QWidget;
    content->setMinimumHeight(600);
    area.setWidget(content);
    area.setWidgetResizable(true);
    area.resize(200, 200);
    auto* fade = OverflowEdgeFadeOverlay::install(&area, DesignTokens::Colors::pageBackground);
    area.show();
    testing::settle();
    QScrollBar* bar = area.verticalScrollBar();
    EXPECT_EQ(fade->fade(), (OverflowEdgeFade{false, true}));
    EXPECT_EQ(fade->geometry(), area.viewport()->rect());
    bar->setValue(bar->maximum() / 2);
    EXPECT_EQ(fade->fade(), (OverflowEdgeFade{true, true}));
    bar->setValue(bar->maximum());
    EXPECT_EQ(fade->fade(), (OverflowEdgeFade{true, false}));
    const QImage overlay = fade->grab().toImage();
    EXPECT_GT(alphaAt(overlay, 100, 0), 200) << "solid at the edge";
    EXPECT_EQ(alphaAt(overlay, 100, 100), 0) << "clear in the middle";
    content->setMinimumHeight(100);
    testing::settle();
    EXPECT_EQ(fade->fade(), (OverflowEdgeFade{false, false}));
}

// Lines end at spaces and beside "·" before they end inside a run of Han characters, which
// they do only where nothing else fits; a word wider than the line stands alone; the last
// line allowed holds the rest, cut with an ellipsis.
TEST_F(VisualKit, WrappedLinesKeepWordsWholeWhereTheyCan) {
    const QFont font = DesignTokens::font(DesignTokens::fontBody, FontWeight::medium);
    const QFontMetricsF metrics(font);
    const auto width = [&metrics](const QString& text) { return metrics.horizontalAdvance(text) + 0.5; };
    const QString title = QStringLiteral("iPhone 17 Pro Max · 横屏");
    // Room for all but the last character: the break goes before "横屏", not inside it.
    EXPECT_EQ(wrappedLines(title, font, width(QStringLiteral("iPhone 17 Pro Max · 横")), 3),
              (QStringList{QStringLiteral("iPhone 17 Pro Max ·"), QStringLiteral("横屏")}));
    EXPECT_EQ(wrappedLines(title, font, width(QStringLiteral("iPhone 17 Pro")), 3),
              (QStringList{QStringLiteral("iPhone 17 Pro"), QStringLiteral("Max · 横屏")}));
    EXPECT_EQ(wrappedLines(title, font, width(title), 3), QStringList{title});
    // Between a Latin word and a Han one is a break between words.
    EXPECT_EQ(wrappedLines(QStringLiteral("iPad横屏模式"), font, width(QStringLiteral("iPad横屏模")), 3),
              (QStringList{QStringLiteral("iPad"), QStringLiteral("横屏模式")}));
    // Nothing else fits: the Han run breaks where the line is full.
    EXPECT_EQ(wrappedLines(QStringLiteral("书房显示器横屏"), font, width(QStringLiteral("书房显示")), 3),
              (QStringList{QStringLiteral("书房显示"), QStringLiteral("器横屏")}));
    EXPECT_EQ(wrappedLines(QStringLiteral("Supercalifragilistic 屏"), font, width(QStringLiteral("Super")), 3),
              (QStringList{QStringLiteral("Supercalifragilistic"), QStringLiteral("屏")}));
    const QStringList cut = wrappedLines(QStringLiteral("一二三四五六七八九十"), font, width(QStringLiteral("一二三")), 2);
    ASSERT_EQ(cut.size(), 2);
    EXPECT_EQ(cut.front(), QStringLiteral("一二三"));
    EXPECT_TRUE(cut.back().endsWith(QChar(0x2026)));
    EXPECT_EQ(wrappedLines(QString(), font, 100, 2), QStringList{QString()});
    EXPECT_TRUE(wrappedLines(title, font, 100, 0).isEmpty());
}

}  // namespace
}  // namespace dorvane
