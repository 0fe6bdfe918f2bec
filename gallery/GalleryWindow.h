// The gallery's window: the LED page of the generated skin embedded as a child page, beside the
// showcase panel.
#pragma once

#include <QWidget>

namespace gallery {

class GalleryLedPage;
class GalleryShowcase;

class GalleryWindow : public QWidget {
public:
    explicit GalleryWindow(const QString& resolutionFolder);
    ~GalleryWindow() override;

    void OpenEditor();
    // The window as it looks now, with the pop-ups over it, saved as a PNG. False when it cannot be written.
    bool SaveScreenshot(const QString& file);

private:
    GalleryLedPage* page_ = nullptr;
    GalleryShowcase* showcase_ = nullptr;
};

}  // namespace gallery
