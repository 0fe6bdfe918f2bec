// Whether a modal pop-up keeps the user from a widget. A click cannot reach a widget behind an open
// modal pop-up; a press or a value set through assistive technology must not reach it either, or a
// client could, say, apply the settings while the loading pop-up is still reading the controller.
#pragma once

class QWidget;

namespace accessibility {

// True when a modal pop-up is open and `widget` is neither in it nor in a window it owns.
bool BlockedByModalPopUp(const QWidget& widget);

}  // namespace accessibility
