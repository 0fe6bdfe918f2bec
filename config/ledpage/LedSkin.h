// Skin helpers of the LED page: the four state pictures of a skin section other than the page's own
// (the frequency panels, the menus), and the caption colours of the page's buttons.
#pragma once

#include "BitmapBtn.h"
#include "SkinPictures.h"

#include <QImage>
#include <QString>

#include <string_view>

namespace config {

struct StatePictures {
    QImage normal;
    QImage over;
    QImage down;
    QImage disable;

    // The pictures that the skin document names for `section` (NORMAL, OVER, DOWN, DISABLE), from
    // `folder` (ending with '/'), at the density of a window of device pixel ratio `ratio` (their
    // twice-density twins above 1); a missing name or file leaves that picture null.
    void Load(const QString& folder, std::u16string_view section, qreal ratio);
    skin::SkinImageSet Set() const { return {&normal, &over, &down, &disable, {}}; }
    // Keeps only the normal picture once the widgets hold their cut-outs.
    void FreeStates();
};

// The skin's text colours on the page's buttons: dark on the light idle fill, white on the accent fill
// when hovered or checked, dim when disabled.
void SetSkinCaptionColors(skin::CBitmapBtn& button);
// The same for a page's primary action (Apply, Save), whose fill is the accent in every enabled state:
// white whenever it is enabled.
void SetPrimaryCaptionColors(skin::CBitmapBtn& button);

// An integer attribute of a record of the LED section of the button document; 0 when absent.
int LedAttribute(std::u16string_view key, std::u16string_view attribute);
// A record's rectangle in the button document.
QRect RecordRect(std::u16string_view section, std::u16string_view key);

}  // namespace config
