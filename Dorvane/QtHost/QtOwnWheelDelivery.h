#pragma once

#include "Platform/Events/Event.h"

class QWindow;

namespace dorvane::qthost {

// The host's wheel over one of the program's windows, handed to Qt as a platform hands
// its own: a mouse wheel turns in lines (a notch is 120 eighths of a degree); a trackpad
// gives points as well, with its gesture phases.
void deliverWheel(const events::Event& event, QWindow& target);

}  // namespace dorvane::qthost
