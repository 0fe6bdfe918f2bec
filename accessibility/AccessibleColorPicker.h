// The colour picker as assistive technology sees it: the hue bar as a slider (tenths of a degree)
// whose value is also said in words, the saturation/brightness field as a colour chooser that says
// its point and colour, and the colour well as a label that says the chosen colour.
#pragma once

#include "AccessibleValueWidget.h"

#include <QAccessibleWidget>

namespace colorpicker {
class GTColorSelectorWnd;
class GTColorSliderWnd;
class GTColorWellWnd;
}  // namespace colorpicker

namespace accessibility {

class AccessibleHueBar : public AccessibleValueWidget {
public:
    explicit AccessibleHueBar(colorpicker::GTColorSliderWnd* bar);

    QString text(QAccessible::Text t) const override;

protected:
    int Value() const override;
    int Lowest() const override;
    int Highest() const override;
    void Ask(int value) override;

private:
    colorpicker::GTColorSliderWnd* Bar() const;
};

class AccessibleColorField : public QAccessibleWidget {
public:
    explicit AccessibleColorField(colorpicker::GTColorSelectorWnd* field);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

private:
    colorpicker::GTColorSelectorWnd* Field() const;
};

class AccessibleColorWell : public QAccessibleWidget {
public:
    explicit AccessibleColorWell(colorpicker::GTColorWellWnd* well);

    QString text(QAccessible::Text t) const override;

private:
    colorpicker::GTColorWellWnd* Well() const;
};

}  // namespace accessibility
