// One of the LED page's small menus (star or sky, the multi-layer layers, the stars layer, the
// frequency scheme): a strip at its BUTTON_MENU rectangle on the page, drawn from the menu's own
// pictures in the "Menu" folder, holding checkable items BUTTON_MENU_1.. placed in its own
// coordinates. The page checks the item that matches the record; a click reports the item's index.
#pragma once

#include "BitmapBtn.h"
#include "LedSkin.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace config {

class CLedMenu : public QWidget {
public:
    CLedMenu() = default;
    ~CLedMenu() override;

    // Makes the menu a hidden child of `page` from the skin section `section`: its pictures from
    // "<resolution folder>/Menu/", its place and `itemCount` items from the button document, their
    // captions from the string document. `onItem` hears the 0-based index of a clicked item.
    void Create(QWidget* page, const QString& resolutionFolder, std::u16string_view section, int itemCount,
                std::function<void(int)> onItem);

    // Checks item `index` and clears the others (-1 clears all).
    void SetCheckedItem(int index);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    skin::CBitmapBtn& Item(int index) { return *items_[static_cast<std::size_t>(index)]; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Presses on the strip between the items are the menu's, not the page's (no drag).
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Its background is the whole NORMAL picture.
    StatePictures pictures_;
    std::vector<std::unique_ptr<skin::CBitmapBtn>> items_;
};

}  // namespace config
