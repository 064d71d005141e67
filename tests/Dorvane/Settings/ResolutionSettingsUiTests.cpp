#include <gtest/gtest.h>

#include <QScrollBar>

#include <QScrollArea>

#include <fstream>

#include <QAccessible>
#include <QInputMethodEvent>

#include "Dorvane/Visual/OverlayScrollBar.h"
#include "Dorvane/Visual/NumberStepper.h"
#include "Dorvane/Settings/DeviceTemplatesView.h"
#include "Dorvane/Settings/ResolutionPresetRow.h"
#include "Dorvane/Settings/ResolutionSettingsPage.h"
#include "Dorvane/Settings/SpecEditor.h"
#include "Dorvane/Settings/TemplateRow.h"
#include "Dorvane/Visual/DropdownMenuView.h"
#include "Dorvane/Visual/GlassPanel.h"
#include "Dorvane/Visual/ScreenGlyph.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "tests/Dorvane/Settings/SettingsUiSupport.h"
#include "tests/DorvaneCore/ResolutionModels/SmallTemplateCatalog.h"

namespace dorvane {
namespace {

using testing::click;
using testing::settle;
using Calls = std::vector<std::string>;

class ResolutionPageTest : public testing::SettingsViewHarness {
protected:
    ResolutionSettingsPage& page() {
        if (!view) open(false, SettingsPage::resolution);
        return shown<ResolutionSettingsPage>(SettingsPage::resolution);
    }
    SpecEditor* editor() {
        QDialog* sheet = view->sheets().presented(SettingsView::draftSheet);
        return sheet ? sheet->findChild<SpecEditor*>() : nullptr;
    }
    // Types into a field as a person does, replacing what it held: Chinese arrives
    // committed by the input method.
    static void retype(TextField& field, const QString& text) {
        field.selectAll();
        QTest::keyClick(&field, Qt::Key_Backspace);
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QCoreApplication::sendEvent(&field, &typed);
    }
};

TEST_F(ResolutionPageTest, RowsReadTheirPresetAndTheActiveMarkFollowsTheModel) {
    panel.edit([](Preferences& p) {
        p.customPresets = {{"hd", "高清", 1920, 1080, 150}, {"blank", "  ", 1294, 720, 100}};
    });
    ResolutionSettingsPage& resolution = page();
    ASSERT_EQ(resolution.rows().size(), 2u);
    ResolutionPresetRow* hd = resolution.row("hd");
    EXPECT_EQ(hd->size()->text(), QStringLiteral("1920 × 1080 · 150%"));
    EXPECT_EQ(hd->glyph()->values().dimensions, (Dimensions{1280, 720}));
    ResolutionPresetRow* blank = resolution.row("blank");
    EXPECT_EQ(blank->title()->text(), QStringLiteral("规格"));
    EXPECT_EQ(blank->size()->text(), QStringLiteral("1294 × 720"));
    EXPECT_EQ(resolution.detailBanner(), nullptr);

    // Which row is active is the page model's rule; the rows follow each publication.
    struct Case {
        std::optional<std::string> selected;
        std::optional<Dimensions> applied;
        const char* active;  // the row marked, none when empty
    };
    for (const auto& [selected, applied, active] : std::vector<Case>{
             {"hd", Dimensions{1280, 720}, "hd"}, {"blank", Dimensions{1294, 720}, "blank"}, {"hd", std::nullopt, ""}}) {
        panel.edit([&selected](Preferences& p) { p.selectedCustomID = selected; });
        panel.model.setApplied(applied);
        settle();
        for (ResolutionPresetRow* row : resolution.rows()) {
            const bool marked = row->row().preset.id == active;
            // The mark is the selected state itself, not a description that reads as one.
            const QAccessible::State state = QAccessible::queryAccessibleInterface(row)->state();
            EXPECT_TRUE(state.selectable) << row->row().preset.id;
            EXPECT_EQ(state.selected, marked) << row->row().preset.id;
            EXPECT_TRUE(row->accessibleDescription().isEmpty());
            EXPECT_EQ(row->glyph()->values().selected, marked);
        }
    }
    EXPECT_EQ(resolution.row("hd"), hd) << "rows are kept across republishes";

    // The bin only asks, under the title.
    click(*blank->deleteButton());
    auto* alert = qobject_cast<SheetAlert*>(view->sheets().presented(SettingsView::deletionAlert));
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text(), QStringLiteral("删除「规格」？"));
    EXPECT_TRUE(panel.calls.empty());

