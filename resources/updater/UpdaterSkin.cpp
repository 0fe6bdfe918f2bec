#include "UpdaterSkin.h"

#include "LocaleLanguages.h"

#include <QFile>
#include <QtCore/qglobal.h>

// Outside any namespace: the macro declares the resource's registration function.
static void InitResources() { Q_INIT_RESOURCE(updater_skin); }

namespace updater_skin {

void InitUpdaterSkin() { InitResources(); }

namespace {

QString LanguagePicturePath(const std::string& language, UpdaterPicture picture) {
    return QString(":/updater/%1/%2.png").arg(QString::fromStdString(language)).arg(static_cast<int>(picture));
}

}  // namespace

QString PicturePath(UpdaterPicture picture) {
    // The pictures in the base language lie at the top of the resources, the others under <language>/.
    const std::string language = platform::ChosenTranslation(
        [picture](const std::string& code) { return QFile::exists(LanguagePicturePath(code, picture)); });
    if (!language.empty()) return LanguagePicturePath(language, picture);
    return QString(":/updater/%1.png").arg(static_cast<int>(picture));
}

QString LayoutPath() { return QStringLiteral(":/updater/layout.xml"); }

}  // namespace updater_skin
