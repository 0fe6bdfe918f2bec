// The toolkit's menu as an ordered item list.
//
// A menu keeps its items in insertion order and a scroll offset (the first item a menu window would
// show). No page of the system opens a menu window: the LED page keeps its lighting functions in a
// menu and reads them back by position. So the list is all there is, and it needs no window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

struct MenuItem {
    // Longest caption an item keeps, in UTF-16 units (its fixed field holds one more for the end mark).
    static constexpr std::size_t kMaxCaption = 259;

    std::u16string caption;
    std::uint8_t subMenu = 0;  // 0 for an ordinary item
    std::uint8_t selectable = 0;
    std::int32_t identifier = 0;  // the caller's identifier, e.g. a lighting function code
    std::int32_t firstValue = 0;
    std::int32_t secondValue = 0;
    std::int32_t reserved = -1;
};

class CBtnMenu {
public:
    // Appends an item. The caption ends at its first NUL, if any, and is cut to kMaxCaption units.
    void AddItem(std::u16string_view caption, std::int32_t identifier, std::int32_t firstValue,
                 std::int32_t secondValue, bool selectable);

    int ItemCount() const { return static_cast<int>(items_.size()); }

    // The item at the 0-based `index`, or nullptr when there is none there.
    const MenuItem* ItemAt(int index) const;

    // Sets the scroll offset (-1 keeps the current one), clamped to what a window could scroll to.
    // A menu without a window shows no rows, so the offset always comes back to 0.
    void RefreshItems(int offset);
    int ScrollOffset() const { return scrollOffset_; }

private:
    std::vector<MenuItem> items_;
    int scrollOffset_ = 0;
};

}  // namespace skin
