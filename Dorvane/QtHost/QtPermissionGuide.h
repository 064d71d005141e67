#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QMimeData>
#include <QPointF>
#include <QWidget>

#include "Dorvane/Input/PermissionGuidePanel.h"
#include "Platform/Displays/ScreenServices.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane::qthost {

// The row of the guide the user drags into the Accessibility list: the program's icon
// and name. A drag that goes more than 4 points makes the panel faint (0.65) and lets
// input through it until the button goes up. The drag is followed with the mouse grab of
// the press, not a QDrag, whose exec() would spin an event loop of its own.
class PermissionDragRow final : public QWidget {
public:
    PermissionDragRow(QString executablePath, std::function<void(bool dragging)> dragChanged, QWidget* parent);

    bool isDragging() const { return dragging_; }
    // What the drag carries: the program's executable as a file URL.
    const QMimeData* payload() const { return payload_.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString executablePath_;
    std::function<void(bool)> dragChanged_;
    QPointF initial_;
    bool dragging_ = false;
    std::unique_ptr<QMimeData> payload_;
};

// The guide's panel: a frameless tool window on the floating level that never takes the
// focus and shows without activating the program. Frames arrive in the toolkit's
// bottom-left space and are converted here, once, to Qt's top-left one.
class QtPermissionGuidePanel final : public QWidget, public PermissionGuidePanel {
public:
    static constexpr double kDraggingOpacity = 0.65;

    QtPermissionGuidePanel(QString executablePath, displays::ScreenServices& screens, std::function<void()> close,
                           std::function<void()> dragEnded);

    void setFrame(const geometry::Rect& frame) override;
    void orderFrontRegardless() override;
    void orderOut() override;
    bool ignoresMouseEvents() const override;

    PermissionDragRow& row() { return *row_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void dragChanged(bool dragging);

    displays::ScreenServices& screens_;
    std::function<void()> dragEnded_;
    PermissionDragRow* row_ = nullptr;
};

// The guide's toolkit side for the running program.
class QtPermissionGuideUI final : public PermissionGuideUI {
public:
    QtPermissionGuideUI(displays::ScreenServices& screens, workspace::ApplicationWorkspace& workspace,
                        pid_t ownPID, std::string executablePath);

    std::unique_ptr<PermissionGuidePanel> makePanel(std::function<void()> close,
                                                    std::function<void()> dragEnded) override;
    // The program becomes frontmost in the host, then its "设置" window is raised and made key.
    void activateProgram() override;

private:
    displays::ScreenServices& screens_;
    workspace::ApplicationWorkspace& workspace_;
    pid_t ownPID_;
    QString executablePath_;
};

}  // namespace dorvane::qthost
