// Telling assistive technology that a skinned widget changed by itself: the skinned widgets keep their
// own checked state and position, so Qt cannot see those changes. Cheap when no client listens.
#pragma once

class QWidget;

namespace skin {

// The checked state of `widget` changed.
void NotifyCheckedChanged(QWidget* widget);

// The value of `widget` (a slider) is now `value`.
void NotifyValueChanged(QWidget* widget, int value);

}  // namespace skin
