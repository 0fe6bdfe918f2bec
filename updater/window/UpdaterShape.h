// Shaping an updater page by one of its outline pictures (white is cut away).
#pragma once

#include "UpdaterSkin.h"

class QWidget;

namespace updater {

// Gives `page` the outline's shape. When no shape can be built from the picture, the message box
// "error" is shown and the page stays rectangular.
void ApplyUpdaterShape(QWidget& page, updater_skin::UpdaterPicture outline);

}  // namespace updater
