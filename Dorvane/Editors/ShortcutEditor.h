#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QAbstractButton>
#include <QBoxLayout>
#include <QPointer>
#include <QWidget>

#include "Dorvane/Editors/EditorServices.h"
#include "Dorvane/Visual/GlassDropdown.h"
#include "DorvaneCore/Editors/ShortcutEditorModel.h"

class QLabel;
class QLineEdit;
class QScrollArea;

namespace dorvane {

class RoundedFill;
class SheetAlert;
class IconPickerView;
class PlainButton;
class SegmentedPicker;
class ShortcutRecorder;
class StyledButton;
class SymbolLabel;
class TokenLabel;

// One modifier keycap of the manual configuration: its symbol and name, in the accent
// colours while the key holds the modifier.
class KeycapButton final : public QAbstractButton {
public:
    KeycapButton(const QString& symbol, const QString& title, QWidget* parent = nullptr);

    void setOn(bool on);
    bool isOn() const { return on_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    bool on_ = false;
};

// The sheet in which one named shortcut is created or edited: its name, its key (recorded,
// or composed from the 66 main keys and four modifier keycaps) and its icon, which follows
// the name until the user picks one. It stores nothing: "保存" (or Return) hands the record
// to `onSave`, Escape, "取消" and the close button call `onCancel`, and a confirmed "删除"
// calls `onDelete`; the caller stores, answers, and closes the sheet on success. Its height
// follows its content up to what the main screen and the settings window allow.
class ShortcutEditor final : public QWidget {
public:
    struct Callbacks {
        std::function<bool(const NamedShortcut&)> onSave;
        std::function<void()> onCancel;
        std::function<bool()> onDelete;  // empty for a shortcut not stored yet
    };

    // `windowContentHeight` is the height of the window the sheet lies over, if any.
    ShortcutEditor(const NamedShortcut& shortcut, Callbacks callbacks, const EditorServices& services,
                   std::function<std::optional<double>()> windowContentHeight, std::function<bool()> reduceMotion,
                   QWidget* parent = nullptr);
    ~ShortcutEditor() override;

    const ShortcutEditorModel& model() const { return model_; }

    QLabel* titleLabel() const;
    QAbstractButton* closeButton() const;
    QLineEdit* nameField() const { return name_; }
    SegmentedPicker* modePicker() const { return mode_; }
    GlassDropdown<std::uint16_t>* mainKeyPicker() const { return mainKey_; }
    KeycapButton* keycap(std::size_t index) const { return keycaps_.at(index); }
    QWidget* keycapRow() const { return keycapRow_; }
    QLabel* keyChip() const;
    QLabel* unsetLabel() const;
    // None without the host's key events and permission.
    ShortcutRecorder* recorder() const { return recorder_; }
    QAbstractButton* iconToggle() const;
    IconPickerView* iconPicker() const { return picker_; }
    QAbstractButton* deleteButton() const;
    QAbstractButton* cancelButton() const;
    QAbstractButton* saveButton() const;
    QLabel* errorLabel() const;
    // The delete confirmation while it shows.
    SheetAlert* deleteAlert() const { return deleteAlert_; }

    // Shows the model; runs after every change.
    void render();
    // What "保存" and Return do.
    void save();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The construction's steps, top to bottom.
    void buildHeader();
    void buildBody(const EditorServices& services);
    QHBoxLayout* buildNameRow();
    QVBoxLayout* buildKeySection(const EditorServices& services);
    void buildRecorder(const EditorServices& services);
    void buildManualKeys();
    QHBoxLayout* buildCurrentKeyRow();
    QVBoxLayout* buildIconSection();
    void buildFooter();
    void wire();
    void toggleIconPicker();
    void confirmDelete();
    void cancel();
    void fitHeight();

    ShortcutEditorModel model_;
    Callbacks callbacks_;
    displays::ScreenServices* screens_;
    std::function<std::optional<double>()> windowContentHeight_;
    std::function<bool()> reduceMotion_;

    QWidget* header_;
    TokenLabel* title_;
    PlainButton* close_;
    QScrollArea* body_;
    QWidget* bodyContent_;
    QWidget* footer_;
    QLineEdit* name_;
    SegmentedPicker* mode_;
    QWidget* recorderColumn_;
    ShortcutRecorder* recorder_ = nullptr;
    QWidget* manualColumn_;
    GlassDropdown<std::uint16_t>* mainKey_;
    QWidget* keycapRow_;
    std::array<KeycapButton*, 4> keycaps_{};
    RoundedFill* chip_;
    TokenLabel* chipText_;
    TokenLabel* unset_;
    SymbolLabel* iconSymbol_;
    TokenLabel* iconTitle_;
    PlainButton* iconToggle_;
    IconPickerView* picker_;
    QWidget* errorRow_;
    TokenLabel* error_;
    PlainButton* delete_;
    StyledButton* cancel_;
    StyledButton* save_;
    QPointer<SheetAlert> deleteAlert_;
};

}  // namespace dorvane
