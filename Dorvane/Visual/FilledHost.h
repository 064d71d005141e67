#pragma once

#include <optional>

#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

// Hosts `view` so that it fills its panel: behind it a fill of `background`; it asks for no
// size of its own (the panel sets it). With a corner radius the host sits on a glass
// surface of that radius with the glass backdrop behind the content. Answers the outermost
// widget (the glass when rounded).
QWidget* filledHost(QWidget* view, const AdaptiveColor& background, std::optional<double> cornerRadius);

// No fill at all: the view lies straight on its glass.
const AdaptiveColor& clearFill();

}  // namespace dorvane
