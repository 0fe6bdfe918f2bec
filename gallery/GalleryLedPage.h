// The LED page of the generated skin with one of every toolkit widget on it, wired so a person can try
// them: effect buttons (checkable, one at a time), the four LED colour buttons and the old colour, the
// colour picker (field, hue bar, well), the RGB, speed and brightness sliders, the value buttons with
// the in-place editor, and the page's labels. The picked colour goes to the selected LED.
#pragma once

#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "ColorBtn.h"
#include "PickedColorHandler.h"
#include "PngHSliderBar.h"

#include <array>
#include <memory>

namespace colorpicker {
class GTColorSelectorWnd;
}
namespace skin {
class CRename;
}

namespace gallery {

class GalleryLedPage : public skin::CBaseDlg, public colorpicker::PickedColorHandler {
public:
    explicit GalleryLedPage(const QString& resolutionFolder);
    ~GalleryLedPage() override;

    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;
    void OnColorPicked(colorpicker::PickerColor color) override;

    // Opens the in-place editor over the red value button, as a click on it does.
    void OpenRedEditor();

protected:
    bool event(QEvent* event) override;

private:
    void CreateEffectButtons();
    void CreateColorButtons();
    void CreatePicker();
    void CreateSliders();
    void CreateValueButtons();
    void SelectLed(int index);
    void ShowChannels(int red, int green, int blue);
    void OpenEditor(int channel);

    std::array<skin::CBitmapBtn, 8> effectButtons_;
    std::array<skin::CColorBtn, 4> ledButtons_;
    skin::CColorBtn oldColorButton_;
    std::array<skin::CPngHSliderBar, 3> channelSliders_;
    skin::CPngHSliderBar speedSlider_;
    skin::CPngHSliderBar brightnessSlider_;
    std::array<skin::CBitmapBtn, 3> valueButtons_;
    colorpicker::GTColorSelectorWnd* field_ = nullptr;
    std::array<colorpicker::PickerColor, 4> ledColors_ = {0x0000FF, 0x00FF00, 0xFF0000, 0x00B5FF};
    int selectedLed_ = 0;
    std::unique_ptr<skin::CRename> editor_;
    int editedChannel_ = -1;
};

}  // namespace gallery
