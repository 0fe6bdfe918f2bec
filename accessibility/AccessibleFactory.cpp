#include "AccessibleFactory.h"

#include "AccessibleColorPicker.h"
#include "AccessibleSkinButton.h"
#include "AccessibleSkinSlider.h"
#include "BitmapBtn.h"
#include "GTColorSelectorWnd.h"
#include "GTColorSliderWnd.h"
#include "GTColorWellWnd.h"
#include "PngHSliderBar.h"

#include <QAccessible>

namespace accessibility {

QAccessibleInterface* SkinAccessibleFactory(const QString&, QObject* object) {
    // Qt calls the factory once per class of the object's meta-object chain; the widgets without
    // Q_OBJECT only show up as "QWidget", so the object itself is asked what it is.
    if (auto* button = dynamic_cast<skin::CBitmapBtn*>(object)) return new AccessibleSkinButton(button);
    if (auto* slider = dynamic_cast<skin::CPngHSliderBar*>(object)) return new AccessibleSkinSlider(slider);
    if (auto* bar = dynamic_cast<colorpicker::GTColorSliderWnd*>(object)) return new AccessibleHueBar(bar);
    if (auto* field = dynamic_cast<colorpicker::GTColorSelectorWnd*>(object)) return new AccessibleColorField(field);
    if (auto* well = dynamic_cast<colorpicker::GTColorWellWnd*>(object)) return new AccessibleColorWell(well);
    return nullptr;
}

void InstallAccessibleFactory() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&SkinAccessibleFactory);
}

}  // namespace accessibility
