#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <QPointer>
#include <QWidget>

#include "DorvaneCore/QuickActions/RecommendedPresets.h"

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QScrollArea;

namespace dorvane {

class ControlPanelModel;
class RoundedFill;
class SettingsPermissions;
class StyledButton;
class TokenLabel;

// The sheet "常用快捷操作": the shortcut-preset catalog, read each time the sheet is made,
// one row per preset marked "已添加" once the user has a shortcut of its name, and buttons
// adding one or all of the missing ones. Adding needs the Accessibility permission;
// without it the guide opens and the presets are added once it is granted, also when the
// sheet has closed meanwhile.
class RecommendedPresetsView final : public QWidget {
public:
    RecommendedPresetsView(ControlPanelModel& model, SettingsPermissions& permissions,
                           const std::filesystem::path& supportFolder, std::function<void()> close,
                           QWidget* parent = nullptr);

    // Shows which presets are added, from the model's settings.
    void render();

    const RecommendedPresets& catalog() const { return catalog_; }
    QAbstractButton* addButton(const std::string& presetID) const;
    QWidget* addedMark(const std::string& presetID) const;
    QLabel* keyLabel(const std::string& presetID) const;
    QAbstractButton* addAllButton() const;
    QAbstractButton* doneButton() const;
    QAbstractButton* closeButton() const;
    QLabel* emptyLabel() const;

private:
    struct Row {
        RoundedFill* row;
        TokenLabel* key;
        QWidget* added;
        StyledButton* add;
    };

    // The construction's steps, top to bottom.
    QHBoxLayout* makeHeader();
    QScrollArea* makeList();
    Row makeRow(const NamedShortcut& preset, QWidget* list);
    QHBoxLayout* makeFooter();
    void wire();
    void add(const std::vector<NamedShortcut>& presets);

    ControlPanelModel& model_;
    SettingsPermissions& permissions_;
    std::function<void()> close_;
    RecommendedPresets catalog_;
    std::map<std::string, Row> rows_;
    TokenLabel* empty_;
    StyledButton* addAll_;
    StyledButton* done_;
    QAbstractButton* closeButton_;
};

}  // namespace dorvane
