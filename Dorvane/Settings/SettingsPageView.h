#pragma once

#include <QWidget>

namespace dorvane {

// One page of the settings window. It keeps no state of its own: render() shows the panel
// model's published values and the window's view state as they are now, may run at any
// time and never calls back. A user's action calls one callback of the model, or sets the
// view state through the SettingsView.
class SettingsPageView : public QWidget {
public:
    using QWidget::QWidget;

    // Runs whenever the page is shown and after every change while it is shown.
    virtual void render() = 0;
    // Runs when the window switches to this page, before render(): what a page keeps only
    // while it is on screen starts over, as if its view were made anew.
    virtual void willShow() {}
    // Opens or closes the sheets this page attaches to the view state, through the view's
    // SheetPresenter; runs after every change once the page exists, shown or not.
    virtual void presentSheets() {}
};

}  // namespace dorvane
