#include "UpdaterOutput.h"

namespace skingen {

bool WriteUpdaterSkin(const Description&, const QString&, const QString&) { return true; }

}  // namespace skingen
