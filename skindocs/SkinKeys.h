// Every section, key and fixed file name that the two programs read from their skin documents, in one
// table shared by the programs (their lookups use the named constants below), the skin generator (it
// writes what the table lists) and the skin tests (they check the generated skin against the table).
//
// Documents:
//   Skin     - <program folder>Skins.xml: picture file names per page section, INFO/SW_VERSION
//   Strings  - <program folder>Strings.xml: captions and texts per page section, GLOBAL/FONT and FONT_SIZE
//   Buttons  - <program folder>Skins/<resolution>/Buttons.xml: placement records and single values
//   Layout   - the updater's embedded layout document (UTF-16)
// Picture files named by the skin document lie in the page's image folder (SkinFolder below).
//
// Conventions of this skin that the programs rely on:
//   - The four menus of the LED page: BUTTON_MENU is the menu's rectangle on the LED page; its items
//     (BUTTON_MENU_n) are placed in the menu's own coordinates, and the menu's pictures, named by the
//     menu's section of the skin document, lie in "<resolution>/Menu/" and have the menu's size.
//   - LED_SYNC1 and LED_SYNC2 pictures have the LED page's size; their records are in LED page
//     coordinates and lie inside RECT_SYNC.
//   - LEDCpas.bmp is a square as wide as BUTTON_LED_1; the colour buttons take it whole at (0, 0).
//   - Pop-ups in "PopDlg" have the same size at every resolution, so their records are not scaled.
// No Qt: the configuration program's libraries read the same constants.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace skindocs {

enum class SkinDocumentId { Skin, Strings, Buttons, Layout };

enum class SkinKeyKind {
    Record,       // "NAME,LEFT,TOP,WIDTH,HEIGHT,TEXT,FLAG"
    PictureFile,  // a file name in the section's image folder
    Text,         // a caption or label text
    Value,        // a single number or word
    Attribute,    // an attribute of the key element (attribute names it)
};

// Where the pictures named by a section of the skin document lie, below "<program folder>Skins/".
enum class SkinFolder { None, Resolution, Menu, PopDlg };

struct SkinKeyEntry {
    SkinDocumentId document;
    std::u16string_view section;
    std::u16string_view key;
    SkinKeyKind kind;
    std::u16string_view attribute = {};
    SkinFolder folder = SkinFolder::None;
};

// Every entry, grouped by page.
std::span<const SkinKeyEntry> SkinKeyTable();

// A picture with a fixed name (not named by the skin document) in a skin folder.
struct FixedSkinFile {
    std::u16string_view name;
    SkinFolder folder;
};
std::span<const FixedSkinFile> FixedSkinFiles();

// The image folder of a resolution: "1920x1080", "1366x768", "960x540" (without separator).
inline constexpr std::array<std::u16string_view, 3> kResolutionFolders = {u"1920x1080", u"1366x768", u"960x540"};
inline constexpr std::u16string_view kPopDlgFolder = u"PopDlg";
inline constexpr std::u16string_view kMenuFolder = u"Menu";

