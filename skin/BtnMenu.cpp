#include "BtnMenu.h"

#include <utility>

namespace skin {

void CBtnMenu::AddItem(std::u16string_view caption, std::int32_t identifier, std::int32_t firstValue,
                       std::int32_t secondValue, bool selectable) {
    MenuItem item;
    caption = caption.substr(0, caption.find(u'\0'));
    item.caption.assign(caption.substr(0, MenuItem::kMaxCaption));
    item.selectable = selectable ? 1 : 0;
    item.identifier = identifier;
    item.firstValue = firstValue;
    item.secondValue = secondValue;
    items_.push_back(std::move(item));
}

const MenuItem* CBtnMenu::ItemAt(int index) const {
    if (index < 0 || index >= ItemCount()) return nullptr;
    return &items_[static_cast<std::size_t>(index)];
}

void CBtnMenu::RefreshItems([[maybe_unused]] int offset) {
    // The offset (or the current one, for -1) is clamped to what a window could scroll to. No menu
    // window is ever opened, so no row is visible and the list always starts at its first item.
    scrollOffset_ = 0;
}

}  // namespace skin
