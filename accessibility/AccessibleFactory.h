// Makes the skinned widgets and the colour picker speak to assistive technology (AT-SPI on Linux).
//
// Qt asks installed factories for an interface before its own. The factory answers for the image
// buttons, the image sliders and the three windows of the colour picker; every other widget keeps
// Qt's own interface.
#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

namespace accessibility {

// The factory itself (Qt's QAccessible::InterfaceFactory): an interface for `object` when it is one
// of the widgets above, else nullptr.
QAccessibleInterface* SkinAccessibleFactory(const QString& className, QObject* object);

// Installs the factory once; call after the application object exists.
void InstallAccessibleFactory();

}  // namespace accessibility
