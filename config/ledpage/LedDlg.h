// The LED page: the main window's one child page, on which the person edits the lighting of the
// current profile and sees every change on the controller at once. Skin section "LED".
//
// The main window hands it the controller link and both copies of the settings block before it
// creates the page (CreateSkinPage with kChildTemplate), and calls SelectEffect after reading the
// controller, after an event report and after applying.
//
// The page edits the working copy's lighting section (the block's one profile record). The effect
// buttons choose the effect; the colour controls (picker, RGB sliders, value buttons) edit the
// effect's colour target, the speed and brightness sliders its level targets (LedTargets.h); the LED
// buttons set per-LED colours (CUSTOMIZE) or the layer of each LED (MULTILAYER). Every edit that the
// controller should show runs Apply, which sends the edited effect and refreshes the controls;
// drags go through a coalescer so the preview keeps up with the hand (PreviewCoalescer.h). The
// frequency mode swaps the colour controls for the panel of the frequency scheme, whose save sends
// the PWM settings through the table generator and stores the block on the controller.
//
// Widgets carry their skin key as object name ("BUTTON_LED_1"; the panels' and menus' widgets
// "LED_SYNC1/BUTTON_M1", "LED_STAR_MENU/BUTTON_MENU_1"), so a window can be inspected by name.
#pragma once

#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "BtnMenu.h"
#include "ColorBtn.h"
#include "ColourCycleAnimation.h"
#include "FrequencyBlock.h"
#include "FrequencyPanel.h"
#include "LedCommands.h"
#include "LedMenu.h"
#include "LedSkin.h"
#include "LedTargets.h"
#include "PickedColorHandler.h"
#include "PngHSliderBar.h"
#include "PreviewCoalescer.h"

#include <QRect>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

namespace colorpicker {
class GTColorSelectorWnd;
class GTColorSliderWnd;
class GTColorWellWnd;
}  // namespace colorpicker
namespace skin {
class CRename;
}

namespace config {

class CLEDConvDlg;
class CUSBDriver;
struct SettingsBlock;

class CLedDlg : public skin::CBaseDlg, public colorpicker::PickedColorHandler {
    Q_OBJECT
public:
    // Timer ids: the colour-cycle animation of the multi-layer colour-cycle layer, and the frequency
    // preview that follows each panel refresh.
    static constexpr int kAnimationTimerId = 65537;
    static constexpr int kFrequencyTimerId = 65539;
    static constexpr int kTimerIntervalMs = 50;

    // Slider control ids: red, green, blue 1000-1002, speed 1003, brightness 1004, the single
    // frequency 1006, the per-colour main, red, green, blue frequencies 1007-1010.
    static constexpr int kRedSliderId = 1000;
    static constexpr int kSpeedSliderId = 1003;
    static constexpr int kBrightnessSliderId = 1004;
    static constexpr int kSingleHzSliderId = 1006;
    static constexpr int kMainHzSliderId = 1007;

    // The layer types the multi-layer menu offers, in its item order.
    static constexpr std::array<int, 5> kMenuLayers = {1, 3, 4, 5, 0};
    static constexpr std::uint32_t kInitialColor = 0xFF0000;

    explicit CLedDlg(QWidget* parent = nullptr);
    ~CLedDlg() override;

    // The references the page works on; all must outlive the page. Set before CreateSkinPage.
    void SetSettings(CUSBDriver* link, SettingsBlock* working, SettingsBlock* saved);
    // Whether the page has been given its working copy.
    bool HasWorkingCopy() const { return working_ != nullptr; }

    // Shows effect `index` of the effect list (0-6) for the current profile: leaves the frequency
    // mode, previews the effect on the controller and runs Apply. An index outside the list selects
    // nothing: no effect button checked, nothing sent, the effect controls disabled.
    void SelectEffect(int index);
    int CurrentEffect() const { return currentEffect_; }
    int CurrentLayer() const { return currentLayer_; }
    std::uint32_t CurrentColor() const { return currentColor_; }

    // Frequency mode on (the scheme's panel in place of the colour controls) or off.
    void SetFrequencyMode(bool on);
    bool FrequencyMode() const { return frequencyMode_; }

    // The button of LED 1, which the main window shows with the page; nullptr before the page is created.
    QWidget* FirstLedButton() const;
    // Shows LED 1's button when the main window shows the page, unless the current effect shows no
    // LED buttons (colour cycle, off, the frequency panels).
    void ShowFirstLedButton();

    // The effect list: the seven functions with their localised names (filled when the page is created).
    const skin::CBtnMenu& EffectList() const { return effectList_; }

    // Where the frequency tables go. Created with the page: the table generator's dialog, hidden, on the
    // page's link (TableDialog). A caller may put another sender in its place before the page is created.
    void SetTableSender(std::unique_ptr<FrequencyTableSender> sender);
    FrequencyTableSender* TableSender() const { return tables_.get(); }
    // The page's own table generator dialog, made when the page first sends tables; nullptr before then
    // or with another sender.
    CLEDConvDlg* TableDialog() const;

