// The skin description read from resources/skin and resources/updater: the theme (palette, fonts,
// icons), the pages with their widgets, labels and drawn decoration, and the texts per language.
// Every rectangle is in pixels of the 1920x1080 master on an 8 px grid.
#pragma once

#include <QColor>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace skingen {

struct Theme {
    QHash<QString, QColor> palette;
    QHash<QString, QString> icons;  // name -> path text (see IconPath.h), on a 24x24 grid
    int minFontSize = 10;           // no text is scaled below this pixel height
    QColor Color(const QString& nameOrHex) const;
};

// A text style: the FONT, SIZE, WEIGHT and COLOR attributes of a record, or of a drawn text.
struct TextStyle {
    QString font;
    int size = 0;
    int weight = 400;
    QString color;          // palette name or #RRGGBB; empty: none
    double letterSpacing = 0;
    bool IsSet() const { return !font.isEmpty() && size > 0; }
};

// Something drawn on a page that is not a widget: panels, hairlines, baked texts and icons.
struct Decor {
    QString shape;  // panel | card | hairline | text | icon | dot
    QRect rect;
    QString color;
    QString text;
    QString icon;
    TextStyle style;
    QString align;  // left | center | right (texts)
    QMap<QString, QString> stateColors;  // colour in a given state ("OVER": "accent" fills a bar)
};

struct Widget {
    QString key;
    QString kind;   // button | slider | picker | rect | hidden
    QString style;  // look of the widget, see Looks.h
    QRect rect;
    QString icon;
    QString badge;        // a language-neutral text drawn into the widget's picture ("LED 1")
    QString channel;      // slider fill colour (palette name); empty: accent
    int ticks = 0;        // level sliders: number of positions marked under the track
    bool container = false;  // may hold other widgets of the page (RECT_SYNC)
    TextStyle caption;    // FONT and SIZE attributes of a captioned button
    int offsetX = 0;      // OFFSETX attribute
    QSize minSize;        // the least size, in pixels at every resolution, a pointer needs to use it
    QMap<QString, int> scaledAttributes;  // further numeric attributes, scaled (MENUX, MENUY)
};

struct Label {
    QString key;
    QRect rect;
    TextStyle style;
    bool wrap = false;      // drawn with word break
    QString sample;         // text appended at run time, for the fit check ("V1.0.0")
    QStringList sections;   // sections that hold this label's record; empty: the page's own
};

struct Page {
    QString section;
    QString folder;       // Resolution | Menu | PopDlg
    QString picture;      // file name prefix
    QSize size;
    bool scaled = true;   // PopDlg pages keep their size at every resolution
    bool mask = true;
    int windowRadius = 12;
    QString background = "background";
    QStringList states = {"NORMAL", "OVER", "DOWN", "DISABLE"};
    QString maskFile;     // another page's mask used as this page's MASK
    QString underlay;     // section of a page whose NORMAL picture is drawn first
    QList<QRect> underlayClear;  // parts of the underlay painted over with the background
    QRect placement;      // menus: BUTTON_MENU, the menu's rectangle on the LED page
    QStringList sharesPlaceWith;  // menus shown at different times in the same place
    QMap<QString, QString> roles;  // updater pages: state (or MASK) -> picture role number
    QList<Decor> decor;
    QList<Widget> widgets;
    QList<Label> labels;
    QMap<QString, int> scaledValues;  // single values scaled with the page (SUB_DLG, PROGRESS)
};

// Texts of one language: section -> key -> text.
using Strings = QMap<QString, QMap<QString, QString>>;

struct Description {
    Theme theme;
    QList<Page> pages;        // the configuration program's pages
    QList<Page> updaterPages; // the updater's pages (fixed size, pictures by role)
    QJsonObject updaterLayout;
    // The updater's baked texts in other languages: language -> English text -> its translation.
    QMap<QString, QMap<QString, QString>> updaterTranslations;
    QMap<QString, Strings> languages;  // "en", "de"
    const Page* FindPage(const QString& section) const;
};

// Reads <skinDir>/theme.json, <skinDir>/pages/*.json, <skinDir>/strings/*.json,
// <updaterDir>/updater.json and <updaterDir>/strings/*.json. On a malformed file, fills `error` and returns false.
bool LoadDescription(const QString& skinDir, const QString& updaterDir, Description& description, QString& error);

}  // namespace skingen
