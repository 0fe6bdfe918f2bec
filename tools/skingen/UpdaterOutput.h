// The updater's skin: its embedded layout document (UTF-16 with byte-order mark), its pictures by
// role, and the resource list that compiles them into the updater_skin library.
#pragma once

#include "Description.h"

#include <QString>

namespace skingen {

bool WriteUpdaterSkin(const Description& description, const QString& folder, const QString& previewDir);

}  // namespace skingen
