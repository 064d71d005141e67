#include "Dorvane/InputViews/ShortcutRecorder.h"

#include <QVBoxLayout>

namespace dorvane {

ShortcutRecorder::ShortcutRecorder(ShortcutCaptureView::Services services, Binding key, QWidget* parent)
    : QWidget(parent), key_(std::move(key)), field_(new ShortcutCaptureView(services, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field_);
    setFocusProxy(field_);
    field_->onCapture = [this](const ShortcutKey& recorded) {
        if (key_.set) key_.set(recorded);
    };
    refresh();
}

void ShortcutRecorder::refresh() { field_->setBoundKey(key_.get ? key_.get() : std::nullopt); }

}  // namespace dorvane
