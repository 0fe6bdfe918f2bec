#include "UpdaterShape.h"

#include "RegionFromMask.h"
#include "SkinErrorMessage.h"
#include "UpdaterPictures.h"

#include <QWidget>

namespace updater {

void ApplyUpdaterShape(QWidget& page, updater_skin::UpdaterPicture outline) {
    const std::optional<QRegion> region = skin::RegionFromMask(LoadUpdaterPicture(outline));
    if (!region) {
        skin::ShowErrorMessage(&page, QStringLiteral("error"));
        return;
    }
    page.setMask(*region);
}

}  // namespace updater
