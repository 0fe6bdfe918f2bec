// Skin helpers of the LED page: the four state pictures of a skin section other than the page's own
// (the frequency panels, the menus), and the caption colours of the page's buttons.
#pragma once

#include "BitmapBtn.h"
#include "SkinPictures.h"

#include <QImage>
#include <QString>

#include <memory>
#include <string_view>

namespace config {

struct StatePictures {
    // The whole NORMAL picture: the background of the panel or menu.
    skin::CutOut normal;
    std::shared_ptr<skin::DeferredPicture> normalSource;
    std::shared_ptr<skin::DeferredPicture> over;
    std::shared_ptr<skin::DeferredPicture> down;
    std::shared_ptr<skin::DeferredPicture> disable;

    // Names the pictures that the skin document gives `section` (NORMAL, OVER, DOWN, DISABLE), in
    // `folder` (ending with '/'), at the density of a window of device pixel ratio `ratio` (their
    // twice-density twins above 1); a missing name or file leaves that picture null. The panels and
    // menus are hidden at start: each picture is decoded when the background or a widget first shows it.
    void Load(const QString& folder, std::u16string_view section, qreal ratio);
    skin::SkinImageSet Set() const;
    // Lets go of the state pictures once the widgets have registered their looks.
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
