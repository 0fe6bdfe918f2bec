// The configuration program's skin set: Skins.xml, Strings.xml (and the other languages), and per
// resolution folder Buttons.xml, the page pictures, menus, masks, tint template and thumbs; and the
// PopDlg folder.
#pragma once

#include "Description.h"
#include "Scaler.h"

#include <QString>

namespace skingen {

// The resolution folders, their factors from the 1920x1080 master and the smallest text each may use
// (a person reads 12 px comfortably at 1366x768, 11 px on the small 960x540 window).
struct Resolution {
    QString folder;
    double factor;
    int minFontSize;
};
QList<Resolution> Resolutions();

// The file a page state is stored in: "<picture>_Normal.jpg", ..., "<picture>_Mask.bmp".
QString PageFileName(const Page& page, const QString& state);

// Writes everything into `programDir`; `previewDir`, when not empty, receives one picture per page
// and resolution with the English texts drawn in, for review. Returns false on the first failure.
bool WriteSkinSet(const Description& description, const QString& programDir, const QString& version,
                  const QString& previewDir);

}  // namespace skingen