    panel.model.setDetail("虚拟显示器已启用");
    settle();
    ASSERT_NE(resolution.detailText(), nullptr);
    EXPECT_EQ(resolution.detailText()->text(), QStringLiteral("虚拟显示器已启用"));
    EXPECT_TRUE(resolution.detailText()->textInteractionFlags() & Qt::TextSelectableByMouse);
    panel.model.setDetail(std::nullopt);
    panel.edit([](Preferences& p) { p.customPresets.clear(); });
    settle();
    EXPECT_EQ(resolution.detailBanner(), nullptr);
    EXPECT_FALSE(resolution.listCard()->isVisible());
}

TEST_F(ResolutionPageTest, TheEditorShowsItsMessageUntilAValidReturnSavesOnce) {
    panel.edit([](Preferences& p) { p.customPresets = {{"blank", "  ", 1294, 720, 100}}; });
    ResolutionSettingsPage& resolution = page();
    click(*resolution.row("blank")->editButton());
    SpecEditor* shown = editor();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->nameField()->text(), QStringLiteral("  ")) << "the stored name, not the title";
    EXPECT_NE(shown->saveAsButton(), nullptr);

    retype(*shown->widthField(), QStringLiteral("12 80"));
    QTest::keyClick(shown->widthField(), Qt::Key_Return);
    settle();
    ASSERT_EQ(editor(), shown);
    EXPECT_TRUE(shown->errorRow()->isVisible());
    EXPECT_EQ(shown->errorText()->text(), QStringLiteral("请输入整数宽度和高度。"));
    EXPECT_TRUE(panel.calls.empty());

    retype(*shown->widthField(), QStringLiteral(" 1280\t"));
    retype(*shown->nameField(), QStringLiteral("办公"));
    QTest::keyClick(shown->nameField(), Qt::Key_Return);
    settle();
    EXPECT_EQ(panel.calls, Calls{"onSaveCustom(blank)"});
    EXPECT_EQ(panel.model.preferences().customPresets, (std::vector<CustomPreset>{{"blank", "办公", 1280, 720, 100}}));
    EXPECT_FALSE(view->state().draft);
    EXPECT_EQ(view->sheets().presented(SettingsView::draftSheet), nullptr);

    // Escape on a new one closes it without a call.
    click(*resolution.newPresetButton());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->saveAsButton(), nullptr);
    QTest::keyClick(editor()->widthField(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(panel.calls.size(), 1u);
}

TEST_F(ResolutionPageTest, SaveAsNewKeepsTheOriginalAndTheStepperStaysWithinItsRange) {
    panel.edit([](Preferences& p) { p.customPresets = {{"hd", "高清", 1920, 1080, 150}}; });
    click(*page().row("hd")->editButton());
    SpecEditor* shown = editor();
    ASSERT_NE(shown, nullptr);
    // The stepper is a field of the controls' height, its buttons as tall as it.
    EXPECT_EQ(shown->scaleStepper()->value(), QStringLiteral("150%"));
    EXPECT_GE(shown->scaleStepper()->height(), DesignTokens::controlHeight);
    EXPECT_GE(shown->scaleUp()->height(), DesignTokens::controlHeight);
    EXPECT_TRUE(shown->scaleStepper()->isAncestorOf(shown->scaleUp()));
    for (int step = 0; step < 8; ++step) click(*shown->scaleUp());
    EXPECT_FALSE(shown->scaleUp()->isEnabled());
    EXPECT_EQ(shown->scaleStepper()->value(), QStringLiteral("200%"));
    EXPECT_EQ(shown->scaleStepper()->accessibleName(), QStringLiteral("显示大小：200%"));
    for (int step = 0; step < 10; ++step) click(*shown->scaleDown());
    retype(*shown->nameField(), QStringLiteral("高清副本"));
    click(*shown->saveAsButton());
    const auto& presets = panel.model.preferences().customPresets;
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0], (CustomPreset{"hd", "高清", 1920, 1080, 150}));
    EXPECT_NE(presets[1].id, "hd");
    EXPECT_EQ(presets[1].name, "高清副本");
    EXPECT_EQ(presets[1].scalePercent, 100);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(page().rows().size(), 2u);
}

