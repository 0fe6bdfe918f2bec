// The updater's pictures by role, decoded from the resources compiled into the updater.
#pragma once

#include "UpdaterSkin.h"

#include <QImage>

namespace updater {

// The picture in a 32-bit format; a null picture when the resource is missing or unreadable, so the
// page simply lacks that look.
QImage LoadUpdaterPicture(updater_skin::UpdaterPicture picture);

}  // namespace updater
