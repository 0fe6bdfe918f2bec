#include "AccessibleValueWidget.h"

#include "ModalBlocking.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace accessibility {

AccessibleValueWidget::AccessibleValueWidget(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Slider) {}

void* AccessibleValueWidget::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State AccessibleValueWidget::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.focusable = true;  // a click focuses it
    return state;
}

QVariant AccessibleValueWidget::currentValue() const { return Value(); }

void AccessibleValueWidget::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const double asked = value.toDouble(&ok);
    if (!ok || !std::isfinite(asked) || !widget()->isEnabled() || BlockedByModalPopUp(*widget())) return;
    // Clamped before rounding, so that no value a client sends can overflow the integer.
    const double lowest = Lowest();
    const double highest = std::max(lowest, static_cast<double>(Highest()));
    Ask(static_cast<int>(std::lround(std::clamp(asked, lowest, highest))));
}

QVariant AccessibleValueWidget::maximumValue() const { return std::max(Lowest(), Highest()); }

QVariant AccessibleValueWidget::minimumValue() const { return Lowest(); }

QVariant AccessibleValueWidget::minimumStepSize() const { return 1; }

QStringList AccessibleValueWidget::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (!widget()->isEnabled() || BlockedByModalPopUp(*widget())) return names;
    // Focusable though a click, not the tab key, gives it the focus: Qt lists no focus action then.
    if (!names.contains(setFocusAction())) names.prepend(setFocusAction());
    return QStringList{increaseAction(), decreaseAction()} + names;
}

void AccessibleValueWidget::doAction(const QString& actionName) {
    if (actionName == increaseAction()) {
        setCurrentValue(Value() + 1);
    } else if (actionName == decreaseAction()) {
        setCurrentValue(Value() - 1);
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

}  // namespace accessibility
