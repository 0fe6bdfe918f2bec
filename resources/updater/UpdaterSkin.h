// The updater's skin, compiled into the updater as Qt resources: its layout document and its
// pictures by role (numbered as the updater's pages name them). Rendered at build time by skingen
// from resources/updater/updater.json; each picture also exists at twice the pixel density under the
// same name with "@2x" before the extension.
#pragma once

#include <QString>

namespace updater_skin {

enum class UpdaterPicture {
    CurrentBackground = 144,  // result page "firmware already current"
    CurrentPressed = 145,
    CurrentHover = 146,
    SuccessPressed = 147,     // result page "success"
    SuccessHover = 148,
    SuccessBackground = 149,
    FailPressed = 150,        // result page "failed"
    FailHover = 151,
    FailBackground = 152,
    MainDisabled = 153,       // main page
    MainHoverPressed = 154,
    MainNormal = 155,
    BarEmpty = 156,
    BarFull = 157,
    MainOutline = 159,        // white = cut away
    ResultOutline = 160,
    BarMarker = 161,
};

// Makes the resources available; call once before the first lookup (the library is static).
void InitUpdaterSkin();

// ":/updater/<language>/<number>.png" for the desktop's language (platform::PreferredLanguages) when the
// picture exists in it (the outlines carry no text and exist once), else ":/updater/<number>.png", the
// English one.
QString PicturePath(UpdaterPicture picture);
// ":/updater/layout.xml": UTF-16 with a byte-order mark.
QString LayoutPath();

}  // namespace updater_skin
