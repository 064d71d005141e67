#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QWidget>

#include "Dorvane/Visual/GlassDropdown.h"
#include "DorvaneCore/ResolutionModels/DeviceTemplateBrowser.h"

class QHBoxLayout;
class QVBoxLayout;

class QScrollArea;

namespace dorvane {

class ControlPanelModel;
class SegmentedPicker;
class SymbolButton;
class TemplateRow;
class TextField;
class TokenLabel;

// The device-template sheet (580 × 510): the catalog read from `supportFolder`'s override
// or the shipped one each time the sheet shows, filtered by device type, brand and a typed
// model, one row per device screen. "添加" hands the screen's preset to the model's
// onSaveCustom and the sheet stays open; rows follow the model as it republishes. Filters
// start empty with every new sheet.
class DeviceTemplatesView final : public QWidget {
public:
    static constexpr int width = 580;
    static constexpr int height = 510;

    DeviceTemplatesView(ControlPanelModel& model, std::filesystem::path supportFolder, std::function<void()> close,
                        QWidget* parent = nullptr);

    void render();

    const DeviceTemplateBrowser& browser() const { return browser_; }
    SymbolButton* closeButton() const { return close_; }
    TextField* searchField() const { return search_; }
    // Shown only while something is typed.
    SymbolButton* clearButton() const { return clear_; }
    QScrollArea* listArea() const { return listArea_; }
    SegmentedPicker* categoryPicker() const { return category_; }
    GlassDropdown<std::string>* brandPicker() const { return brand_; }
    // The rows shown, in catalog order.
    std::vector<TemplateRow*> shownRows() const;
    // The row made for an entry, shown or not; none before it was first listed.
    TemplateRow* row(const std::string& entryID) const;
    std::size_t madeRowCount() const { return rows_.size(); }
    // Shown only while nothing is listed.
    TokenLabel* emptyMessage() const { return message_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The construction's steps, top to bottom.
    QHBoxLayout* makeHeader();
    void buildFilters();
    void buildList();
    void wire();
    void load();
    void chooseCategory(int index);
    void chooseBrand(const std::string& id);
    void setQuery(const QString& query);
    void showListFromTop();
    void renderCategories();
    void renderRows();
    TemplateRow* makeRow(const DeviceTemplateCatalog::Entry& entry);

    ControlPanelModel& model_;
    std::filesystem::path supportFolder_;
    std::function<void()> closeSheet_;
    DeviceTemplateBrowser browser_;
    // Each entry's place in the catalog, to keep the rows in catalog order.
    std::map<std::string, std::size_t> catalogOrder_;

    SymbolButton* close_;
    TextField* search_;
    SymbolButton* clear_;
    QScrollArea* listArea_;
    QHBoxLayout* filters_;
    SegmentedPicker* category_ = nullptr;
    std::vector<DeviceTemplateBrowser::Choice> categoryChoices_;
    GlassDropdown<std::string>* brand_;
    QVBoxLayout* list_;
    std::map<std::string, TemplateRow*> rows_;
    std::vector<TemplateRow*> shown_;
    TokenLabel* message_;
};

}  // namespace dorvane
