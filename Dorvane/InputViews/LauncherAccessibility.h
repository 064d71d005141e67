#pragma once

namespace dorvane {

// How assistive technology sees the launcher: each section a group named with its title,
// its header a heading, each tile a button it can press or ask to show the name
// ("显示名称"). Installs its factory once; further calls do nothing.
void installLauncherAccessibility();

}  // namespace dorvane