    // The colour well's notification (the colour picker).
    void OnColorPicked(colorpicker::PickerColor color) override;

    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;
    bool PaintsWholeRectOpaque() const override;

protected:
    void InitDialog() override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The widgets of one frequency panel (LED_SYNC1: one row; LED_SYNC2: main, red, green, blue).
    struct FrequencyPanel {
        StatePictures pictures;
        std::array<skin::CBitmapBtn, 4> presets;
        skin::CBitmapBtn reset;
        skin::CBitmapBtn save;
        std::array<skin::CBitmapBtn, 4> values;
        std::array<skin::CPngHSliderBar, 4> sliders;
        int rowCount = 0;
    };
    // What the open in-place editor edits.
    enum class EditedValue { None, Red, Green, Blue, Frequency };

    bool LedButtonsShown() const;

    // Start-up.
    void CreateEffectButtons();
    void CreateColorButtons();
    void CreatePicker();
    void CreateSliders();
    void CreateValueButtons();
    void CreateMenus();
    void CreateFrequencyPanel(FrequencyScheme scheme);
    void BuildEffectList();
    skin::CBitmapBtn& MakeButton(skin::CBitmapBtn& button, const skin::SkinImageSet& pictures,
                                 std::u16string_view section, std::u16string_view key, bool withText, int format);

    // The record being edited.
    LightingSection* Section() const;
    const LightingSection* SavedSection() const;
    ColorTarget CurrentColorTarget() const;

    // Apply: the menus, the animation, the send of the edited effect (now, or coalesced with the
    // notifications still queued), the controls.
    enum class Send { Now, Coalesced };
    void Apply(Send send);
    void UpdateMenus();
    void RefreshControls();
    void ShowLedColor(skin::CColorBtn& button, std::uint32_t color, bool showSwatch);
    void ShowColorInControls(std::uint32_t color, bool movePicker);
    void SetColorControlsVisible(bool visible);
    // Marks the per-LED colour as the person's own after they edited the colour of CUSTOMIZE.
    void NoteLedColorChoice();
    void SendEditedEffect();

    // Controls.
    void OnEffectButton(int index);
    void OnLedButton(int led, int code);
    void OnOldColor();
    void OnStarMenu(int item, bool multiLayer);
    void OnMultiMenu(int item);
    void OnSchemeMenu(int item);
    void OnSlider(int id, int value);
    void OnChannelSlider(int channel, int value);
    void OnLevelSlider(const std::optional<LayerFieldRef>& target, skin::CPngHSliderBar& slider, int value);
    void OpenEditor(skin::CBitmapBtn& button, EditedValue edited, int minimum, int maximum, int frequencyRow);
    void OnEditorDone(std::intptr_t result);
    void OnAnimationTick();

    // Frequency mode.
    FrequencyPanel& PanelOf(FrequencyScheme scheme) { return panels_[static_cast<std::size_t>(scheme)]; }
    void ShowPanels(bool on, FrequencyScheme scheme);
    void RefreshPanels();
    void OnPreset(FrequencyScheme scheme, int preset);
    void OnFrequencyValue(int row, int value);
    void OnFrequencyReset(FrequencyScheme scheme);
    void OnFrequencySave();
    void OnFrequencyTick();

    CUSBDriver* link_ = nullptr;
    SettingsBlock* working_ = nullptr;
    SettingsBlock* saved_ = nullptr;
    int currentEffect_ = 0;
    int currentLayer_ = 1;
    std::uint32_t currentColor_ = kInitialColor;
    bool frequencyMode_ = false;
    FrequencyBlock frequencyCopy_{};
    ColourCycleAnimation animation_;
    skin::CBtnMenu effectList_;
    // The view RECT_SYNC showed at the last frequency-mode call: mode and scheme.
    bool shownFrequencyMode_ = false;
    FrequencyScheme shownScheme_ = FrequencyScheme::Single;
    // Set while the page handles a picked colour, so setting the picker from the record does not
    // come back as another pick.
    bool handlingPickedColor_ = false;
    // Set once the person chooses the per-LED colour; until then the page takes it from the LEDs
    // that are lit, so that after a start it shows a colour that was applied.
    bool ledColorChosen_ = false;

    CLedCommands commands_;
    CPreviewCoalescer effectSend_;
    std::unique_ptr<FrequencyTableSender> tables_;
    DialogTableSender* ownTables_ = nullptr;  // tables_ when it is the page's own generator
    QTimer animationTimer_;
    QTimer frequencyTimer_;

    std::array<skin::CBitmapBtn, 7> effectButtons_;
    skin::CBitmapBtn frequencyButton_;
    std::array<skin::CBitmapBtn, 7> enableButtons_;
    QImage tintTemplate_;
    std::array<skin::CColorBtn, 4> ledButtons_;
    skin::CColorBtn oldColorButton_;
    std::array<skin::CBitmapBtn, 3> valueButtons_;
    std::array<skin::CPngHSliderBar, 3> channelSliders_;
    skin::CPngHSliderBar speedSlider_;
    skin::CPngHSliderBar brightnessSlider_;
    colorpicker::GTColorSelectorWnd* field_ = nullptr;
    colorpicker::GTColorSliderWnd* bar_ = nullptr;
    colorpicker::GTColorWellWnd* well_ = nullptr;
    CLedMenu starMenu_;
    CLedMenu multiMenu_;
    CLedMenu multiStarMenu_;
    CLedMenu schemeMenu_;
    std::array<FrequencyPanel, 2> panels_;
    QRect syncRect_;

    std::unique_ptr<skin::CRename> editor_;
    EditedValue edited_ = EditedValue::None;
    int editedRow_ = -1;
};

}  // namespace config
