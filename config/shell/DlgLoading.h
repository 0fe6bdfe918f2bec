// The dimming overlay: a layer inside its owner window that dims the page under it and runs another
// pop-up (a warning or the firmware information) on top, passing that pop-up's result on. The pop-up
// becomes a transient window of the owner and is centred on it. The layer is part of the owner's
// own window, so it dims alike on every desktop, with or without a compositor, on X11 and Wayland.
// Enter and Escape do not end it; an apply-settings message (1274) anywhere in the program ends it
// and the hosted pop-up at once with -1.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace config {

class CDlgLoading : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTemplate = 132;
    static constexpr std::uint32_t kApplySettingsMessage = 1274;
    static constexpr int kAbortedResult = -1;
    // Opacity of the dimming picture over the page, out of 255.
    static constexpr int kAlpha = 60;

    // `owner` is the window to dim; without one, the active window when the overlay runs.
    explicit CDlgLoading(QWidget* owner = nullptr);
    ~CDlgLoading() override;

    void SetImageFolderName(const QString& folder) { imageFolderName_ = folder; }
    void SetPopup(QDialog* popup) { popup_ = popup; }
    const QImage& BackgroundPicture() const { return background_; }

    // Dims the owner, runs the pop-up modally over it and returns its result (or -1).
    int exec();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void LoadPictures();
    void CoverOwner(QWidget& owner);

    QString imageFolderName_;
    QImage background_;
    QPointer<QDialog> popup_;
    bool aborted_ = false;
};

}  // namespace config
