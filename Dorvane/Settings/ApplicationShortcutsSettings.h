#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "Dorvane/Editors/EditorParts.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "Platform/Dispatch/Task.h"

class QAbstractButton;
class QLabel;
class QVBoxLayout;

namespace dorvane {

namespace dispatch {
class Executor;
}  // namespace dispatch
namespace workspace {
class InstalledApplications;
}  // namespace workspace

class GlassMenu;
class QtShortcutFlowLayout;
class SettingsView;
class StyledButton;
class ToggleSwitch;

// One application of the per-application lists: its icon and name, the menu with "移除应用",
// the chevron that folds it, and its shortcuts as chips that wrap, then "添加操作". Chips
// are kept by shortcut id and shown or hidden; the card itself is kept by bundle identifier.
// Its menus are glass menus kept inside the host's screen that holds them (`screens`; none:
// the Qt screen).
class ApplicationCardView final : public RoundedFill {
public:
    explicit ApplicationCardView(QWidget* parent = nullptr);
    ~ApplicationCardView() override;

    void render(const ApplicationShortcuts& application, bool collapsed, bool animated, const QString& iconPath);
    const ApplicationShortcuts& application() const { return application_; }
    // The icon file the card shows, or tried to before it drew the lettered square.
    const QString& iconPath() const { return iconPath_; }

    QAbstractButton* menuButton() const { return menuButton_; }
    // "…": "移除应用".
    GlassMenu& menu() const { return *menu_; }
    QAbstractButton* chevron() const;
    QWidget* flow() const { return flow_; }
    StyledButton* chip(const std::string& shortcutID) const;
    // A chip's context menu: "停用" or "启用".
    GlassMenu& chipMenu() const { return *chipMenu_; }
    StyledButton* addShortcutButton() const { return addShortcut_; }
    // The chips shown now, in order.
    std::vector<StyledButton*> shownChips() const;

    std::function<void()> onRemove;
    std::function<void()> onToggleCollapsed;
    std::function<void()> onAddShortcut;
    std::function<void(const std::string& shortcutID)> onEdit;
    std::function<void(const std::string& shortcutID)> onToggleEnabled;

private:
    void showChipMenu(const std::string& shortcutID, QWidget& chip);

    ApplicationShortcuts application_;
    QString iconPath_;
    QLabel* icon_;
    QLabel* name_;
    PlainButton* menuButton_;
    std::unique_ptr<GlassMenu> menu_;
    PlainButton* chevron_;
    QWidget* flow_;
    QtShortcutFlowLayout* flowLayout_;
    std::map<std::string, StyledButton*> chips_;
    std::unique_ptr<GlassMenu> chipMenu_;
    StyledButton* addShortcut_;
};

// "应用快捷操作": the switch for the whole feature, one card per application the user has
// added, and "添加应用". Every change hands the whole new list, with the feature's flag, to
// the panel model's onSaveApplicationShortcuts; a refusal shows the alert "保存失败" /
// "请重试". Its sheets (the application picker, the shortcut editor) and alerts hang off the
// settings window. What it shows is read back from the published settings; only which
// cards are folded, and what its sheets present, are its own.
class ApplicationShortcutsSettings final : public QWidget {
public:
    static constexpr const char* pickerSheet = "application-picker";
    static constexpr const char* editorSheet = "application-shortcut-editor";
    static constexpr const char* removalAlert = "application-removal";
    static constexpr const char* failureAlert = "application-save-failed";

    explicit ApplicationShortcutsSettings(SettingsView& view, QWidget* parent = nullptr);

    void render();
    void presentSheets();
    // The page's view is made anew: every card starts expanded, and where each application
    // lives is looked up again.
    void startOver();

    // The one way a single application's list is written: `group` in place of its bundle
    // identifier's entry, or appended.
    bool saveGroup(const ApplicationShortcuts& group);
    // Opens the editor on a new shortcut of the application, unfolding its card.
    void addShortcut(const ApplicationShortcuts& application);

    ToggleSwitch* featureSwitch() const { return switch_; }
    StyledButton* addApplicationButton() const { return addApplication_; }
    ApplicationCardView* card(const std::string& bundleID) const;
    std::vector<ApplicationCardView*> shownCards() const;
    bool isCollapsed(const std::string& bundleID) const { return collapsed_.contains(bundleID); }
    bool isChoosingApplication() const { return choosingApplication_; }
    const std::optional<std::string>& error() const { return error_; }

private:
    struct EditDraft {
        std::string bundleID;
        NamedShortcut shortcut;
        std::string identity() const { return bundleID + ":" + shortcut.id; }
    };

    void refresh();
    const std::vector<ApplicationShortcuts>& list() const;
    bool save(const std::vector<ApplicationShortcuts>& list, bool enabled);
    std::unique_ptr<QWidget> makeEditor(const EditDraft& draft);
    std::unique_ptr<QWidget> makePicker();
    void remove(const std::string& bundleID);
    void log(std::string_view line) const;
    // Where the application lives: the workspace's location of its bundle identifier, else
    // the path stored with it (also while the lookup is under way).
    std::string applicationLocation(const ApplicationShortcuts& application) const;
    // Looks up, off the main queue, the applications listed whose location is not known yet.
    void lookUpLocations();
    static dispatch::Task<void> lookUp(QPointer<ApplicationShortcutsSettings> settings, std::uint64_t generation,
                                       workspace::InstalledApplications* installed, dispatch::Executor* queue,
                                       std::vector<std::string> identifiers);
    void finishLookUp(std::uint64_t generation, std::map<std::string, std::optional<std::string>> found);

    SettingsView& view_;
    std::set<std::string> collapsed_;
    bool choosingApplication_ = false;
    std::optional<EditDraft> editing_;
    std::optional<std::string> error_;
    std::optional<ApplicationShortcuts> deletingApplication_;
    // The workspace's answer per bundle identifier (none: it knows no such application), and
    // the identifiers asked about; both start over with the page's view.
    std::map<std::string, std::optional<std::string>> locations_;
    std::set<std::string> lookingUp_;
    std::uint64_t lookUpGeneration_ = 0;

    ToggleSwitch* switch_;
    QVBoxLayout* cardsLayout_;
    std::map<std::string, ApplicationCardView*> cards_;
    StyledButton* addApplication_;
};

}  // namespace dorvane
