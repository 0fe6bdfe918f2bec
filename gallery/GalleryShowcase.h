// The side panel of the gallery: one button of the LED page in each of its looks (idle, hovered,
// pressed, disabled, checked), the effect list as the menu item list holds it, and a line of text in
// each face the skin may name.
#pragma once

#include "BitmapBtn.h"
#include "BtnMenu.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>

namespace gallery {

class GalleryShowcase : public QWidget {
public:
    // Cuts its sample buttons from the LED page's pictures in `resolutionFolder`.
    explicit GalleryShowcase(const QString& resolutionFolder, QWidget* parent = nullptr);
    ~GalleryShowcase() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void LoadPagePictures(const QString& resolutionFolder);

    std::array<QImage, 4> pagePictures_;  // NORMAL, OVER, DOWN, DISABLE of the LED page
    std::array<std::unique_ptr<skin::CBitmapBtn>, 5> samples_;
    skin::CBtnMenu effectMenu_;
    int samplesTop_ = 0;
    int sampleHeight_ = 0;
    int menuTop_ = 0;
    int fontsTop_ = 0;
};

}  // namespace gallery
