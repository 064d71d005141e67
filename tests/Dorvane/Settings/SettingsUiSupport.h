#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/Settings/TrackedSettingsPermissions.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/SheetAlert.h"
#include "Dorvane/Visual/StyledButton.h"
#include "tests/Dorvane/Input/InputHarness.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::testing {

// The panel model as the controller would drive it, with callbacks that record each call
// as "onName(value)" and, while `republish` holds, store the value and publish the settings.
class RecordingPanel {
public:
    RecordingPanel() {
        model.onTheme = [this](AppTheme theme) {
            change("onTheme", rawValue(theme), [theme](Preferences& p) { p.theme = theme; });
        };
        model.onToolbarSide = [this](ToolbarSide side) {
            change("onToolbarSide", rawValue(side), [side](Preferences& p) { p.toolbarSide = side; });
        };
        toggle(model.onToolbarWhenConnectedToggle, "onToolbarWhenConnectedToggle", &Preferences::toolbarWhenConnected);
        toggle(model.onToolbarWhenDisconnectedToggle, "onToolbarWhenDisconnectedToggle",
               &Preferences::toolbarWhenDisconnected);
        toggle(model.onAutoRestoreToggle, "onAutoRestoreToggle", &Preferences::autoRestoreOnDisconnect);
        toggle(model.onAutoFillWindowsToggle, "onAutoFillWindowsToggle", &Preferences::autoFillWindowsOnRemote);
        toggle(model.onAutoShowDockToggle, "onAutoShowDockToggle", &Preferences::autoShowDockOnConnect);
        toggle(model.onUUTouchScrollToggle, "onUUTouchScrollToggle", &Preferences::uuTouchScrollEnabled);
        model.onAutoResolutionToggle = [this](bool on) {
            change("onAutoResolutionToggle", on ? "true" : "false",
                   [on](Preferences& p) { p.setAutomaticResolutionEnabled(on); });
        };
        model.onAutoResolutionPreset = [this](const std::string& id) {
            change("onAutoResolutionPreset", id, [id](Preferences& p) { p.autoResolutionPresetID = id; });
        };
        // Replaces the preset with the same id or appends it, as the controller stores it.
        model.onSaveCustom = [this](const CustomPreset& preset) {
            change("onSaveCustom", preset.id, [preset](Preferences& p) {
                const auto same = std::ranges::find(p.customPresets, preset.id, &CustomPreset::id);
                if (same == p.customPresets.end()) {
                    p.customPresets.push_back(preset);
                } else {
                    *same = preset;
                }
            });
        };
        model.onDeleteCustom = [this](const std::string& id) {
            change("onDeleteCustom", id, [id](Preferences& p) {
                std::erase_if(p.customPresets, [&id](const CustomPreset& preset) { return preset.id == id; });
            });
        };
    }

    void edit(const std::function<void(Preferences&)>& change) {
        Preferences preferences = model.preferences();
        change(preferences);
        model.setPreferences(preferences);
    }

    ControlPanelModel model;
    std::vector<std::string> calls;
    bool republish = true;

private:
    void change(const std::string& name, std::string_view value, const std::function<void(Preferences&)>& apply) {
        calls.push_back(name + "(" + std::string(value) + ")");
        if (republish) edit(apply);
    }
    void toggle(std::function<void(bool)>& callback, const std::string& name, bool Preferences::*field) {
        callback = [this, name, field](bool on) {
            change(name, on ? "true" : "false", [field, on](Preferences& p) { p.*field = on; });
        };
    }
};

// Whether `image` has a pixel of `colour` (within a small distance): the red of a
// destructive title, say, among the antialiased edges of its glyphs.
inline bool showsColour(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor seen = image.pixelColor(x, y);
            if (std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green()) +
                    std::abs(seen.blue() - colour.blue()) <
                24) {
                return true;
            }
        }
    }
    return false;
}

// An alert as the settings window shows it: a child of `owner` hanging from its top edge,
// centred, as wide as alerts are, over the dimming layer, which then covers the whole owner
// and takes a press anywhere but on the alert; its buttons named by `titles` in that order,
// the destructive ones drawn in the destructive colour, and the cancelling one the default.
inline void expectAlertHangsFromWindow(SheetAlert& alert, QWidget& owner, QWidget* dimming, const QStringList& titles) {
    ASSERT_TRUE(alert.isVisible());
    EXPECT_EQ(alert.parentWidget(), &owner);
    const int width = static_cast<int>(DesignTokens::alertWidth);
    EXPECT_EQ(alert.geometry(), QRect((owner.width() - width) / 2, 0, width, alert.sizeHint().height()));
    ASSERT_NE(dimming, nullptr);
    EXPECT_TRUE(dimming->isVisible());
    EXPECT_EQ(dimming->geometry(), owner.rect());
    QWidget* onAlert = owner.childAt(alert.geometry().center());
    EXPECT_TRUE(onAlert == &alert || alert.isAncestorOf(onAlert));
    for (const QPoint beside : {QPoint(4, 4), QPoint(owner.width() - 4, owner.height() - 4),
                                QPoint(owner.width() / 2, alert.geometry().bottom() + 8)}) {
        EXPECT_EQ(owner.childAt(beside), dimming) << beside.x() << "," << beside.y();
    }
    QStringList shown;
    for (QAbstractButton* button : alert.buttons()) {
        shown << button->text();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), button->text());
        const bool destructive = alert.role(button) == SheetAlert::Role::destructive;
        EXPECT_EQ(showsColour(button->grab().toImage(), DesignTokens::Colors::destructive.resolved()), destructive)
            << button->text().toStdString();
    }
    EXPECT_EQ(shown, titles);
    ASSERT_NE(alert.defaultButton(), nullptr);
    EXPECT_EQ(alert.defaultButton()->text(), titles.front());
}

