#include "AccessibleNotices.h"

#include <QAccessible>
#include <QWidget>

namespace skin {

void NotifyCheckedChanged(QWidget* widget) {
    if (!QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

void NotifyValueChanged(QWidget* widget, int value) {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

}  // namespace skin