// "新增规格" with a name, a width and a height typed and part of the width selected: the
// window ordered out, closed or minimised and shown again shows the same sheet as it was
// left, the typing going on where it stopped; Tab goes round the three fields only.
TEST_F(ResolutionPageTest, ANewSpecificationKeepsWhatWasTypedWhileTheWindowIsAway) {
    click(*page().newPresetButton());
    SpecEditor* shown = editor();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->nameField()->hasFocus()) << "the first field has the focus";
    retype(*shown->nameField(), QStringLiteral("ab"));
    retype(*shown->widthField(), QStringLiteral("1600"));
    retype(*shown->heightField(), QStringLiteral("900"));
    shown->widthField()->setFocus(Qt::MouseFocusReason);
    shown->widthField()->setSelection(1, 1);
    for (const Away away : everyWayAway) {
        putWindowAway(away);
        bringWindowBack();
        ASSERT_EQ(editor(), shown) << describe(away);
        EXPECT_EQ(shown->nameField()->text(), QStringLiteral("ab"));
        EXPECT_EQ(shown->widthField()->text(), QStringLiteral("1600"));
        EXPECT_EQ(shown->heightField()->text(), QStringLiteral("900"));
        EXPECT_TRUE(shown->widthField()->hasFocus());
        EXPECT_EQ(shown->widthField()->selectedText(), QStringLiteral("6"));
    }
    typeIntoWindow("7");
    EXPECT_EQ(shown->widthField()->text(), QStringLiteral("1700"));
    EXPECT_EQ(testing::tabStops(*window, 5),
              (std::vector<QWidget*>{shown->heightField(), shown->nameField(), shown->widthField()}));
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    settle();
    ASSERT_EQ(panel.calls.size(), 1u);
    const CustomPreset& saved = panel.model.preferences().customPresets.back();
    EXPECT_EQ(saved.name, "ab");
    EXPECT_EQ(saved.width, 1700);
    EXPECT_EQ(saved.height, 900);
}

class DeviceTemplatesTest : public ResolutionPageTest {
protected:
    void writeOverride(const std::string& text) {
        std::ofstream(folder.path() / std::string(DeviceTemplateCatalog::fileName)) << text;
    }
    DeviceTemplatesView* browser() {
        click(*page().templatesButton());
        QDialog* sheet = view->sheets().presented(ResolutionSettingsPage::deviceTemplatesSheet);
        return sheet ? sheet->findChild<DeviceTemplatesView*>() : nullptr;
    }
    static QStringList shownTitles(const DeviceTemplatesView& templates) {
        QStringList titles;
        for (const auto* entry : templates.browser().entries()) titles << QString::fromStdString(entry->title());
        EXPECT_EQ(templates.shownRows().size(), static_cast<std::size_t>(titles.size()));
        return titles;
    }
    static QStringList brandNames(const DeviceTemplatesView& templates) {
        QStringList names;
        for (const auto& item : templates.brandPicker()->items()) names << QString::fromStdString(item.title);
        return names;
    }
    static void chooseBrand(DeviceTemplatesView& templates, int row) {
        auto* dropdown = templates.brandPicker();
        click(*dropdown);
        const DropdownMenuView* menu = dropdown->controller().popup().menu();
        ASSERT_NE(menu, nullptr);
        GlassPanel* list = dropdown->controller().popup().panel();
        testing::clickAt(*list, menu->mapTo(list, menu->rowRect(row).center()));
    }
    static const DeviceTemplateCatalog::Entry* entryTitled(DeviceTemplatesView& templates, const std::string& title) {
        for (const auto* entry : templates.browser().entries())
            if (entry->title() == title) return entry;
        return nullptr;
    }
    static TemplateRow* rowTitled(DeviceTemplatesView& templates, const std::string& title) {
        const auto* entry = entryTitled(templates, title);
        return entry ? templates.row(entry->id) : nullptr;
    }
};

