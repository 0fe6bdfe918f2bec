#include "FunctionText.h"

#include <algorithm>
#include <iterator>

namespace config {

namespace {

// Lighting effects and layers (section "FUNC_LIST") and the profile picture menu ("PROFILE_PIC"),
// sorted by code. The macro and mouse/keyboard functions of the family's other devices have no use
// on this controller and are left out.
constexpr FunctionTextEntry kFunctionTexts[] = {
    {0x0570, u"PROFILE_PIC", u"LOAD_PIC"},
    {0x0571, u"PROFILE_PIC", u"CLEAR_PIC"},
    {0x1000, u"FUNC_LIST", u"STATIC"},
    {0x1001, u"FUNC_LIST", u"COLOR_WAVE"},
    {0x1002, u"FUNC_LIST", u"CROSS_LINE"},
    {0x1003, u"FUNC_LIST", u"SINGLE_KEY"},
    {0x1004, u"FUNC_LIST", u"CUSTOMIZE"},
    {0x1005, u"FUNC_LIST", u"STAR_EFFECT"},
    {0x1006, u"FUNC_LIST", u"RAIN_DROP"},
    {0x1007, u"FUNC_LIST", u"COLOR_CYCLE"},
    {0x1008, u"FUNC_LIST", u"BREATH"},
    {0x1009, u"FUNC_LIST", u"RIPPLE"},
    {0x100A, u"FUNC_LIST", u"MULTILAYER"},
    {0x100C, u"FUNC_LIST", u"GAME_SNAKE"},
    {0x100D, u"FUNC_LIST", u"SYSTEM_STATUS"},
    {0x100E, u"FUNC_LIST", u"OFF"},
    {0x1100, u"FUNC_LIST", u"LEFT_RIGHT"},
    {0x1101, u"FUNC_LIST", u"RIGHT_LEFT"},
    {0x1102, u"FUNC_LIST", u"TOP_BOTTOM"},
    {0x1103, u"FUNC_LIST", u"BOTTOM_TOP"},
    {0x1106, u"FUNC_LIST", u"SUB_CROSS_MODE"},
    {0x1107, u"FUNC_LIST", u"BACKGROUND"},
    {0x1108, u"FUNC_LIST", u"STAR"},
    {0x1109, u"FUNC_LIST", u"RAIN"},
    {0x110A, u"FUNC_LIST", u"SKY"},
    {0x110B, u"FUNC_LIST", u"SUB_RIPPLE"},
    {0x110C, u"FUNC_LIST", u"RANDOM"},
    {0x110D, u"FUNC_LIST", u"EQUALIZER"},
    {0x110E, u"FUNC_LIST", u"CPU_LOADING"},
    {0x110F, u"FUNC_LIST", u"KEY"},
    {0x1110, u"FUNC_LIST", u"EMPTY"},
};

}  // namespace

const FunctionTextEntry* FindFunctionEntry(uint16_t code) {
    auto it = std::lower_bound(std::begin(kFunctionTexts), std::end(kFunctionTexts), code,
                               [](const FunctionTextEntry& e, uint16_t c) { return e.code < c; });
    return (it != std::end(kFunctionTexts) && it->code == code) ? &*it : nullptr;
}

std::u16string GetFunctionText(xml::CXmlDocument& strings, uint16_t code) {
    const FunctionTextEntry* entry = FindFunctionEntry(code);
    return entry ? xml::LookupValue(strings, entry->section, entry->key) : std::u16string();
}

}  // namespace config
