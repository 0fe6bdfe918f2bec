// An image slider as assistive technology sees it: a slider named by its key's accessible text, with
// its range and position; a value set through it is posted to the page as a drag to it would be, and
// the page decides.
#pragma once

#include "AccessibleValueWidget.h"

namespace skin {
class CPngHSliderBar;
}

namespace accessibility {

class AccessibleSkinSlider : public AccessibleValueWidget {
public:
    explicit AccessibleSkinSlider(skin::CPngHSliderBar* slider);

    QString text(QAccessible::Text t) const override;

protected:
    int Value() const override;
    int Lowest() const override;
    int Highest() const override;
    void Ask(int value) override;

private:
    skin::CPngHSliderBar* Slider() const;
};

}  // namespace accessibility
