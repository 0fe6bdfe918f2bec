#include "SkinKeys.h"

namespace skindocs {
namespace {

using namespace keys;
using D = SkinDocumentId;
using K = SkinKeyKind;
using F = SkinFolder;

constexpr SkinKeyEntry Picture(std::u16string_view section, std::u16string_view key, SkinFolder folder) {
    return {D::Skin, section, key, K::PictureFile, {}, folder};
}
constexpr SkinKeyEntry Record(std::u16string_view section, std::u16string_view key) {
    return {D::Buttons, section, key, K::Record};
}
constexpr SkinKeyEntry Value(std::u16string_view section, std::u16string_view key) {
    return {D::Buttons, section, key, K::Value};
}
constexpr SkinKeyEntry Attribute(std::u16string_view section, std::u16string_view key, std::u16string_view name) {
    return {D::Buttons, section, key, K::Attribute, name};
}
constexpr SkinKeyEntry Text(std::u16string_view section, std::u16string_view key) {
    return {D::Strings, section, key, K::Text};
}
constexpr SkinKeyEntry LayoutRecord(std::u16string_view section, std::u16string_view key) {
    return {D::Layout, section, key, K::Record};
}
constexpr SkinKeyEntry LayoutValue(std::u16string_view section, std::u16string_view key) {
    return {D::Layout, section, key, K::Value};
}
constexpr SkinKeyEntry LayoutAttribute(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view name) {
    return {D::Layout, section, key, K::Attribute, name};
}

// clang-format off
constexpr SkinKeyEntry kTable[] = {
    // Shared texts.
    Text(kGlobal, kFont), Text(kGlobal, kFontSize),
    {D::Skin, kInfo, kSwVersion, K::Value},

    // Main window: pictures, its buttons (captions from the string document), the LED page's top.
    Picture(kMain, kMask, F::Resolution), Picture(kMain, kNormal, F::Resolution), Picture(kMain, kOver, F::Resolution),
    Picture(kMain, kDown, F::Resolution), Picture(kMain, kDisable, F::Resolution),
    Record(kMain, kButtonMin), Record(kMain, kButtonClose), Record(kMain, kButtonApply),
    Record(kMain, kButtonMainControl), Record(kMain, kButtonMacro), Record(kMain, kButtonLibrary),
    Text(kMain, kButtonMin), Text(kMain, kButtonClose), Text(kMain, kButtonApply),
    Text(kMain, kButtonMainControl), Text(kMain, kButtonMacro), Text(kMain, kButtonLibrary),
    Value(kMain, kSubDlg),
    Text(kMain, kLinkTest), Text(kMain, kStrProfile),
    // The hidden profile buttons (created and hidden at once).
    Record(kMain, kButtonProfile1), Record(kMain, kButtonProfilePic1),
    Record(kMain, kButtonProfilePic), Record(kMain, kButtonProfilePicExt960), Record(kMain, kButtonProfilePicExt1366),
    Record(kMain, kButtonProfilePicExt), Record(kMain, kStrProfilePic), Record(kMain, kStrProfilePicExt),
    Attribute(kMain, kStrProfilePicExt, kFont), Attribute(kMain, kStrProfilePicExt, kSize),
    Text(kMain, kButtonProfilePic), Text(kMain, kButtonProfilePicExt960), Text(kMain, kButtonProfilePicExt1366),
    Text(kMain, kButtonProfilePicExt), Text(kMain, kStrProfilePic), Text(kMain, kStrProfilePicExt),
    Record(kMain, kStrApplied), Text(kMain, kStrApplied), Text(kMain, kStrApplyFailed),
    Text(kProfilePic, kLoadPic), Text(kProfilePic, kClearPic),

    // Dimming overlay (resolution folder).
    Picture(kOverlay, kNormal, F::Resolution), Picture(kOverlay, kMask, F::Resolution),

    // Progress pane (resolution folder, a child of the main window): the bar is the OVER picture from
    // the row PROGRESS down.
    Picture(kLoading, kNormal, F::Resolution), Picture(kLoading, kOver, F::Resolution),
    Value(kLoading, kProgress),

    // LED page (a child of the main window, whose outline it keeps: no mask of its own).
    Picture(kLed, kNormal, F::Resolution), Picture(kLed, kOver, F::Resolution),
    Picture(kLed, kDown, F::Resolution), Picture(kLed, kDisable, F::Resolution),
    Record(kLed, kStrNew), Record(kLed, kStrPresent), Record(kLed, kStrHue), Record(kLed, kStrSpeed),
    Record(kLed, kStrBrightness),
    Text(kLed, kStrNew), Text(kLed, kStrPresent), Text(kLed, kStrHue), Text(kLed, kStrSpeed),
    Text(kLed, kStrBrightness),
    Record(kLed, kStrSpeedFast), Record(kLed, kStrSpeedSlow), Text(kLed, kStrSpeedFast), Text(kLed, kStrSpeedSlow),
    Record(kLed, kButtonLed[0]), Record(kLed, kButtonLed[1]), Record(kLed, kButtonLed[2]), Record(kLed, kButtonLed[3]),
    Record(kLed, kButtonOldColor),
    Record(kLed, kButtonStatic), Record(kLed, kButtonCustomize), Record(kLed, kButtonStars),
    Record(kLed, kButtonColorCycle), Record(kLed, kButtonBreathing), Record(kLed, kButtonMultiLayer),
    Record(kLed, kButtonTurnOff), Record(kLed, kButtonFrequence),
    Text(kLed, kButtonStatic), Text(kLed, kButtonCustomize), Text(kLed, kButtonStars),
    Text(kLed, kButtonColorCycle), Text(kLed, kButtonBreathing), Text(kLed, kButtonMultiLayer),
    Text(kLed, kButtonTurnOff), Text(kLed, kButtonFrequence),
    Record(kLed, kButtonEffEnable[0]), Record(kLed, kButtonEffEnable[1]), Record(kLed, kButtonEffEnable[2]),
    Record(kLed, kButtonEffEnable[3]), Record(kLed, kButtonEffEnable[4]), Record(kLed, kButtonEffEnable[5]),
    Record(kLed, kButtonEffEnable[6]),
    Record(kLed, kEditR), Record(kLed, kEditG), Record(kLed, kEditB),
    Attribute(kLed, kEditR, kFont), Attribute(kLed, kEditR, kSize),
    Attribute(kLed, kEditR, kMenuX), Attribute(kLed, kEditR, kMenuY),
    Record(kLed, kSliderR), Record(kLed, kSliderG), Record(kLed, kSliderB), Record(kLed, kSliderS),
    Record(kLed, kSliderL),
    Record(kLed, kButtonSelBrightness), Record(kLed, kButtonColor), Record(kLed, kSliderRgb),
    Record(kLed, kRectSync),
    Text(kFuncList, kEffectNames[0]), Text(kFuncList, kEffectNames[1]), Text(kFuncList, kEffectNames[2]),
    Text(kFuncList, kEffectNames[3]), Text(kFuncList, kEffectNames[4]), Text(kFuncList, kEffectNames[5]),
    Text(kFuncList, kEffectNames[6]),

    // Menus of the LED page (pictures in "<resolution>/Menu/").
    Picture(kLedStarMenu, kNormal, F::Menu), Picture(kLedStarMenu, kOver, F::Menu),
    Picture(kLedStarMenu, kDown, F::Menu), Picture(kLedStarMenu, kDisable, F::Menu),
    Record(kLedStarMenu, kButtonMenu), Record(kLedStarMenu, kButtonMenuItem[0]), Record(kLedStarMenu, kButtonMenuItem[1]),
    Text(kLedStarMenu, kButtonMenuItem[0]), Text(kLedStarMenu, kButtonMenuItem[1]),
    Picture(kLedMultiMenu, kNormal, F::Menu), Picture(kLedMultiMenu, kOver, F::Menu),
    Picture(kLedMultiMenu, kDown, F::Menu), Picture(kLedMultiMenu, kDisable, F::Menu),
    Record(kLedMultiMenu, kButtonMenu),
    Record(kLedMultiMenu, kButtonMenuItem[0]), Record(kLedMultiMenu, kButtonMenuItem[1]),
    Record(kLedMultiMenu, kButtonMenuItem[2]), Record(kLedMultiMenu, kButtonMenuItem[3]),
    Record(kLedMultiMenu, kButtonMenuItem[4]),
    Text(kLedMultiMenu, kButtonMenuItem[0]), Text(kLedMultiMenu, kButtonMenuItem[1]),
    Text(kLedMultiMenu, kButtonMenuItem[2]), Text(kLedMultiMenu, kButtonMenuItem[3]),
    Text(kLedMultiMenu, kButtonMenuItem[4]),
    Picture(kLedMultiStarMenu, kNormal, F::Menu), Picture(kLedMultiStarMenu, kOver, F::Menu),
    Picture(kLedMultiStarMenu, kDown, F::Menu), Picture(kLedMultiStarMenu, kDisable, F::Menu),
    Record(kLedMultiStarMenu, kButtonMenu),
    Record(kLedMultiStarMenu, kButtonMenuItem[0]), Record(kLedMultiStarMenu, kButtonMenuItem[1]),
    Text(kLedMultiStarMenu, kButtonMenuItem[0]), Text(kLedMultiStarMenu, kButtonMenuItem[1]),
    Picture(kLedMultiMirageMenu, kNormal, F::Menu), Picture(kLedMultiMirageMenu, kOver, F::Menu),
    Picture(kLedMultiMirageMenu, kDown, F::Menu), Picture(kLedMultiMirageMenu, kDisable, F::Menu),
    Record(kLedMultiMirageMenu, kButtonMenu),
    Record(kLedMultiMirageMenu, kButtonMenuItem[0]), Record(kLedMultiMirageMenu, kButtonMenuItem[1]),
    Text(kLedMultiMirageMenu, kButtonMenuItem[0]), Text(kLedMultiMirageMenu, kButtonMenuItem[1]),

    // Frequency panel, single scheme.
    Picture(kLedSync1, kNormal, F::Resolution), Picture(kLedSync1, kOver, F::Resolution),
    Picture(kLedSync1, kDown, F::Resolution), Picture(kLedSync1, kDisable, F::Resolution),
    Record(kLedSync1, kStrPort), Record(kLedSync1, kStrRgb), Text(kLedSync1, kStrPort), Text(kLedSync1, kStrRgb),
    Record(kLedSync1, kStrAllChannels), Text(kLedSync1, kStrAllChannels),
    Record(kLedSync1, kButtonPreset[0]), Record(kLedSync1, kButtonPreset[1]), Record(kLedSync1, kButtonPreset[2]),
    Record(kLedSync1, kButtonPreset[3]),
    Text(kLedSync1, kButtonPreset[0]), Text(kLedSync1, kButtonPreset[1]), Text(kLedSync1, kButtonPreset[2]),
    Text(kLedSync1, kButtonPreset[3]),
    Record(kLedSync1, kButtonReset), Record(kLedSync1, kButtonSave),
    Text(kLedSync1, kButtonReset), Text(kLedSync1, kButtonSave),
    Record(kLedSync1, kEditHz), Record(kLedSync1, kSliderHz),

    // Frequency panel, per-colour scheme.
    Picture(kLedSync2, kNormal, F::Resolution), Picture(kLedSync2, kOver, F::Resolution),
    Picture(kLedSync2, kDown, F::Resolution), Picture(kLedSync2, kDisable, F::Resolution),
    Record(kLedSync2, kStrPort2), Text(kLedSync2, kStrPort2),
    Record(kLedSync2, kStrAllChannels), Text(kLedSync2, kStrAllChannels),
    Record(kLedSync2, kButtonPreset[0]), Record(kLedSync2, kButtonPreset[1]), Record(kLedSync2, kButtonPreset[2]),
    Record(kLedSync2, kButtonPreset[3]),
    Text(kLedSync2, kButtonPreset[0]), Text(kLedSync2, kButtonPreset[1]), Text(kLedSync2, kButtonPreset[2]),
    Text(kLedSync2, kButtonPreset[3]),
    Record(kLedSync2, kButtonReset), Record(kLedSync2, kButtonSave),
    Text(kLedSync2, kButtonReset), Text(kLedSync2, kButtonSave),
    Record(kLedSync2, kEditHz), Record(kLedSync2, kEditHzR), Record(kLedSync2, kEditHzG), Record(kLedSync2, kEditHzB),
    Record(kLedSync2, kSliderHz), Record(kLedSync2, kSliderHzR), Record(kLedSync2, kSliderHzG),
    Record(kLedSync2, kSliderHzB),

    // Warning and confirmation (PopDlg): buttons of WarnDlg, texts of its message sections.
    Picture(kWarnDlg, kMask, F::PopDlg), Picture(kWarnDlg, kNormal, F::PopDlg), Picture(kWarnDlg, kOver, F::PopDlg),
    Picture(kWarnDlg, kDown, F::PopDlg), Picture(kWarnDlg, kDisable, F::PopDlg),
    Record(kWarnDlg, kButtonOk), Record(kWarnDlg, kButtonCancel), Record(kWarnDlg, kButtonClose),
    Text(kWarnDlg, kButtonOk), Text(kWarnDlg, kButtonCancel),
    Record(kNoSave, kStrTitle), Record(kNoSave, kStrWarn), Text(kNoSave, kStrTitle), Text(kNoSave, kStrWarn),
    Record(kFwUpdates, kStrTitle), Record(kFwUpdates, kStrWarn),
    Text(kFwUpdates, kStrTitle), Text(kFwUpdates, kStrWarn),

    // The no-device warning (PopDlg): its own section for pictures, buttons and texts. It has no
    // Cancel button: both of its buttons end it the same way.
    Picture(kNoKeyboard, kMask, F::PopDlg), Picture(kNoKeyboard, kNormal, F::PopDlg),
    Picture(kNoKeyboard, kOver, F::PopDlg), Picture(kNoKeyboard, kDown, F::PopDlg),
    Picture(kNoKeyboard, kDisable, F::PopDlg),
    Record(kNoKeyboard, kButtonOk), Record(kNoKeyboard, kButtonClose), Text(kNoKeyboard, kButtonOk),
    Record(kNoKeyboard, kStrTitle), Record(kNoKeyboard, kStrWarn),
    Text(kNoKeyboard, kStrTitle), Text(kNoKeyboard, kStrWarn),

    // Loading pop-up (PopDlg): the bar is the OVER picture from row 558 down.
    Picture(kLoadKeyboard, kMask, F::PopDlg), Picture(kLoadKeyboard, kNormal, F::PopDlg),
    Picture(kLoadKeyboard, kOver, F::PopDlg), Picture(kLoadKeyboard, kDown, F::PopDlg),
    Picture(kLoadKeyboard, kDisable, F::PopDlg),

    // Firmware information prompt (PopDlg).
    Picture(kInfoDlg, kMask, F::PopDlg), Picture(kInfoDlg, kNormal, F::PopDlg), Picture(kInfoDlg, kOver, F::PopDlg),
    Picture(kInfoDlg, kDown, F::PopDlg), Picture(kInfoDlg, kDisable, F::PopDlg),
    Record(kInfoDlg, kStrTitle), Text(kInfoDlg, kStrTitle),
    Record(kInfoDlg, kStrVerSw), Record(kInfoDlg, kStrVerFw), Record(kInfoDlg, kStrVerUpdate),
    Text(kInfoDlg, kStrVerSw), Text(kInfoDlg, kStrVerFw), Text(kInfoDlg, kStrVerUpdate),
    Record(kInfoDlg, kButtonOk), Record(kInfoDlg, kButtonUpdate), Record(kInfoDlg, kButtonClose),
    Text(kInfoDlg, kButtonOk), Text(kInfoDlg, kButtonUpdate),

    // The updater's layout document.
    LayoutValue(kUpdate, kBarIcon), LayoutRecord(kUpdate, kRectUpdate),
    LayoutRecord(kSuccess, kButtonOk), LayoutRecord(kSuccess, kButtonClose),
    LayoutRecord(kFail, kButtonOk), LayoutRecord(kFail, kButtonClose),
    LayoutRecord(kConfirm, kButtonOk), LayoutRecord(kConfirm, kButtonCancel), LayoutRecord(kConfirm, kButtonClose),
    LayoutRecord(kConfirm, kRectLayout), LayoutAttribute(kConfirm, kRectLayout, kColor),
    LayoutRecord(kConfirm, kRectVer), LayoutAttribute(kConfirm, kRectVer, kFont),
    LayoutAttribute(kConfirm, kRectVer, kSize), LayoutAttribute(kConfirm, kRectVer, kColor),
    LayoutRecord(kConfirm, kRectCurVer), LayoutAttribute(kConfirm, kRectCurVer, kColor),
};
// clang-format on

constexpr FixedSkinFile kFixedFiles[] = {
    {kLedTintTemplate, F::Resolution}, {kRgbThumb, F::Resolution},       {kRgbThumbOver, F::Resolution},
    {kLevelThumb, F::Resolution},      {kLevelThumbOver, F::Resolution},
};

}  // namespace

std::span<const SkinKeyEntry> SkinKeyTable() { return kTable; }
std::span<const FixedSkinFile> FixedSkinFiles() { return kFixedFiles; }

}  // namespace skindocs
