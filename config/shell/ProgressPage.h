// The common part of the loading pop-up and the progress pane: a skinned page whose "OVER" picture is
// revealed as a progress bar, from the bar top to the bottom, over the first percent of the width.
#pragma once

#include "BaseDlg.h"

#include <QImage>

namespace config {

class CProgressPage : public skin::CBaseDlg {
    Q_OBJECT
public:
    explicit CProgressPage(QWidget* parent = nullptr);

    // Stores `percent` (clamped to 0..100) and repaints the bar area at once; the current value again
    // does nothing.
    void SetProgress(int percent);
    int Progress() const { return percent_; }
    int BarTop() const { return barTop_; }
    const QImage& BarPicture() const { return bar_; }

    // The width of the bar: the client width times the percent / 100, in whole pixels.
    static int BarWidth(int clientWidth, int percent) { return clientWidth * percent / 100; }

protected:
    void SetBarTop(int top) { barTop_ = top; }
    // Loads the picture the skin document names under "OVER" in the page's section from the page's
    // image folder as the bar picture; nothing when none is named or it cannot be read.
    void LoadBarPicture();
    void DrawSkinContent(QPainter& painter) override;

private:
    int percent_ = 0;
    int barTop_ = 0;
    QImage bar_;
};

}  // namespace config