namespace keys {

// Sections.
inline constexpr std::u16string_view kGlobal = u"GLOBAL";
inline constexpr std::u16string_view kInfo = u"INFO";
inline constexpr std::u16string_view kMain = u"MAIN";
inline constexpr std::u16string_view kLed = u"LED";
inline constexpr std::u16string_view kLedSync1 = u"LED_SYNC1";
inline constexpr std::u16string_view kLedSync2 = u"LED_SYNC2";
inline constexpr std::u16string_view kLedStarMenu = u"LED_STAR_MENU";
inline constexpr std::u16string_view kLedMultiMenu = u"LED_MULTI_MENU";
inline constexpr std::u16string_view kLedMultiStarMenu = u"LED_MULTI_STAR_MENU";
inline constexpr std::u16string_view kLedMultiMirageMenu = u"LED_MULTI_MIRAGE_MENU";
inline constexpr std::u16string_view kFuncList = u"FUNC_LIST";
inline constexpr std::u16string_view kProfilePic = u"PROFILE_PIC";
inline constexpr std::u16string_view kWarnDlg = u"WarnDlg";
inline constexpr std::u16string_view kNoKeyboard = u"NO_KEYBOARD";
inline constexpr std::u16string_view kNoSave = u"NO_SAVE";
inline constexpr std::u16string_view kFwUpdates = u"FW_UPDATES";
inline constexpr std::u16string_view kLoadKeyboard = u"LOAD_KEYBOARD";
inline constexpr std::u16string_view kLoading = u"LOADING";
inline constexpr std::u16string_view kInfoDlg = u"InfoDlg";
// The dimming overlay's pictures: section "MASK", keys NORMAL and MASK.
inline constexpr std::u16string_view kOverlay = u"MASK";
// The updater's layout document.
inline constexpr std::u16string_view kUpdate = u"UPDATE";
inline constexpr std::u16string_view kSuccess = u"SUCCESS";
inline constexpr std::u16string_view kFail = u"FAIL";
inline constexpr std::u16string_view kConfirm = u"CONFIRM";

// Page pictures (skin document) and style attributes (button and layout documents).
inline constexpr std::u16string_view kMask = u"MASK";
inline constexpr std::u16string_view kNormal = u"NORMAL";
inline constexpr std::u16string_view kOver = u"OVER";
inline constexpr std::u16string_view kDown = u"DOWN";
inline constexpr std::u16string_view kDisable = u"DISABLE";
inline constexpr std::u16string_view kSwVersion = u"SW_VERSION";
inline constexpr std::u16string_view kFont = u"FONT";
inline constexpr std::u16string_view kFontSize = u"FONT_SIZE";
inline constexpr std::u16string_view kSize = u"SIZE";
inline constexpr std::u16string_view kWeight = u"WEIGHT";
inline constexpr std::u16string_view kColor = u"COLOR";
inline constexpr std::u16string_view kOffsetX = u"OFFSETX";
inline constexpr std::u16string_view kMenuX = u"MENUX";
inline constexpr std::u16string_view kMenuY = u"MENUY";

// Main window.
inline constexpr std::u16string_view kButtonMin = u"BUTTON_MIN";
inline constexpr std::u16string_view kButtonClose = u"BUTTON_CLOSE";
inline constexpr std::u16string_view kButtonApply = u"BUTTON_APPLY";
inline constexpr std::u16string_view kButtonMainControl = u"BUTTON_MAIN_CONTROL";
inline constexpr std::u16string_view kButtonMacro = u"BUTTON_MACRO";
inline constexpr std::u16string_view kButtonLibrary = u"BUTTON_LIBRARY";
inline constexpr std::u16string_view kSubDlg = u"SUB_DLG";
inline constexpr std::u16string_view kLinkTest = u"LINK_TEST";
inline constexpr std::u16string_view kStrProfile = u"STR_PROFILE";
inline constexpr std::u16string_view kButtonProfile1 = u"BUTTON_PROFILE_1";
inline constexpr std::u16string_view kButtonProfilePic1 = u"BUTTON_PROFILE_PIC_1";
inline constexpr std::u16string_view kButtonProfilePic = u"BUTTON_PROFILE_PIC";
inline constexpr std::u16string_view kButtonProfilePicExt960 = u"BUTTON_PROFILE_PIC_EXT_960";
inline constexpr std::u16string_view kButtonProfilePicExt1366 = u"BUTTON_PROFILE_PIC_EXT_1366";
inline constexpr std::u16string_view kButtonProfilePicExt = u"BUTTON_PROFILE_PIC_EXT";
inline constexpr std::u16string_view kStrProfilePic = u"STR_PROFILE_PIC";
inline constexpr std::u16string_view kStrProfilePicExt = u"STR_PROFILE_PIC_EXT";
// The short notice beside the apply button: its place (the record of STR_APPLIED) and its two texts.
inline constexpr std::u16string_view kStrApplied = u"STR_APPLIED";
inline constexpr std::u16string_view kStrApplyFailed = u"STR_APPLY_FAILED";
inline constexpr std::u16string_view kLoadPic = u"LOAD_PIC";
inline constexpr std::u16string_view kClearPic = u"CLEAR_PIC";

// LED page.
inline constexpr std::u16string_view kStrNew = u"STR_NEW";
inline constexpr std::u16string_view kStrPresent = u"STR_PRESENT";
inline constexpr std::u16string_view kStrHue = u"STR_HUE";
inline constexpr std::u16string_view kStrSpeed = u"STR_SPEED";
inline constexpr std::u16string_view kStrBrightness = u"STR_BRIGHTNESS";
// The two ends of the speed slider: level 0 is the fastest.
inline constexpr std::u16string_view kStrSpeedFast = u"STR_SPEED_FAST";
inline constexpr std::u16string_view kStrSpeedSlow = u"STR_SPEED_SLOW";
inline constexpr std::array<std::u16string_view, 4> kButtonLed = {u"BUTTON_LED_1", u"BUTTON_LED_2", u"BUTTON_LED_3",
                                                                   u"BUTTON_LED_4"};
inline constexpr std::u16string_view kButtonOldColor = u"BUTTON_OLD_COLOR";
inline constexpr std::u16string_view kButtonStatic = u"BUTTON_STATIC";
inline constexpr std::u16string_view kButtonCustomize = u"BUTTON_CUSTOMIZE";
inline constexpr std::u16string_view kButtonStars = u"BUTTON_STARS";
inline constexpr std::u16string_view kButtonColorCycle = u"BUTTON_COLOR_CYCLE";
inline constexpr std::u16string_view kButtonBreathing = u"BUTTON_BREATHING";
inline constexpr std::u16string_view kButtonMultiLayer = u"BUTTON_MULTI_LAYER";
inline constexpr std::u16string_view kButtonTurnOff = u"BUTTON_TURN_OFF";
inline constexpr std::u16string_view kButtonFrequence = u"BUTTON_FREQUENCE";
inline constexpr std::array<std::u16string_view, 7> kButtonEffEnable = {
    u"BUTTON_EFF_ENABLE_1", u"BUTTON_EFF_ENABLE_2", u"BUTTON_EFF_ENABLE_3", u"BUTTON_EFF_ENABLE_4",
    u"BUTTON_EFF_ENABLE_5", u"BUTTON_EFF_ENABLE_6", u"BUTTON_EFF_ENABLE_7"};
inline constexpr std::u16string_view kEditR = u"EDIT_R";
inline constexpr std::u16string_view kEditG = u"EDIT_G";
inline constexpr std::u16string_view kEditB = u"EDIT_B";
inline constexpr std::u16string_view kSliderR = u"SLIDER_R";
inline constexpr std::u16string_view kSliderG = u"SLIDER_G";
inline constexpr std::u16string_view kSliderB = u"SLIDER_B";
inline constexpr std::u16string_view kSliderS = u"SLIDER_S";
inline constexpr std::u16string_view kSliderL = u"SLIDER_L";
inline constexpr std::u16string_view kButtonSelBrightness = u"BUTTON_SEL_BRIGHTNESS";
inline constexpr std::u16string_view kButtonColor = u"BUTTON_COLOR";
inline constexpr std::u16string_view kSliderRgb = u"SLIDER_RGB";
inline constexpr std::u16string_view kRectSync = u"RECT_SYNC";
// Menus of the LED page.
inline constexpr std::u16string_view kButtonMenu = u"BUTTON_MENU";
inline constexpr std::array<std::u16string_view, 5> kButtonMenuItem = {u"BUTTON_MENU_1", u"BUTTON_MENU_2",
                                                                        u"BUTTON_MENU_3", u"BUTTON_MENU_4",
                                                                        u"BUTTON_MENU_5"};
// Frequency panels.
inline constexpr std::u16string_view kStrPort = u"STR_PORT";
inline constexpr std::u16string_view kStrRgb = u"STR_RGB";
inline constexpr std::u16string_view kStrPort2 = u"STR_PORT2";
// The caption of the frequency row that sets every channel at once, on both frequency panels.
inline constexpr std::u16string_view kStrAllChannels = u"STR_ALL";
inline constexpr std::array<std::u16string_view, 4> kButtonPreset = {u"BUTTON_M1", u"BUTTON_M2", u"BUTTON_M3",
                                                                      u"BUTTON_M4"};
inline constexpr std::u16string_view kButtonReset = u"BUTTON_RESET";
inline constexpr std::u16string_view kButtonSave = u"BUTTON_SAVE";
inline constexpr std::u16string_view kEditHz = u"EDIT_HZ";
inline constexpr std::u16string_view kEditHzR = u"EDIT_HZ_R";
inline constexpr std::u16string_view kEditHzG = u"EDIT_HZ_G";
inline constexpr std::u16string_view kEditHzB = u"EDIT_HZ_B";
inline constexpr std::u16string_view kSliderHz = u"SLIDER_HZ";
inline constexpr std::u16string_view kSliderHzR = u"SLIDER_HZ_R";
inline constexpr std::u16string_view kSliderHzG = u"SLIDER_HZ_G";
inline constexpr std::u16string_view kSliderHzB = u"SLIDER_HZ_B";
// Effect names (FUNC_LIST) in the order of the LED page's effect list.
inline constexpr std::array<std::u16string_view, 7> kEffectNames = {u"STATIC",      u"CUSTOMIZE", u"STAR_EFFECT",
                                                                     u"COLOR_CYCLE", u"BREATH",    u"MULTILAYER",
                                                                     u"OFF"};

// Pop-ups.
inline constexpr std::u16string_view kButtonOk = u"BUTTON_OK";
inline constexpr std::u16string_view kButtonCancel = u"BUTTON_CANCEL";
inline constexpr std::u16string_view kButtonUpdate = u"BUTTON_UPDATE";
inline constexpr std::u16string_view kStrTitle = u"STR_TITLE";
inline constexpr std::u16string_view kStrWarn = u"STR_WARN";
inline constexpr std::u16string_view kProgress = u"PROGRESS";
inline constexpr std::u16string_view kStrVerSw = u"STR_VER_SW";
inline constexpr std::u16string_view kStrVerFw = u"STR_VER_FW";
inline constexpr std::u16string_view kStrVerUpdate = u"STR_VER_UPDATE";

// The updater's layout document.
inline constexpr std::u16string_view kBarIcon = u"BAR_ICON";
inline constexpr std::u16string_view kRectUpdate = u"RECT_UPDATE";
inline constexpr std::u16string_view kRectLayout = u"RECT_LAYOUT";
inline constexpr std::u16string_view kRectVer = u"RECT_VER";
inline constexpr std::u16string_view kRectCurVer = u"RECT_CUR_VER";
inline constexpr std::u16string_view kRectTitle = u"RECT_TITLE";

// Pictures with fixed names in the resolution folder.
inline constexpr std::u16string_view kLedTintTemplate = u"LEDCpas.bmp";
inline constexpr std::u16string_view kRgbThumb = u"LED_RGB_Slider.png";
inline constexpr std::u16string_view kRgbThumbOver = u"LED_RGB_Slider_Over.png";
// Thumbs of the speed, brightness and frequency sliders.
inline constexpr std::u16string_view kLevelThumb = u"LED_Slider.png";
inline constexpr std::u16string_view kLevelThumbOver = u"LED_Slider_Over.png";

}  // namespace keys
}  // namespace skindocs
