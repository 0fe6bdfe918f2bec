// An image slider as assistive technology sees it: a slider named by its key's accessible text, with
// its range and position; setting its value (or the increase and decrease actions) asks the page for
// that value as a drag to it would, and the page decides.
#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace skin {
class CPngHSliderBar;
}

namespace accessibility {

class AccessibleSkinSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSkinSlider(skin::CPngHSliderBar* slider);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    skin::CPngHSliderBar* Slider() const;
};

}  // namespace accessibility