// The list's thin scroll bar is there only while the rows do not fit, shows while they
// scroll, and a new filter shows its rows from the first with the thumb at the top.
TEST_F(DeviceTemplatesTest, TheScrollBarFollowsTheListAfterFiltering) {
    DeviceTemplatesView* templates = browser();
    ASSERT_NE(templates, nullptr);
    settle();
    QScrollArea* list = templates->listArea();
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the full catalog does not fit";
    OverlayScrollBar* overlay = OverlayScrollBar::of(list);
    ASSERT_NE(overlay, nullptr);
    EXPECT_FALSE(bar->isVisible()) << "no stock bar with arrows";
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_LE(overlay->width(), DesignTokens::scrollBarWidth);
    EXPECT_EQ(overlay->geometry().right(), list->viewport()->geometry().right()) << "over the content, not beside it";
    EXPECT_FALSE(overlay->isShowing()) << "at rest until something scrolls";

    bar->setValue(bar->maximum());
    EXPECT_TRUE(overlay->isShowing());
    const ScrollThumb bottom = overlay->thumb();
    EXPECT_NEAR(bottom.offset + bottom.length, overlay->height() - 2 * DesignTokens::scrollBarInset, 1);

    click(*templates->categoryPicker()->segment(1));
    settle();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(list->widget()->y(), 0) << "the list shows its first rows";
    EXPECT_EQ(overlay->thumb().offset, 0) << "and the thumb says so";

    bar->setValue(bar->maximum());
    QTest::keyClicks(templates->searchField(), QStringLiteral("galaxys24ultra"));
    settle();
    EXPECT_EQ(list->widget()->y(), 0);
    EXPECT_FALSE(overlay->isVisible()) << "nothing left to scroll";
}

TEST_F(DeviceTemplatesTest, FiltersSearchAndRowStatesFollowTheModel) {
    panel.edit([](Preferences& p) { p.customPresets.clear(); });
    writeOverride(testing::smallTemplateCatalog());
    DeviceTemplatesView* templates = browser();
    ASSERT_NE(templates, nullptr);
    EXPECT_EQ(shownTitles(*templates), (QStringList{"Galaxy S24", "iPhone 15", "iPad Air", "Tab P12"}));
    EXPECT_EQ(templates->categoryPicker()->segmentCount(), 3);
    EXPECT_EQ(brandNames(*templates), (QStringList{"全部品牌", "三星", "Apple", "联想"}));

    chooseBrand(*templates, 2);  // Apple
    EXPECT_EQ(shownTitles(*templates), (QStringList{"iPhone 15", "iPad Air"}));
    click(*templates->categoryPicker()->segment(2));  // 平板
    EXPECT_EQ(templates->brandPicker()->selection(), std::optional<std::string>(""));
    EXPECT_EQ(shownTitles(*templates), (QStringList{"iPad Air", "Tab P12"}));
    click(*templates->categoryPicker()->segment(0));

    const std::size_t made = templates->madeRowCount();
    QTest::keyClicks(templates->searchField(), QStringLiteral("galaxys24"));
    EXPECT_EQ(shownTitles(*templates), QStringList{"Galaxy S24"});
    EXPECT_EQ(templates->madeRowCount(), made) << "filtering reuses the rows";
    EXPECT_TRUE(templates->clearButton()->isVisible());
    QTest::keyClicks(templates->searchField(), QStringLiteral("x"));
    EXPECT_TRUE(templates->emptyMessage()->isVisible());
    click(*templates->clearButton());
    EXPECT_EQ(shownTitles(*templates).size(), 4);

    // "添加" saves and the sheet stays; a hand-made preset of equal size counts as added.
    TemplateRow* galaxy = rowTitled(*templates, "Galaxy S24");
    ASSERT_NE(galaxy, nullptr);
    click(*galaxy->addButton());
    ASSERT_EQ(panel.calls.size(), 1u);
    EXPECT_TRUE(panel.calls[0].starts_with("onSaveCustom(template:catalog:"));
    EXPECT_EQ(galaxy->statusText(), QStringLiteral("已添加"));
    EXPECT_NE(view->sheets().presented(ResolutionSettingsPage::deviceTemplatesSheet), nullptr);
    const auto* air = entryTitled(*templates, "iPad Air");
    ASSERT_NE(air, nullptr);
    panel.edit([air](Preferences& p) {
        p.customPresets.push_back({"mine", "我的", air->logicalWidth(), air->logicalHeight(), 200});
    });
    settle();
    EXPECT_EQ(rowTitled(*templates, "iPad Air")->statusText(), QStringLiteral("已添加"));
    const std::string galaxyID = panel.model.preferences().customPresets.front().id;
    panel.edit([&galaxyID](Preferences& p) { p.selectedCustomID = galaxyID; });
    const Dimensions galaxySize = panel.model.preferences().customPresets.front().dimensions(DisplaySize::standard);
    panel.model.setApplied(galaxySize);
    settle();
    EXPECT_EQ(galaxy->statusText(), QStringLiteral("使用中"));
    panel.model.setApplied(Dimensions{galaxySize.width + 10, galaxySize.height});
    settle();
    EXPECT_EQ(galaxy->statusText(), QStringLiteral("已添加"));
}

