// Where the updater's page puts its texts, buttons and progress bar: the values of the layout document
// compiled into the updater (UTF-16, records "NAME,LEFT,TOP,WIDTH,HEIGHT,TEXT,FLAG").
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <string>

namespace xml {
class CXmlDocument;
}

namespace updater {

// A text's rectangle and colour (white when the record has no COLOR).
struct TextPlacement {
    QRect rect;
    QColor color;
};

struct UpdaterLayout {
    QRect titleRect;           // MAIN/RECT_TITLE; absent: an empty rectangle
    QRect barRect;             // UPDATE/RECT_UPDATE; the window sizes it to the bar picture
    bool barMarker = false;    // UPDATE/BAR_ICON nonzero: the marker is drawn at the end of the fill

    // The records of the main page's buttons (CONFIRM) and of both result pages (SUCCESS).
    std::u16string confirmOk;
    std::u16string confirmCancel;
    std::u16string confirmClose;
    std::u16string resultOk;
    std::u16string resultClose;

    TextPlacement layoutName;      // CONFIRM/RECT_LAYOUT
    TextPlacement updateVersion;   // CONFIRM/RECT_VER
    TextPlacement currentVersion;  // CONFIRM/RECT_CUR_VER
    // The version font: face from RECT_VER's FONT (empty: the default face), height from its SIZE.
    QString versionFace;
    int versionHeight = 0;
};

// Reads the values out of a loaded layout document.
UpdaterLayout ReadUpdaterLayout(xml::CXmlDocument& document);

// Reads the layout document compiled into the updater (updater_skin resources).
UpdaterLayout LoadUpdaterLayout();

}  // namespace updater
