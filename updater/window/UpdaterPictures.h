// The updater's pictures by role, decoded from the resources compiled into the updater.
#pragma once

#include "UpdaterSkin.h"

#include <QImage>

namespace updater {

// The picture in a 32-bit format; a null picture when the resource is missing or unreadable, so the
// page simply lacks that look. For a window of device pixel ratio above 1 its "@2x" twin, marked with
// ratio 2 (the same logical size).
QImage LoadUpdaterPicture(updater_skin::UpdaterPicture picture, qreal ratio = 1.0);

}  // namespace updater
