#include "UpdaterSkin.h"

#include <QtCore/qglobal.h>

// Outside any namespace: the macro declares the resource's registration function.
static void InitResources() { Q_INIT_RESOURCE(updater_skin); }

namespace updater_skin {

void InitUpdaterSkin() { InitResources(); }

QString PicturePath(UpdaterPicture picture) {
    return QString(":/updater/%1.png").arg(static_cast<int>(picture));
}

QString LayoutPath() { return QStringLiteral(":/updater/layout.xml"); }

}  // namespace updater_skin