// Where the focus goes over `presses` Tabs typed into `window` as the keyboard types them:
// each widget once, in the order first reached.
inline std::vector<QWidget*> tabStops(QWidget& window, int presses) {
    std::vector<QWidget*> stops;
    for (int press = 0; press < presses; ++press) {
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (focused != nullptr && std::ranges::find(stops, focused) == stops.end()) stops.push_back(focused);
    }
    return stops;
}

// A settings view over a recording panel model, the program's permission tracker on the
// simulated host in virtual time (Accessibility withheld), and login items in a folder of
// the test's own.
class SettingsViewHarness : public host::WindowHostTest {
protected:
    void SetUp() override {
        WindowHostTest::SetUp();
        tool->permissionsAdmin().set(host::Permission::accessibility, false);
        tracker->refresh();
    }
    void TearDown() override {
        view.reset();
        window.reset();
    }

    // The view in a shown 900 × 720 window, as the host shows it.
    SettingsView& open(bool startNew = false, SettingsPage page = SettingsPage::general) {
        view.reset();
        window = std::make_unique<QWidget>();
        view = std::make_unique<SettingsView>(panel.model, startNew, page,
                                              SettingsEnvironment{permissions, loginItems, folder.path(),
                                                                  [this] { return reduceMotion; }, editors},
                                              window.get());
        view->setGeometry(0, 0, 900, 720);
        showActive(*window, QRect(0, 0, 900, 720));
        return *view;
    }

    template <typename Page>
    Page& shown(SettingsPage page) {
        view->setPage(page);
        settle();
        auto* current = dynamic_cast<Page*>(view->currentPage());
        EXPECT_NE(current, nullptr);
        return *current;
    }

    // Typed into the window as the keyboard types: the keys go wherever the focus is.
    void typeIntoWindow(const char* letters) {
        for (const char* letter = letters; *letter != '\0'; ++letter) QTest::keyClick(window->windowHandle(), *letter);
        settle();
    }

    // How the window goes away for a while: ordered out (as for the resolution panel),
    // closed with its close button (which only hides it), or minimised.
    enum class Away { orderedOut, closed, minimised };
    static constexpr Away everyWayAway[] = {Away::orderedOut, Away::closed, Away::minimised};
    static const char* describe(Away away) {
        switch (away) {
            case Away::orderedOut: return "ordered out";
            case Away::closed: return "closed";
            case Away::minimised: return "minimised";
        }
        return "";
    }

    void putWindowAway(Away away) {
        switch (away) {
            case Away::orderedOut: window->hide(); break;
            case Away::closed: window->close(); break;
            case Away::minimised: window->showMinimized(); break;
        }
        settle();
        if (away != Away::minimised) {
            ASSERT_FALSE(window->isVisible());
        }
    }
    // Shown, out of the Dock if it was minimised, and activated again.
    void bringWindowBack() {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->activateWindow();
        settle();
        // The offscreen platform keeps a hidden window its focus window, so showing it again
        // activates nothing anew; a window system hands the activation back.
        if (QApplication::activeWindow() != window.get()) QApplication::setActiveWindow(window.get());
        settle();
    }

    // Lets virtual time pass on the main queue (the tracker's polling).
    void pass(double seconds) {
        scheduler.advanceBy(seconds);
        settle();
    }

    LightAppearance appearance;
    bool reduceMotion = true;  // no page fades unless a test asks for them
    RecordingPanel panel;
    CountingGuideUI guide;
    std::shared_ptr<ShortcutPermissions> tracker = std::make_shared<ShortcutPermissions>(ShortcutPermissions::Services{
        app->accessibility(), app->events(), app->applicationWorkspace(), app->windowList(), app->screens(),
        app->urlOpener(), scheduler.mainQueue(), scheduler, &guide});
    TrackedSettingsPermissions permissions{tracker};
    TemporaryFolder folder{"corvelle-settings"};
    system::XdgAutostartLoginItems loginItems{folder.path() / "autostart", "/opt/corvelle/corvelle"};
    EditorServices editors;  // what the editors read of the host; none by default
    std::unique_ptr<QWidget> window;
    std::unique_ptr<SettingsView> view;
};

}  // namespace dorvane::testing
