#pragma once

#include <functional>

#include <QWidget>

#include "DorvaneCore/ResolutionModels/SpecEditorModel.h"

class QHBoxLayout;
class QVBoxLayout;

namespace dorvane {

class NumberStepper;
class StyledButton;
class SymbolButton;
class TextField;
class TokenLabel;

// The custom-preset editor sheet ("新增规格" / "编辑规格"): a name, a width and height, a
// display size stepped by 10 % between 50 % and 200 %. "保存" (Return) hands the preset to
// `onSave`, "另存为新规格" (only when editing) the same under a new id, and "取消" (Escape)
// calls `onCancel`. A refused attempt shows its message until the next attempt; typing
// leaves it.
class SpecEditor final : public QWidget {
public:
    static constexpr int width = 420;

    SpecEditor(const SpecDraft& draft, std::function<void(const CustomPreset&)> onSave,
               std::function<void()> onCancel, QWidget* parent = nullptr);

    // Reads and checks the fields: on success calls onSave with the preset, otherwise shows
    // the message.
    void commit(bool saveAs);

    const SpecEditorModel& model() const { return model_; }
    TokenLabel* title() const { return title_; }
    TextField* nameField() const { return name_; }
    TextField* widthField() const { return width_; }
    TextField* heightField() const { return height_; }
    TokenLabel* scaleLabel() const { return scaleLabel_; }
    NumberStepper* scaleStepper() const { return scale_; }
    SymbolButton* scaleUp() const { return scaleUp_; }
    SymbolButton* scaleDown() const { return scaleDown_; }
    // Shown only while there is a message.
    QWidget* errorRow() const { return errorRow_; }
    TokenLabel* errorText() const { return errorText_; }
    StyledButton* cancelButton() const { return cancel_; }
    // None for a new custom preset.
    StyledButton* saveAsButton() const { return saveAs_; }
    StyledButton* saveButton() const { return save_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The construction's steps, top to bottom.
    void addFields(QVBoxLayout* column);
    QHBoxLayout* makeScaleRow();
    void makeErrorRow();
    QHBoxLayout* makeButtons();
    void wire();
    void render();

    SpecEditorModel model_;
    std::function<void(const CustomPreset&)> onSave_;
    std::function<void()> onCancel_;
    TokenLabel* title_;
    TextField* name_;
    TextField* width_;
    TextField* height_;
    TokenLabel* scaleLabel_;
    NumberStepper* scale_;
    SymbolButton* scaleUp_;
    SymbolButton* scaleDown_;
    QWidget* errorRow_;
    TokenLabel* errorText_;
    StyledButton* cancel_;
    StyledButton* saveAs_ = nullptr;
    StyledButton* save_;
};

}  // namespace dorvane
