#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Editors/EditorServices.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"
#include "Platform/Dispatch/Task.h"

class QLabel;
class QScrollArea;
class QVariantAnimation;
class QVBoxLayout;

namespace dorvane {


class StyledButton;
class TokenLabel;

// A turning arc: something is being looked for.
class BusySpinner final : public QWidget {
public:
    BusySpinner(std::function<bool()> reduceMotion, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::function<bool()> reduceMotion_;
    QPointer<QVariantAnimation> turn_;
    double angle_ = 0;
};

// One application of the list: its icon (read the first time the row is drawn), its name
// and a plus; pressing it picks the application.
class ApplicationPickerRow final : public QAbstractButton {
public:
    ApplicationPickerRow(ApplicationShortcuts application, QString iconPath, QWidget* parent = nullptr);

    const ApplicationShortcuts& application() const { return application_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ApplicationShortcuts application_;
    QString iconPath_;
    QPixmap icon_;
};

// The sheet "添加应用": the installed and running applications not listed yet, filtered as
// the user types. Each showing scans again, off the main queue (the window coming back
// shows the list as it was left); a result lands only while the sheet exists and only from
// its latest scan. Picking hands the application to
// `onSelect`, whose refusal shows "保存失败，请重试"; the owner closes the sheet.
class ShortcutApplicationPicker final : public QWidget {
public:
    ShortcutApplicationPicker(std::set<std::string> existing,
                              std::function<bool(const ApplicationShortcuts&)> onSelect,
                              std::function<void()> onCancel, const EditorServices& services,
                              std::function<bool()> reduceMotion, QWidget* parent = nullptr);
    ~ShortcutApplicationPicker() override;

    bool isLoading() const { return loading_; }
    bool hasFailed() const { return failed_; }
    const std::vector<ApplicationShortcuts>& applications() const { return applications_; }

    TextField* searchField() const { return search_; }
    QAbstractButton* cancelButton() const;
    QWidget* spinner() const { return spinner_; }
    QLabel* emptyLabel() const;
    QScrollArea* list() const { return list_; }
    QLabel* failureLabel() const;
    // The rows shown now, in order.
    std::vector<ApplicationPickerRow*> shownRows() const;

    // Starts a scan; the list shows once it is back.
    void load();
    void render();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static dispatch::Task<void> scan(QPointer<ShortcutApplicationPicker> picker, std::uint64_t generation,
                                     workspace::InstalledApplications* installed, dispatch::Executor* queue,
                                     std::vector<std::string> running);
    void finishLoading(std::uint64_t generation, std::vector<ApplicationShortcuts> applications);
    void pick(const ApplicationShortcuts& application);

    std::set<std::string> existing_;
    std::function<bool(const ApplicationShortcuts&)> onSelect_;
    std::function<void()> onCancel_;
    EditorServices services_;
    std::vector<ApplicationShortcuts> applications_;
    bool loading_ = true;
    bool failed_ = false;
    std::uint64_t scanGeneration_ = 0;
    bool hiddenWithWindow_ = false;

    TextField* search_;
    StyledButton* cancel_;
    BusySpinner* spinner_;
    TokenLabel* empty_;
    QScrollArea* list_;
    QVBoxLayout* rowsLayout_;
    std::map<std::string, ApplicationPickerRow*> rows_;
    TokenLabel* failure_;
};

}  // namespace dorvane
