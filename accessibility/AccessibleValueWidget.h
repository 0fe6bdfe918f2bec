// What the image sliders and the hue bar share as assistive technology sees them: a focusable slider
// with an integer range and value, whose value is set through the value interface or the increase
// and decrease actions. A value asked for is clamped into the range and rounded before the widget is
// asked for it; a disabled widget, or one behind an open modal pop-up, takes none.
#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace accessibility {

class AccessibleValueWidget : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleValueWidget(QWidget* widget);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

protected:
    virtual int Value() const = 0;
    virtual int Lowest() const = 0;
    virtual int Highest() const = 0;
    // Asks the widget for `value`, already within Lowest()..Highest().
    virtual void Ask(int value) = 0;
};

}  // namespace accessibility
