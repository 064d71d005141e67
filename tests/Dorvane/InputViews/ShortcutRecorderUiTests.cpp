#include <QImage>
#include <QPainter>
#include <QTest>

#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/InputViews/ShortcutRecorder.h"
#include "Dorvane/QtHost/QtPermissionGuide.h"
#include "tests/Dorvane/Input/InputHarness.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

using Caption = ShortcutCapture::Caption;

// The recorder bound to a key the test holds, over the host's event stream in virtual time.
class ShortcutRecorderUiTest : public testing::InputHarness {
protected:
    void SetUp() override {
        InputHarness::SetUp();
        recorder.resize(240, 52);
        recorder.show();
    }

    void click() { QTest::mouseClick(&recorder.field(), Qt::LeftButton); }

    void press(std::string_view combination) {
        testing::pressAtKeyboard(app->events(), combination);
        scheduler.runUntilIdle();
    }

    // What the field draws now, or what it draws for `caption`.
    QImage drawn(std::optional<Caption> caption = std::nullopt) {
        QImage image(recorder.field().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        if (!caption) {
            recorder.field().render(&image, {}, {}, QWidget::RenderFlags());
        } else {
            QPainter painter(&image);
            ShortcutCaptureView::paintField(painter, QRectF(image.rect()), *caption);
        }
        return image;
    }

    QApplication& application = testing::qtApplication();  // before any widget
    qthost::QtPermissionGuideUI guide{app->screens(), app->applicationWorkspace(), app->process().pid,
                                      "/opt/corvelle/bin/corvelle"};
    ShortcutPermissions permissions{{app->accessibility(), app->events(), app->applicationWorkspace(),
                                     app->windowList(), app->screens(), app->urlOpener(), scheduler.mainQueue(),
                                     scheduler, &guide}};
    std::optional<ShortcutKey> bound;
    ShortcutRecorder recorder{{app->events(), scheduler.mainQueue(), permissions},
                              {[this] { return bound; }, [this](const ShortcutKey& key) { bound = key; }}};
};

TEST_F(ShortcutRecorderUiTest, ACombinationPressedAfterTheClickIsBoundAndReachesNoApplication) {
    struct Case {
        const char* name;
        std::function<void()> keys;
        ShortcutKey expected;
    };
    const Case cases[] = {
        {"Command-Shift-K through the stream", [this] { press("cmd+shift+k"); }, {40, 0x120000, "⇧⌘K"}},
        {"Option alone through the stream", [this] { press("opt"); }, {58, 0x80000, "⌥"}},
        {"Control-Space from a keyboard Qt reads",
         [this] { QTest::keyClick(&recorder.field(), Qt::Key_Space, Qt::ControlModifier); }, {49, 0x40000, "⌃空格"}},
        {"Option alone from a keyboard Qt reads",
         [this] {
             QTest::keyPress(&recorder.field(), Qt::Key_Alt, Qt::AltModifier);
             QTest::keyRelease(&recorder.field(), Qt::Key_Alt, Qt::NoModifier);
         },
         {58, 0x80000, "⌥"}},
    };
    for (const auto& c : cases) {
        bound.reset();
        recorder.refresh();
        click();
        ASSERT_TRUE(recorder.field().capture().recording()) << c.name;
        c.keys();
        EXPECT_EQ(bound, c.expected) << c.name;
        EXPECT_FALSE(recorder.field().capture().recording()) << c.name;
        EXPECT_FALSE(recorder.field().hasTap()) << c.name;
        recorder.refresh();
        EXPECT_EQ(drawn(), drawn(Caption{c.expected.label, Caption::Style::label})) << c.name;
    }
    EXPECT_EQ(app->hostEvents().delivered().size(), 0u);  // no key reached an application
}

TEST_F(ShortcutRecorderUiTest, WithoutTrustTheClickOpensTheGuideAndTrustStartsRecording) {
    tool->permissionsAdmin().set(host::Permission::accessibility, false);
    click();
    EXPECT_TRUE(permissions.isGuideOpen());
    EXPECT_FALSE(recorder.field().hasTap());
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(ShortcutPermissions::kGuideInterval);
    EXPECT_TRUE(recorder.field().hasTap());
    EXPECT_EQ(drawn(), drawn(Caption{"请按下快捷键组合…", Caption::Style::recording}));
    press("cmd+1");
    EXPECT_EQ(bound, (ShortcutKey{18, 0x100000, "⌘1"}));
}

TEST_F(ShortcutRecorderUiTest, AFieldThatCannotRecordSaysSoUntilANewKeyComes) {
    refuseNextTap();
    click();
    EXPECT_FALSE(recorder.field().capture().recording());
    const QImage failure = drawn(Caption{"无法录制，请手动选择", Caption::Style::failure});
    EXPECT_EQ(drawn(), failure);
    EXPECT_NE(failure, drawn(Caption{"点击开始录制快捷键…", Caption::Style::prompt}));
    recorder.refresh();  // the editor re-renders with the same (empty) key
    EXPECT_EQ(drawn(), failure);
    bound = ShortcutKey{40, 0x100000, "⌘K"};
    recorder.refresh();
    EXPECT_EQ(drawn(), drawn(Caption{"⌘K", Caption::Style::label}));
}

}  // namespace
}  // namespace dorvane
