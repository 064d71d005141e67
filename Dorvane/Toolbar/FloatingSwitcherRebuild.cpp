// The toolbar's content: the strip or the handle built from the settings, what every
// button does, the padded glass with its shadow, the selection marks and the surface
// shared with an open companion panel.

#include "Dorvane/Toolbar/FloatingSwitcher.h"

#include "Dorvane/Visual/ApplicationIcon.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Toolbar/ToolbarEntrance.h"
#include "DorvaneCore/Toolbar/ToolbarSelection.h"

namespace dorvane {

namespace {

// The application button's icon, as large as its glyph.
constexpr double kApplicationIconSize = 30;

}  // namespace

void FloatingSwitcher::rebuild(bool animated) {
    if (toolbarTransitionTask_) {
        if (!animated) {
            // The transition rebuilds once it ends.
            rebuildAfterTransition_ = true;
            return;
        }
        cancelTransition();
    }
    rebuildAfterTransition_ = false;
    updateApplicationWindowTimer();
    const auto visible = visibleFrame();
    if (!visible) return;

    const auto application = shortcutApplication();
    displayedApplicationPID_ = application ? std::optional<pid_t>(application->pid) : std::nullopt;
    std::optional<ToolbarPlan::Application> planned;
    if (application) planned = ToolbarPlan::Application{application->name.empty() ? std::nullopt : std::optional(application->name)};
    const ToolbarPlan plan = ToolbarPlan::make(toolbarSettings_, *visible, expanded_, planned, frontWindowFilled_,
                                               preferredCenterX_, preferredCenterY_);
    buttons_.clear();
    ++rebuilds_;
    if (expanded_) {
        buildStrip(plan, application);
    } else {
        toolbar_ = nullptr;
        buildHandle(plan);
    }
    updateSelection();

    if (animated && !reduceMotion()) {
        animateToolbar(plan.panelFrame);
        if (expanded_) runEntrance();
    } else {
        panel_->setFrame(plan.panelFrame);
    }
    hasPositionedPanel_ = true;
    panel_->orderFront();
}

ToolbarGlassHost* FloatingSwitcher::paddedGlass(QWidget* content, double cornerRadius, bool improvesContrast,
                                                bool elliptical) {
    auto* glass = new NativeGlassView(content, cornerRadius, false,
                                      improvesContrast ? std::optional(DesignTokens::NS::glassBackdrop) : std::nullopt);
    auto* host = new ToolbarGlassHost(glass, elliptical);
    toolbarGlass_ = glass;
    shadowHost_ = host;
    updateAttachedSurface();
    return host;
}

void FloatingSwitcher::buildHandle(const ToolbarPlan& plan) {
    auto* handle = new ToolbarButton(ToolbarButtonFace::handle(), environment_);
    handle->isCircular = true;
    handle->resize(static_cast<int>(plan.toolbarFrame.width), static_cast<int>(plan.toolbarFrame.height));
    handle->onTap = weakly([this] { toggleList(); });
    handle->dragsHorizontally = false;
    handle->onDrag = weakly([this](geometry::Point origin) { move(origin); });
    handle_ = handle;
    panel_->setContentView(paddedGlass(handle, plan.cornerRadius, plan.contrastBackdrop, plan.ellipticalShadow));
}

void FloatingSwitcher::buildStrip(const ToolbarPlan& plan,
                                  const std::optional<workspace::RunningApplication>& application) {
    std::optional<ToolbarContent::Application> shown;
    if (application) {
        shown = ToolbarContent::Application{plan.applicationButton ? std::optional(plan.applicationButton->name)
                                                                   : std::nullopt,
                                            QPixmap()};
        // Its icon file, else the lettered square the launcher and the settings draw for it.
        std::filesystem::path icon;
        if (services_.iconFile && application->bundlePath) icon = services_.iconFile(*application->bundlePath);
        std::error_code missing;
        const bool found = !icon.empty() && std::filesystem::exists(icon, missing);
        shown->icon = applicationIcon(found ? QString::fromStdString(icon.string()) : QString(),
                                      QString::fromStdString(application->name), kApplicationIconSize,
                                      panel_->devicePixelRatioF());
    }
    auto* content = new ToolbarContent(plan.toolbarFrame.size(), plan.grid, preferences_.toolbarSide, shown, environment_);
    handle_ = nullptr;
    if (ToolbarButton* button = content->applicationButton()) {
        button->onTap = weakly([this, button = QPointer<ToolbarButton>(button)] { toggleApplicationShortcuts(button); });
    }
    // The strip cannot be dragged.
    content->grip()->hide();
    content->collapse()->onTap = weakly([this] { toggleList(); });
    content->resolution()->onTap = weakly([this] {
        hideApplicationShortcuts();
        sender_.releaseAll();
        call(callbacks_.onAction, FloatingAction::resolution);
    });
    buttons_[ConfiguredOperation::builtinID(FloatingAction::resolution)] = content->resolution();
    content->settings()->onTap = weakly([this] {
        hideApplicationShortcuts();
        sender_.releaseAll();
        call(callbacks_.onDismissPanels);
        call(callbacks_.onAction, FloatingAction::settings);
    });
    content->restore()->onTap = weakly([this] {
        hideApplicationShortcuts();
        sender_.releaseAll();
        call(callbacks_.onDismissPanels);
        call(callbacks_.onAction, FloatingAction::restoreDisplay);
    });
    // No flyout outlives the strip it was opened from.
    orderWindowPanelOut();
    hideApplicationShortcuts();
    if (ToolbarButton* button = content->windowButton()) {
        button->onTap = weakly([this, button = QPointer<ToolbarButton>(button)] {
            sender_.releaseAll();
            call(callbacks_.onDismissPanels);
            toggleWindowControls(button);
        });
    }
    content->onOffsetChange = weakly([this](double offset) { scrollOffset_ = offset; });
    const QPointer<ToolbarContent> strip(content);
    for (const ToolbarStripButton& planned : plan.strip) {
        auto* button = new ToolbarButton(planned.face, environment_);
        button->dragsHorizontally = isHorizontal(preferences_.toolbarSide);
        button->onScrollDrag = [strip](double step) {
            if (strip) strip->setOffset(strip->offset() + step, false);
        };
        wireStripButton(*button, planned, *content);
        content->addStripButton(button);
        buttons_[planned.face.identifier] = button;
    }
    toolbar_ = content;
    panel_->setContentView(paddedGlass(content, plan.cornerRadius, plan.contrastBackdrop, plan.ellipticalShadow));
    content->layoutContent();
    content->setOffset(scrollOffset_, false);
}

void FloatingSwitcher::wireStripButton(ToolbarButton& button, const ToolbarStripButton& planned,
                                       ToolbarContent& /*content*/) {
    switch (planned.wiring) {
        case ToolbarButtonWiring::action: {
            const FloatingAction action = *planned.operation.builtin();
            button.onTap = weakly([this, action] {
                hideApplicationShortcuts();
                sender_.releaseAll();
                // The launcher and the resolution panel replace the open companion themselves.
                if (ToolbarPlan::dismissesPanels(action)) call(callbacks_.onDismissPanels);
                call(callbacks_.onAction, action);
            });
            return;
        }
        case ToolbarButtonWiring::shortcutTap: {
            const NamedShortcut shortcut = *planned.operation.shortcut();
            button.onTap = weakly([this, shortcut] {
                hideApplicationShortcuts();
                call(callbacks_.onDismissPanels);
                // The sender asks targetApplicationPID() for the target.
                sender_.enqueueTap(shortcut, std::nullopt);
            });
            return;
        }
        case ToolbarButtonWiring::shortcutHold: {
            const NamedShortcut shortcut = *planned.operation.shortcut();
            button.onPress = weakly([this, shortcut] { pressHeld(shortcut); });
            button.onRelease = weakly([this, id = shortcut.id] {
                if (sender_.activeID() == id && sender_.heldID()) sender_.clearHeldEvents();
            });
            return;
        }
    }
}

void FloatingSwitcher::pressHeld(const NamedShortcut& shortcut) {
    hideApplicationShortcuts();
    call(callbacks_.onDismissPanels);
    sender_.releaseAll();
    const auto target = sender_.resolveTarget();
    try {
        sender_.sendPress(shortcut, target, true);
    } catch (const FitError& error) {
        // No notice reaches the user for this: the log keeps the reason.
        sender_.reportFailure(shortcut, target, error.what());
    }
}

void FloatingSwitcher::runEntrance() {
    if (!toolbar_) return;
    ToolbarContent& content = *toolbar_;
    const auto items = ToolbarEntrance::order(content.windowButton() != nullptr, content.applicationButton() != nullptr,
                                              static_cast<int>(content.buttons().size()));
    for (const auto& item : items) {
        ToolbarButton* button = nullptr;
        switch (item.button) {
            case ToolbarEntrance::Button::window: button = content.windowButton(); break;
            case ToolbarEntrance::Button::application: button = content.applicationButton(); break;
            case ToolbarEntrance::Button::resolution: button = content.resolution(); break;
            case ToolbarEntrance::Button::settings: button = content.settings(); break;
            case ToolbarEntrance::Button::collapse: button = content.collapse(); break;
            case ToolbarEntrance::Button::strip: button = content.buttons().at(static_cast<std::size_t>(item.stripIndex)); break;
        }
        if (button != nullptr && !button->isHidden()) button->animateEntrance(item.delay, preferences_.toolbarSide);
    }
}

void FloatingSwitcher::updateSelection() {
    for (const auto& [identifier, button] : buttons_) {
        if (!button) continue;
        button->selected = ToolbarSelection::isSelected(identifier, sender_.heldID(), activePanel_);
        button->updateColors();
    }
}

void FloatingSwitcher::updateAttachedSurface() {
    const auto surface = ToolbarSelection::surface(activePanel_, expanded_);
    if (toolbarGlass_) {
        if (surface.attached) {
            toolbarGlass_->attach(preferences_.toolbarSide, true);
        } else {
            toolbarGlass_->detach();
        }
    }
    if (shadowHost_) shadowHost_->setShadowOpacity(surface.shadowOpacity);
    if (toolbarGlass_) {
        toolbarGlass_->setHairline(surface.hairline ? std::optional(DesignTokens::NS::toolbarHairline) : std::nullopt,
                                   preferences_.toolbarSide);
    }
}

}  // namespace dorvane
