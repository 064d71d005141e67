#pragma once

#include <functional>
#include <optional>

#include <QWidget>

#include "Dorvane/InputViews/ShortcutCaptureView.h"

namespace dorvane {

// The shortcut editor's recording field bound to the editor's key: it shows the bound key
// (or asks for one) and writes each recorded combination into the binding.
//
//   ShortcutRecorder recorder(services, {[&model] { return model.key(); },
//                                        [&model](const ShortcutKey& key) { model.setKey(key); }});
//   // on every change of the editor's model:
//   recorder.refresh();
class ShortcutRecorder final : public QWidget {
public:
    // The editor's key: what it holds now, and how a recorded key is stored into it.
    struct Binding {
        std::function<std::optional<ShortcutKey>()> get;
        std::function<void(const ShortcutKey&)> set;
    };

    ShortcutRecorder(ShortcutCaptureView::Services services, Binding key, QWidget* parent = nullptr);

    // Shows the binding's key again.
    void refresh();

    ShortcutCaptureView& field() { return *field_; }

private:
    Binding key_;
    ShortcutCaptureView* field_;
};

}  // namespace dorvane
