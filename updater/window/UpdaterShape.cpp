#include "UpdaterShape.h"

#include "RegionFromMask.h"
#include "SkinErrorMessage.h"
#include "UpdaterPictures.h"

#include <QWidget>

namespace updater {

void ApplyUpdaterShape(QWidget& page, updater_skin::UpdaterPicture outline) {
    // The outline is in logical pixels at every density: the 1x picture gives it exactly.
    const std::optional<QRegion> region = skin::RegionFromMask(LoadUpdaterPicture(outline, 1.0));
    if (!region) {
        skin::ShowErrorMessage(&page, QStringLiteral("error"));
        return;
    }
    page.setMask(*region);
}

}  // namespace updater
