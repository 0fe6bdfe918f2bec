// The dimming overlay: a translucent copy of the main window's outline that covers its owner and runs
// another pop-up (a warning or the firmware information) on top, passing that pop-up's result on.
// Enter and Escape do not end it; an apply-settings message (1274) anywhere in the program ends it
// and the hosted pop-up at once with -1.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace config {

class CDlgLoading : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 132;
    static constexpr std::uint32_t kApplySettingsMessage = 1274;
    static constexpr int kAbortedResult = -1;
    // Constant opacity of the overlay, out of 255.
    static constexpr int kAlpha = 60;

    // `owner` is the window to cover; without one, the active window when the overlay runs.
    explicit CDlgLoading(QWidget* owner = nullptr);
    ~CDlgLoading() override;

    void SetImageFolderName(const QString& folder) { imageFolderName_ = folder; }
    void SetPopup(QDialog* popup) { popup_ = popup; }
    const QImage& BackgroundPicture() const { return background_; }

    int exec() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Initialise();
    void RunPopup();

    QWidget* owner_;
    QString imageFolderName_;
    QImage background_;
    QPointer<QDialog> popup_;
    QTimer startTimer_;
    bool aborted_ = false;
};

}  // namespace config
