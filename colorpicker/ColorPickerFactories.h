// Creating the LED page's picker windows as children of the page, with their fixed control
// identifiers. Each returns the new window (owned by `parent`), or nullptr without a parent.
//
// The page then sets the field's mode to 3 and links the windows:
//     field->SetPickerMode(3); field->LinkBar(bar); field->LinkWell(well); bar->LinkField(field);
//     well->SetColorHandler(page);
#pragma once

#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"

#include <QRect>

class QWidget;

namespace colorpicker {

// The field (2000) over `rect`, unlinked, in mode 0 at the origin with maxima 255, shown.
GTColorSelectorWnd* CreateColorField(QWidget* parent, const QRect& rect);

// The bar (2001) over `rect`, unlinked, horizontal with room for the markers, in mode 3, shown.
GTColorSliderWnd* CreateColorBar(QWidget* parent, const QRect& rect);

// The well (2002) over `rect`, showing the colours of `field`, shown.
GTColorWellWnd* CreateColorWell(QWidget* parent, const QRect& rect, GTColorSelectorWnd* field);

}  // namespace colorpicker
