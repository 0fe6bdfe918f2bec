#include "LedMenu.h"

#include "LedSkin.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinKeys.h"
#include "XmlDocument.h"

#include <QMouseEvent>
#include <QPainter>

namespace config {

namespace keys = skindocs::keys;

CLedMenu::~CLedMenu() = default;

void CLedMenu::Create(QWidget* page, const QString& resolutionFolder, std::u16string_view section, int itemCount,
                      std::function<void(int)> onItem) {
    setParent(page);
    const skin::SkinRecord place =
        skin::ParseSkinRecord(xml::LookupValue(skindocs::ButtonDocument(), section, keys::kButtonMenu));
    setGeometry(skin::ToQRect(place.rect));

    const QString folder = skin::PageImageFolder(resolutionFolder) + skin::ToQString(skindocs::kMenuFolder) + u'/';
    pictures_.Load(folder, section, skin::PictureRatio(page));

    for (int i = 0; i < itemCount && i < static_cast<int>(keys::kButtonMenuItem.size()); ++i) {
        auto item = std::make_unique<skin::CBitmapBtn>();
        skin::CreateSkinButton(*item, this, pictures_.Set(), section, keys::kButtonMenuItem[static_cast<std::size_t>(i)],
                               true, skin::CBitmapBtn::kFormatCentred, -1);
        item->SetCheckable(true);
        SetSkinCaptionColors(*item);
        connect(item.get(), &skin::CBitmapBtn::command, this, [onItem, i](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kCheckedCode && onItem) onItem(i);
        });
        items_.push_back(std::move(item));
    }
    pictures_.FreeStates();
    hide();
}

void CLedMenu::SetCheckedItem(int index) {
    for (int i = 0; i < ItemCount(); ++i) Item(i).SetChecked(i == index);
}

void CLedMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& background = pictures_.normal.Picture();
    if (!background.isNull()) painter.drawImage(0, 0, background);
}

void CLedMenu::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace config
