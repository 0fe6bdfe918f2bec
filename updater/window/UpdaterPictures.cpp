#include "UpdaterPictures.h"

#include "SkinPictures.h"

namespace updater {

QImage LoadUpdaterPicture(updater_skin::UpdaterPicture picture, qreal ratio) {
    updater_skin::InitUpdaterSkin();
    QImage image;
    skin::LoadPictureFile(updater_skin::PicturePath(picture), image, nullptr, ratio);
    return image;
}

}  // namespace updater
