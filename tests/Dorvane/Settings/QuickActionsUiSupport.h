#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Settings/OperationCardView.h"
#include "tests/Dorvane/Settings/SettingsUiSupport.h"

namespace dorvane::testing {

using Move = std::pair<std::vector<std::int64_t>, std::int64_t>;

// The quick-actions page over a panel model that stores what it is given the way the
// controller does, and answers as `accepts` says.
class QuickActionsTest : public SettingsViewHarness {
protected:
    void SetUp() override {
        SettingsViewHarness::SetUp();
        ControlPanelModel& model = panel.model;
        model.onMoveOperations = [this](const std::vector<std::int64_t>& offsets, std::int64_t destination) {
            moves.emplace_back(offsets, destination);
            panel.edit([&](Preferences& p) { p.moveOperations(offsets, destination); });
        };
        model.onSaveShortcut = [this](const NamedShortcut& shortcut) {
            saved.push_back(shortcut);
            if (!accepts) return false;
            panel.edit([&](Preferences& p) {
                auto found = std::ranges::find(p.namedShortcuts, shortcut.id, &NamedShortcut::id);
                if (found != p.namedShortcuts.end()) {
                    *found = shortcut;
                } else {
                    p.namedShortcuts.push_back(shortcut);
                }
            });
            return true;
        };
        model.onDeleteShortcut = [this](const std::string& id) {
            panel.calls.push_back("onDeleteShortcut(" + id + ")");
            if (!accepts) return false;
            panel.edit([&](Preferences& p) { std::erase_if(p.namedShortcuts, [&](const auto& s) { return s.id == id; }); });
            return true;
        };
        model.onFloatingActionIcon = [this](FloatingAction action, ShortcutIcon icon) {
            panel.calls.push_back("onFloatingActionIcon(" + std::string(rawValue(action)) + ", " +
                                  std::string(rawValue(icon)) + ")");
            if (!accepts) return false;
            panel.edit([&](Preferences& p) { p.floatingActionIcons[std::string(rawValue(action))] = rawValue(icon); });
            return true;
        };
        model.onSaveApplicationShortcuts = [this](const std::vector<ApplicationShortcuts>& list, bool enabled) {
            applicationSaves.push_back(list);
            if (!accepts) return false;
            panel.edit([&](Preferences& p) {
                p.applicationShortcuts = list;
                p.applicationShortcutsEnabled = enabled;
            });
            return true;
        };
        editors.log = [this](std::string_view line) { logged.emplace_back(line); };
        editors.events = &app->events();
        editors.permissions = tracker.get();
        editors.mainQueue = &scheduler.mainQueue();
    }

    void pressKeys(std::string_view combination) {
        pressAtKeyboard(app->events(), combination);
        scheduler.runUntilIdle();
        settle();
    }

    QuickActionsSettingsPage& page() {
        if (!view) open(false, SettingsPage::floating);
        return shown<QuickActionsSettingsPage>(SettingsPage::floating);
    }

    std::vector<std::string> order() {
        std::vector<std::string> ids;
        for (auto* card : page().shownCards()) ids.push_back(card->card().id);
        return ids;
    }

    template <typename Content>
    Content* sheet(const char* slot) {
        QDialog* dialog = view->sheets().presented(slot);
        if (dialog == nullptr) return nullptr;
        for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* content = dynamic_cast<Content*>(child)) return content;
        }
        return nullptr;
    }

    QWindow* windowHandle() { return view->window()->windowHandle(); }

    bool accepts = true;
    std::vector<Move> moves;
    std::vector<NamedShortcut> saved;
    std::vector<std::vector<ApplicationShortcuts>> applicationSaves;
    std::vector<std::string> logged;
};

}  // namespace dorvane::testing
