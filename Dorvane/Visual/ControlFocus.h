#pragma once

#include <Qt>

namespace dorvane {

// The keyboard focus of the program's buttons, switches, segments, pop-up fields and rows
// of buttons: none, as on the desktop the program was designed for, where by default Tab
// moves between text fields and lists only. A click leaves the focus where the person
// types, and no Space presses a control that nothing marked as focused. Alerts answer
// Return and Escape themselves; assistive technology still finds each control by its name
// and presses it through its action.
inline constexpr Qt::FocusPolicy controlFocusPolicy = Qt::NoFocus;

// Scroll areas and the lists in them: none either. Qt's own default would have a click on
// any control inside one take the focus from the field being typed in, and Tab stop on a
// list that shows no mark; they scroll with the wheel, a drag and their bar.
inline constexpr Qt::FocusPolicy scrollAreaFocusPolicy = Qt::NoFocus;

}  // namespace dorvane