// The list keeps its filter and its place while the window is away. A click on a row's
// "添加" leaves the typing in the search field, the one place Tab stops: the list, which
// would show no mark, takes no focus and no key.
TEST_F(DeviceTemplatesTest, TheListKeepsItsPlaceAndTheTypingStaysInTheSearch) {
    panel.edit([](Preferences& p) { p.customPresets.clear(); });
    DeviceTemplatesView* templates = browser();
    ASSERT_NE(templates, nullptr);
    settle();
    EXPECT_TRUE(templates->searchField()->hasFocus()) << "the first field has the focus";
    click(*templates->categoryPicker()->segment(1));
    QScrollBar* bar = templates->listArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum() / 2);
    const int place = bar->value();
    const std::size_t listed = templates->shownRows().size();
    for (const Away away : everyWayAway) {
        putWindowAway(away);
        bringWindowBack();
        ASSERT_EQ(view->sheets().presented(ResolutionSettingsPage::deviceTemplatesSheet)->findChild<DeviceTemplatesView*>(),
                  templates);
        EXPECT_EQ(templates->categoryPicker()->selectedIndex(), 1);
        EXPECT_EQ(templates->shownRows().size(), listed);
        EXPECT_EQ(bar->value(), place) << describe(away);
    }

    TemplateRow* row = templates->shownRows().front();
    bar->setValue(0);
    ASSERT_TRUE(row->addButton()->isVisible());
    click(*row->addButton());
    EXPECT_EQ(panel.calls.size(), 1u);
    EXPECT_TRUE(templates->searchField()->hasFocus());
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_Down}) QTest::keyClick(window->windowHandle(), key);
    EXPECT_EQ(bar->value(), 0) << "no key scrolls the list unseen";
    typeIntoWindow("ipad");
    EXPECT_EQ(templates->searchField()->text(), QStringLiteral("ipad"));
    EXPECT_EQ(testing::tabStops(*window, 3), std::vector<QWidget*>{templates->searchField()});
}

TEST_F(DeviceTemplatesTest, ABrokenOverrideShowsOnlyTheMessageAndAMissingOneFallsBack) {
    writeOverride("{\"schemaVersion\": 1, \"categories\": [");
    DeviceTemplatesView* broken = browser();
    ASSERT_NE(broken, nullptr);
    EXPECT_TRUE(broken->shownRows().empty());
    EXPECT_EQ(broken->emptyMessage()->text(), QStringLiteral("无法读取设备模板"));
    click(*broken->closeButton());
    EXPECT_FALSE(view->state().showingDeviceTemplates);

    std::filesystem::remove(folder.path() / std::string(DeviceTemplateCatalog::fileName));
    DeviceTemplatesView* bundled = browser();
    ASSERT_NE(bundled, nullptr);
    EXPECT_EQ(bundled->browser().entries().size(), DeviceTemplateCatalog::bundled().entries().size());
    EXPECT_FALSE(bundled->emptyMessage()->isVisible());
}

}  // namespace
}  // namespace dorvane
